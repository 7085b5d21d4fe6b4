#pragma once
// The launcher: from the loaded settings through the optional MP3 conversion to the boot
// menu, which ends either in a start of the game or in the end of the program.
#include <cstdint>
#include <string>

#include "launcher/forms.h"
#include "launcher/launcher_ui.h"
#include "launcher/mp3_decoder.h"

namespace tessaru {

struct UserSettings;

struct LauncherResult {
  bool Start = false;      // false: the player ended the program
  int16_t HideCursor = 0;  // 1 when the hide-cursor box was checked
};

// Where the launcher reads and writes.
struct LauncherFolders {
  std::string Program;  // holds "user.ini"
  std::string Data;     // searched for MP3 files; holds the boot menu's picture
};

// Settings must be loaded already. Runs the MP3 search unless AUTODEC says otherwise,
// then the boot menu and its options dialog.
LauncherResult RunLauncher(LauncherUi& ui, Mp3Decoder& decoder, UserSettings& settings,
                           const LauncherFolders& folders);

// The options dialog's boxes from the settings, and back (what "save" stores).
BootOptionsForm LoadBootOptions(const UserSettings& settings);
void ApplyBootOptions(const BootOptionsForm& form, UserSettings& settings);

// "Tessaru VER.0.1起動メニュー"
std::string BootCaption(int major, int minor);

}  // namespace tessaru
