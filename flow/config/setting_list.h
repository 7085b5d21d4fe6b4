#pragma once
// DISPLAY SETTING and SOUND SETTING: a few values changed with Left/Right, then RESET
// SETTING and BACK TO MAIN CONFIG. Both work on the game's settings in place.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "flow/game.h"
#include "flow/menu_input.h"
#include "persist/user_settings.h"

namespace tessaru {

struct SettingValueRow {
  std::string_view Label;
  int16_t UserSettings::*Field;
  int16_t Min;
  int16_t Max;
  // One label per value from Min to Max.
  std::span<const std::string_view> Labels;
};

struct SettingListState {
  int Row = 0;
  UserSettings Values;
};

enum class SettingEvent : int8_t { None, Moved, Changed, Reset, Back, Quit };

// Rows 0..n-1 are the values, n is RESET SETTING and n + 1 BACK TO MAIN CONFIG; F1 is
// BACK as well.
SettingEvent UpdateSettingList(SettingListState& state, std::span<const SettingValueRow> rows,
                               const MenuButtons& buttons);

// A value's label; a value outside the row's range shows as the nearest end.
std::string_view SettingValueLabel(const SettingValueRow& row, int16_t value);

std::span<const SettingValueRow> DisplaySettingRows();
std::span<const SettingValueRow> SoundSettingRows();
void ResetDisplayValues(UserSettings& settings);
void ResetSoundValues(UserSettings& settings);

// What the stage would hold in video memory with these options, in bytes: the front and
// back buffers, the play sheet, the dance sheets, the background animation or wallpaper
// and the work area, all 16-bit pages, a quarter of the size at the low resolution.
int64_t VramEstimateBytes(const UserSettings& settings);
// "(VRAM USE TOTAL:4.8MB)".
std::string VramText(const UserSettings& settings);

void RunDisplaySetting(Game& game);
// A change of PLAY QUALITY reopens the sound output at once; when the device refuses it
// the row shows the quality the fallback settled on.
void RunSoundSetting(Game& game);

}  // namespace tessaru
