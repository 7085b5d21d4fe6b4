#pragma once
// The real display: one window, one renderer, one streaming RGB565 texture. A present is
// an upload and one copy, with no wait for the vertical blank, so the game loop keeps
// pumping input; the renderer scales the frame to the window with its aspect kept.
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/sdl/sdl_subsystem.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace tessaru::platform {

// The program's icon (a PNG) on a window; nothing happens when it cannot be read.
void ShowWindowIcon(SDL_Window* window, const std::string& iconFile);

class SdlVideo final : public VideoOut {
 public:
  SdlVideo() = default;
  ~SdlVideo() override { Close(); }

  bool Open(const VideoConfig& config) override;
  void Close() override;
  bool IsOpen() const override { return renderer_ != nullptr; }
  bool Present(const uint16_t* pixels, int width, int height, int pitch) override;
  bool TakeDeviceLost() override { return lostUnreported_.exchange(false); }
  void SetTitle(const std::string& title) override;
  std::string LastError() const override { return error_; }

  SDL_Window* Window() const { return window_; }

 private:
  static int WatchResets(void* self, SDL_Event* event);
  bool CreateTexture();
  bool Fail(const char* what);

  // Kept from the first Open until destruction: a change of mode reopens the window
  // without restarting the video system.
  SdlSubsystem subsystem_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  bool watching_ = false;
  bool cursorHidden_ = false;
  int width_ = 0;
  int height_ = 0;
  std::string error_;
  // Set by the event watch (which may run on another thread), consumed by Present and
  // TakeDeviceLost separately so a caller may watch either.
  std::atomic<bool> failNextPresent_{false};
  std::atomic<bool> lostUnreported_{false};
  std::atomic<bool> texturesLost_{false};
};

}  // namespace tessaru::platform
