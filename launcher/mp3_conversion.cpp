#include "launcher/mp3_conversion.h"

#include <exception>
#include <vector>

#include "core/numbers.h"
#include "core/paths.h"
#include "launcher/mp3_scan.h"
#include "persist/user_settings.h"

namespace tessaru {
namespace {

using namespace form_text;

std::string Text(std::string_view a, std::string_view b = {}, std::string_view c = {}) {
  std::string out(a);
  out += b;
  out += c;
  return out;
}

std::string Number(int64_t n) { return NumberText(n); }

void Show(LauncherUi& ui, LauncherForms& forms, std::string status) {
  forms.Dec.Status = std::move(status);
  ui.Repaint(forms);
}

// One file: open, decode, wait, close. Whatever fails is shown and the run goes on.
void DecodeOne(LauncherUi& ui, LauncherForms& forms, Mp3Decoder& decoder, const std::string& path) {
  const std::string name = FileNameOf(path);
  Show(ui, forms, Text(kLoading, kColon, path));
  if (!decoder.Open(path)) {
    decoder.GetLastErrorNo();
    Show(ui, forms, Text(kLoadFailed, kColon, path));
  }
  const std::string wave = ReplaceExtension(path, ".wav");
  const auto failed = [&](int32_t error) {
    Show(ui, forms, Text(kDecodeFailed, Number(error), Text(kColon, name)));
  };
  if (decoder.DecodeWave(wave)) {
    Show(ui, forms, Text(kDecoding, name));
    forms.Dec.Enabled = false;
    const bool idle = WaitWrite(ui, forms, decoder);
    forms.Dec.Enabled = true;
    // A decode that stopped short or never finished is not reported as complete.
    const int32_t error = idle ? decoder.GetLastErrorNo()
                               : static_cast<int32_t>(DecodeError::TimedOut);
    if (error == 0) {
      Show(ui, forms, Text(kDecoded, wave));
    } else {
      failed(error);
    }
  } else {
    failed(decoder.GetLastErrorNo());
  }
  decoder.Close();
  Show(ui, forms, Text(kClosing, kColon, name));
}

}  // namespace

bool WaitWrite(LauncherUi& ui, LauncherForms& forms, Mp3Decoder& decoder) {
  const uint32_t start = ui.Ticks();
  for (;;) {
    const int32_t state = decoder.GetState();
    ui.Wait(forms, kDecodePollMs);
    if (state == 0) return true;
    if (ui.Ticks() - start > kDecodeTimeoutMs || ui.EndRequested()) return false;
  }
}

bool DecodeMp3List(LauncherUi& ui, LauncherForms& forms, Mp3Decoder& decoder, std::string list) {
  Mp3DecForm& window = forms.Dec;
  window.Visible = true;
  window.Enabled = true;
  const std::string caption(kDecCaption);
  window.Caption = caption;
  const auto finish = [&](bool result) {
    window.Visible = false;
    ui.Repaint(forms);
    return result;
  };
  try {
    if (!decoder.Init()) {
      Show(ui, forms, std::string(kInitFailed));
      ui.Wait(forms, 1000);
      return finish(false);
    }
    int64_t count = 0;
    for (std::string copy = list; !copy.empty(); GetSeg(copy)) ++count;
    for (int64_t i = 1; !list.empty() && !ui.EndRequested(); ++i) {
      const std::string path = GetSeg(list);
      window.Caption = caption + "(" + Number(i) + " / " + Number(count) + ")";
      DecodeOne(ui, forms, decoder, path);
    }
    decoder.Free();
    if (ui.EndRequested()) return finish(true);
    Show(ui, forms, std::string(kFinishing));
    ui.Wait(forms, 1000);
    return finish(true);
  } catch (const std::exception&) {
    decoder.Free();
    return finish(false);
  }
}

bool RunConversionDialog(LauncherUi& ui, LauncherForms& forms, Mp3Decoder& decoder,
                         const std::string& dataFolder, UserSettings& settings) {
  ConvForm& dialog = forms.Conv;
  dialog.Files.clear();
  dialog.Enabled = false;
  dialog.Visible = true;
  ScanForMp3(dataFolder, dialog.Files, [&](const std::string& folder) {
    dialog.Progress = Text(kSearching, folder);
    ui.Repaint(forms);
    return !ui.EndRequested();
  });
  if (ui.EndRequested()) return false;
  dialog.Enabled = true;
  ui.Repaint(forms);

  if (dialog.Files.empty()) {
    settings.AUTODEC = 1;
    dialog.Visible = false;
    return true;
  }
  dialog.Progress = Text(Number(static_cast<int64_t>(dialog.Files.size())), kFoundSuffix);
  const FormChoice choice = ui.WaitChoice(forms);
  if (choice == FormChoice::EndProgram) return false;
  if (choice == FormChoice::Command1) {
    dialog.Enabled = false;
    const std::string list = JoinPathList(dialog.Files);
    if (!list.empty() && !DecodeMp3List(ui, forms, decoder, list)) {
      ui.ShowMessage(MessageIcon::Exclamation, std::string(kErrorTitle), std::string(kDecodeRunFailed));
    }
    dialog.Enabled = true;
    if (ui.EndRequested()) return false;
  }
  dialog.Visible = false;
  return true;
}

}  // namespace tessaru
