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

void ShowSdlMessage(uint32_t flags, const std::string& title, const std::string& text,
                    SDL_Window* parent) {
  if (!DisplayIsVirtual() &&
      SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), parent) == 0) {
    return;
  }
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

void SdlDialogs::ShowMessage(const std::string& title, const std::string& text) {
  ShowSdlMessage(SDL_MESSAGEBOX_ERROR, title, text, video_ != nullptr ? video_->Window() : nullptr);
}

}  // namespace tessaru::platform
