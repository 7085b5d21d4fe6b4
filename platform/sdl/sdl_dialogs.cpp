#include "platform/sdl/sdl_dialogs.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl/sdl_video.h"

namespace tessaru::platform {
namespace {

// A box would block forever where nobody can see it: the driver chosen for a test or a
// headless run says so.
bool DisplayIsVirtual() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) driver = std::getenv("SDL_VIDEODRIVER");
  if (driver == nullptr) return false;
  return std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0;
}

}  // namespace

void SdlDialogs::ShowMessage(const std::string& title, const std::string& text) {
  SDL_Window* window = video_ != nullptr ? video_->Window() : nullptr;
  if (!DisplayIsVirtual() &&
      SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), window) == 0) {
    return;
  }
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

}  // namespace tessaru::platform
