#pragma once
// CONFIG: the player's settings on one vertical menu, with DISPLAY SETTING, SOUND
// SETTING and KEY CONFIG beneath it. Values change in place; SAVE & EXIT writes
// "user.ini", F1 leaves by reading the file back, so nothing unsaved survives.
#include <cstdint>
#include <string>

#include "flow/game.h"
#include "flow/menu_input.h"
#include "persist/user_settings.h"

namespace tessaru {

enum ConfigRow : int {
  kConfigGameLevel = 0,
  kConfigBgmVolume,
  kConfigPlayerVolume,
  kConfigMaxFps,
  kConfigComPart,
  kConfigDisplay,
  kConfigSound,
  kConfigKeys,
  kConfigReset,
  kConfigSaveExit,
  kConfigSkin,  // hidden: reached only with Tab held
  kConfigRows
};

// A held volume button steps once more every this many ms.
inline constexpr uint32_t kVolumeRepeatMs = 100;
inline constexpr int16_t kMinFps = 5;
inline constexpr int16_t kFpsStep = 5;

struct ConfigState {
  int Row = kConfigGameLevel;
  UserSettings Values;
  // The volume button being held (-1 left, +1 right, 0 none) and when it last stepped.
  int RepeatDirection = 0;
  uint32_t LastStepMs = 0;
};

enum class ConfigEvent : int8_t {
  None,
  Moved,
  Changed,
  VolumeChanged,   // Row's volume moved: play its test sound at the new value
  StopTestSounds,  // Enter on a volume row
  OpenDisplay,
  OpenSound,
  OpenKeys,
  Reset,
  SaveAndExit,
  Back,  // F1: leave without saving
  Quit,  // Esc
};

// One pass of CONFIG at `now` ms (any steadily rising clock).
ConfigEvent UpdateConfig(ConfigState& state, const MenuButtons& buttons, uint32_t now);

// Brings every value CONFIG and its sub-screens show into its range, so what is shown
// is what gets saved.
void ClampConfigValues(UserSettings& settings);

// RESET SETTING of CONFIG.
void ResetConfigValues(UserSettings& settings);

// The value text of a row ("" for rows without one; the volumes draw a bar instead).
std::string ConfigValueText(int row, const UserSettings& settings);

// Runs CONFIG from the title; QuitRequested is set after Esc.
void RunConfig(Game& game);

}  // namespace tessaru
