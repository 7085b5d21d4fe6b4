#pragma once
// The launcher's dialogs on a real window (Dear ImGui over SDL).
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "launcher/launcher_ui.h"
#include "platform/form_window.h"

namespace tessaru {

class ImGuiLauncherUi final : public LauncherUi {
 public:
  explicit ImGuiLauncherUi(platform::FormWindow& window);

  // Opens the window with the dialog font (IPA P Gothic at a 9-point dialog size).
  bool Open(const std::string& iconFile);

  void Repaint(LauncherForms& forms) override;
  void Wait(LauncherForms& forms, uint32_t ms) override;
  uint32_t Ticks() override;
  FormChoice WaitChoice(LauncherForms& forms) override;
  void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override;
  bool EndRequested() const override { return endRequested_; }

  // Draws one frame and writes it as a PNG (pictures of the dialogs for the docs).
  void Snapshot(LauncherForms& forms, const std::string& pngPath);

 private:
  // One frame; the button pressed on the dialog in front, if any.
  std::optional<FormChoice> Frame(LauncherForms& forms, const std::string& screenshot = {});

  platform::FormWindow& window_;
  std::string bootBackPath_;
  platform::FormPicture bootBack_;
  size_t glyphsOfFiles_ = 0;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastFrame_;
  bool endRequested_ = false;
};

// Where the dialog font is looked for.
inline constexpr const char* kDialogFontPath = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";
// 9 points at the usual 96 dots per inch.
inline constexpr float kDialogFontPixels = 12.0f;

}  // namespace tessaru
