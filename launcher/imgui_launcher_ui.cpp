#include "launcher/imgui_launcher_ui.h"

#include <thread>

#include "launcher/form_pictures.h"
#include "launcher/form_views.h"
#include "layout/launcher_layout.h"

namespace tessaru {
namespace {

using namespace form_text;
using Clock = std::chrono::steady_clock;

constexpr auto kFrameInterval = std::chrono::milliseconds(16);
// Busy work (the search, the decode) redraws at most this often, so drawing never
// dominates it.
constexpr auto kBusyRedraw = std::chrono::milliseconds(33);

// Every glyph the dialogs show, so the font atlas holds them whatever the common set has.
std::string DialogGlyphs() {
  std::string all;
  for (std::string_view text :
       {kConvCaption, kConvIntro, kConvDecode, kConvCancel, kSearching, kFoundSuffix, kDecCaption,
        kInitFailed, kLoading, kLoadFailed, kDecoding, kDecoded, kDecodeFailed, kClosing,
        kFinishing, kColon, kBootCaptionSuffix, kNoticeTitle, kNoticeOwnRisk, kNoticeOtherApps,
        kHideCursor, kOptions, kOptionsNote, kStart, kStartNote, kEnd, kEndNote, kOptionsCaption,
        kAutoSearch, kScreenMode, kSaveAndClose, kCancel, kSecondCopy, kDecodeRunFailed,
        kSaveFailed}) {
    all += text;
  }
  return all;
}

}  // namespace

ImGuiLauncherUi::ImGuiLauncherUi(platform::FormWindow& window)
    : window_(window), start_(Clock::now()), lastFrame_(start_ - kBusyRedraw) {}

bool ImGuiLauncherUi::Open(const std::string& iconFile) {
  const platform::FormFont font{kDialogFontPath, kDialogFontPixels, DialogGlyphs()};
  if (!window_.Open(std::string(kConvCaption), launcher_layout::kConvClient.Width,
                    launcher_layout::kConvClient.Height, font, iconFile)) {
    return false;
  }
  ApplyFormStyle();
  return true;
}

std::optional<FormChoice> ImGuiLauncherUi::Frame(LauncherForms& forms, const std::string& screenshot) {
  if (forms.Boot.BackgroundPath != bootBackPath_) {
    bootBackPath_ = forms.Boot.BackgroundPath;
    const auto picture = LoadFormPicture(bootBackPath_);
    bootBack_ = picture ? window_.AddPicture(picture->Pixels.data(), picture->KeptWidth,
                                             picture->KeptHeight)
                        : platform::FormPicture{};
  }
  // Paths come from the player's folders: their characters join the font as they appear.
  window_.AddGlyphs(forms.Conv.Progress);
  window_.AddGlyphs(forms.Dec.Status);
  if (forms.Conv.Files.size() != glyphsOfFiles_) {
    for (size_t i = glyphsOfFiles_; i < forms.Conv.Files.size(); ++i) window_.AddGlyphs(forms.Conv.Files[i]);
    glyphsOfFiles_ = forms.Conv.Files.size();
  }
  const platform::FormEvents events = window_.BeginFrame();
  const FormView view = DrawForms(forms, bootBack_);
  if (!view.Title.empty()) {
    window_.SetTitle(view.Title);
    window_.SetClientSize(view.Client.Width, view.Client.Height);
  }
  window_.EndFrame(screenshot);
  lastFrame_ = Clock::now();
  if (events.Escape || events.QuitRequested) {
    endRequested_ = true;
    return FormChoice::EndProgram;
  }
  if (events.CloseRequested) return FormChoice::Close;
  if (events.F1) return FormChoice::Back;
  return view.Choice;
}

void ImGuiLauncherUi::Repaint(LauncherForms& forms) {
  if (Clock::now() - lastFrame_ < kBusyRedraw) return;
  // A close while busy ends the program, as Esc does: there is no dialog to go back to.
  if (const auto choice = Frame(forms); choice == FormChoice::Close) endRequested_ = true;
}

void ImGuiLauncherUi::Wait(LauncherForms& forms, uint32_t ms) {
  const auto until = Clock::now() + std::chrono::milliseconds(ms);
  while (!endRequested_) {
    const auto now = Clock::now();
    if (now >= until) return;
    if (const auto choice = Frame(forms); choice == FormChoice::Close) endRequested_ = true;
    std::this_thread::sleep_until(std::min(until, lastFrame_ + kFrameInterval));
  }
}

uint32_t ImGuiLauncherUi::Ticks() {
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count());
}

FormChoice ImGuiLauncherUi::WaitChoice(LauncherForms& forms) {
  for (;;) {
    if (const auto choice = Frame(forms)) return *choice;
    std::this_thread::sleep_until(lastFrame_ + kFrameInterval);
  }
}

void ImGuiLauncherUi::ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) {
  platform::ShowFormMessage(icon == MessageIcon::Critical, title, text);
}

void ImGuiLauncherUi::Snapshot(LauncherForms& forms, const std::string& pngPath) {
  // The first frame after a size change is drawn at the old size: settle, then take it.
  for (int i = 0; i < 3; ++i) Frame(forms);
  Frame(forms, pngPath);
}

}  // namespace tessaru
