#pragma once
// Message boxes through SDL; where no box can be shown (no display, a dummy video
// driver) the message goes to standard error so it is never lost.
#include <cstdint>
#include <string>

#include "platform/platform.h"

struct SDL_Window;

namespace tessaru::platform {

class SdlVideo;

// One box with SDL's message-box flags (its icon), over `parent` when given.
void ShowSdlMessage(uint32_t flags, const std::string& title, const std::string& text,
                    SDL_Window* parent);

class SdlDialogs final : public Dialogs {
 public:
  // `video` (may be null) supplies the game window the box belongs to.
  explicit SdlDialogs(const SdlVideo* video) : video_(video) {}
  void ShowMessage(const std::string& title, const std::string& text) override;

 private:
  const SdlVideo* video_;
};

}  // namespace tessaru::platform
