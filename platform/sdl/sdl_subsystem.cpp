#include "platform/sdl/sdl_subsystem.h"

#include <SDL.h>

namespace tessaru::platform {

bool SdlSubsystem::Acquire(uint32_t flags, std::string* error) {
  if (flags_ != 0) return true;
  if (SDL_InitSubSystem(flags) != 0) {
    if (error != nullptr) *error = SDL_GetError();
    return false;
  }
  flags_ = flags;
  return true;
}

void SdlSubsystem::Release() {
  if (flags_ == 0) return;
  SDL_QuitSubSystem(flags_);
  flags_ = 0;
}

}  // namespace tessaru::platform
