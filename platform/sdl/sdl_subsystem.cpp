#include "platform/sdl/sdl_subsystem.h"

#include <SDL.h>

#include <cstdlib>

namespace tessaru::platform {
namespace {

// The window's X11 class and Wayland app id: desktops match them with the installed
// desktop entry. SDL 2 reads them from the environment (not from hints) when the video
// system starts, so they are set there first; a value the player set is kept.
void NameTheApplication() {
  ::setenv("SDL_VIDEO_X11_WMCLASS", TESSARU_APP_ID, 0);
  ::setenv("SDL_VIDEO_WAYLAND_WMCLASS", TESSARU_APP_ID, 0);
  SDL_SetHint(SDL_HINT_APP_NAME, "Tessaru");
}

}  // namespace

bool SdlSubsystem::Acquire(uint32_t flags, std::string* error) {
  if (flags_ != 0) return true;
  if ((flags & SDL_INIT_VIDEO) != 0) NameTheApplication();
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
