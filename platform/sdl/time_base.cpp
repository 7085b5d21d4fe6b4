#include "platform/sdl/time_base.h"

#include <SDL.h>
#include <time.h>

namespace tessaru::platform {

TimeBase::TimeBase()
    : origin_(SDL_GetPerformanceCounter()),
      msPerCount_(1000.0 / static_cast<double>(SDL_GetPerformanceFrequency())) {}

double TimeBase::NowMs() const { return ToMs(SDL_GetPerformanceCounter()); }

double MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace tessaru::platform
