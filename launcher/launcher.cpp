#include "launcher/launcher.h"

#include "content/data_files.h"
#include "core/file_access.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "flow/game.h"
#include "launcher/mp3_conversion.h"
#include "persist/user_settings.h"

namespace tessaru {
namespace {

using namespace form_text;

enum class OptionsEnd { Back, EndProgram };

OptionsEnd RunOptionsDialog(LauncherUi& ui, LauncherForms& forms, UserSettings& settings,
                            const std::string& programFolder) {
  forms.Options = LoadBootOptions(settings);
  forms.Options.Visible = true;
  const FormChoice choice = ui.WaitChoice(forms);
  forms.Options.Visible = false;
  if (choice == FormChoice::EndProgram) return OptionsEnd::EndProgram;
  if (choice != FormChoice::Command1) return OptionsEnd::Back;
  ApplyBootOptions(forms.Options, settings);
  if (!SaveUserSettings(settings, programFolder)) {
    ui.ShowMessage(MessageIcon::Exclamation, std::string(kErrorTitle),
                   JoinLogical(programFolder, kUserSettingsFile) + std::string(kSaveFailed));
  }
  return OptionsEnd::Back;
}

}  // namespace

BootOptionsForm LoadBootOptions(const UserSettings& settings) {
  BootOptionsForm form;
  form.AutoSearch = settings.AUTODEC == 0;
  form.UseDirectDraw = settings.USEDX != 0;
  form.FullScreen = settings.FULLSCREEN == 0;
  return form;
}

void ApplyBootOptions(const BootOptionsForm& form, UserSettings& settings) {
  settings.AUTODEC = form.AutoSearch ? 0 : -1;
  settings.USEDX = form.UseDirectDraw ? -1 : 0;
  settings.FULLSCREEN = form.FullScreen ? 0 : -1;
}

std::string BootCaption(int major, int minor) {
  return std::string(kBootCaptionPrefix) + NumberText(int64_t{major}) + "." +
         NumberText(int64_t{minor}) + std::string(kBootCaptionSuffix);
}

LauncherResult RunLauncher(LauncherUi& ui, Mp3Decoder& decoder, UserSettings& settings,
                           const LauncherFolders& folders) {
  LauncherForms forms;
  if (settings.AUTODEC == 0 &&
      !RunConversionDialog(ui, forms, decoder, ResolvePath(folders.Data), settings)) {
    return {};
  }
  BootForm& boot = forms.Boot;
  boot.Caption = BootCaption(kVersionMajor, kVersionMinor);
  boot.BackgroundPath = JoinLogical(folders.Data, data_files::kBootBack);
  for (;;) {
    boot.Visible = true;
    const FormChoice choice = ui.WaitChoice(forms);
    boot.Visible = false;
    switch (choice) {
      case FormChoice::Command1:
        if (RunOptionsDialog(ui, forms, settings, folders.Program) == OptionsEnd::EndProgram) {
          return {};
        }
        break;
      case FormChoice::Command2:
        return {true, static_cast<int16_t>(boot.HideCursor ? 1 : 0)};
      case FormChoice::Back:
        break;  // nothing before the boot menu to go back to
      default:
        return {};
    }
  }
}

}  // namespace tessaru
