#include "platform/sdl/sdl_clock.h"

#include <SDL.h>

#include <cmath>

namespace tessaru::platform {

uint32_t SdlClock::GetTickCount() {
  // The low 32 bits of the whole milliseconds, so the tick wraps as the system's does.
  return static_cast<uint32_t>(static_cast<uint64_t>(std::floor(time_->NowMs())));
}

void SdlClock::SleepMs(uint32_t ms) { SDL_Delay(ms); }

}  // namespace tessaru::platform
