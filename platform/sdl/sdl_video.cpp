#include "platform/sdl/sdl_video.h"

#include <SDL.h>

#include "platform/video_modes.h"
#include "platform/window_icon.h"

namespace tessaru::platform {

void ShowWindowIcon(SDL_Window* window, const std::string& iconFile) {
  std::optional<IconPixels> icon = ReadIconPng(iconFile);
  if (!icon) return;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      icon->Rgba.data(), icon->Size, icon->Size, 32, icon->Size * 4, SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) return;
  SDL_SetWindowIcon(window, surface);  // SDL copies the pixels
  SDL_FreeSurface(surface);
}

bool SdlVideo::Fail(const char* what) {
  error_ = std::string(what) + ": " + SDL_GetError();
  Close();
  return false;
}

void SdlVideo::SetTitle(const std::string& title) {
  if (window_ != nullptr) SDL_SetWindowTitle(window_, title.c_str());
}

bool SdlVideo::Open(const VideoConfig& config) {
  Close();
  error_.clear();
  if (!IsSupportedFrameSize(config.Width, config.Height)) {
    error_ = "unsupported frame size";
    return false;
  }
  if (!subsystem_.Acquire(SDL_INIT_VIDEO, &error_)) return false;

  // Presenting must not wait for the vertical blank: the loop pumps input between frames.
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");

  const WindowSize size =
      WindowSizeFor(config.Width, config.Height, config.Mode == DisplayMode::Doubled);
  Uint32 flags = SDL_WINDOW_SHOWN;
  // Full screen keeps the desktop's mode: changing the monitor's mode is what players hate.
  if (config.Mode == DisplayMode::FullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  window_ = SDL_CreateWindow(config.Title.c_str(), SDL_WINDOWPOS_CENTERED,
                             SDL_WINDOWPOS_CENTERED, size.Width, size.Height, flags);
  if (window_ == nullptr) return Fail("window");
  ShowWindowIcon(window_, config.IconFile);
  // The game reads keys, never text; an input method left on could swallow key presses.
  SDL_StopTextInput();
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) return Fail("renderer");
  // Letterboxed scaling with the aspect kept, in every mode.
  if (SDL_RenderSetLogicalSize(renderer_, config.Width, config.Height) != 0) {
    return Fail("renderer size");
  }
  width_ = config.Width;
  height_ = config.Height;
  if (!CreateTexture()) return Fail("texture");

  failNextPresent_ = false;
  lostUnreported_ = false;
  texturesLost_ = false;
  SDL_AddEventWatch(&SdlVideo::WatchResets, this);
  watching_ = true;
  if (config.HideCursor) {
    SDL_ShowCursor(SDL_DISABLE);
    cursorHidden_ = true;
  }
  return true;
}

bool SdlVideo::CreateTexture() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  texture_ = nullptr;
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                               width_, height_);
  return texture_ != nullptr;
}

void SdlVideo::Close() {
  if (watching_) {
    SDL_DelEventWatch(&SdlVideo::WatchResets, this);
    watching_ = false;
  }
  if (cursorHidden_) {
    SDL_ShowCursor(SDL_ENABLE);
    cursorHidden_ = false;
  }
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
}

int SdlVideo::WatchResets(void* self, SDL_Event* event) {
  auto* video = static_cast<SdlVideo*>(self);
  if (event->type == SDL_RENDER_DEVICE_RESET) video->texturesLost_ = true;
  if (event->type == SDL_RENDER_TARGETS_RESET || event->type == SDL_RENDER_DEVICE_RESET) {
    video->failNextPresent_ = true;
    video->lostUnreported_ = true;
  }
  return 1;
}

bool SdlVideo::Present(const uint16_t* pixels, int width, int height, int pitch) {
  if (renderer_ == nullptr || pixels == nullptr) return false;
  if (width != width_ || height != height_ || pitch < width) return false;
  // A reset device loses every texture; a texture that cannot be made yet is tried again
  // at the next present while the caller restores its pages.
  if (texturesLost_.exchange(false)) CreateTexture();
  if (failNextPresent_.exchange(false)) return false;
  if (texture_ == nullptr && !CreateTexture()) return false;
  if (SDL_UpdateTexture(texture_, nullptr, pixels, pitch * 2) != 0) return false;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  if (SDL_RenderClear(renderer_) != 0) return false;
  if (SDL_RenderCopy(renderer_, texture_, nullptr, nullptr) != 0) return false;
  SDL_RenderPresent(renderer_);
  return true;
}

}  // namespace tessaru::platform
