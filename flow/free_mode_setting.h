#pragma once
// FREE MODE SETTING: one column per player (human or computer, handicap, play options)
// and the game's style. Option rows appear once the special mode that introduces them
// has been played (SpecialPlays).
#include <array>
#include <cstdint>
#include <string_view>

#include "flow/game.h"
#include "flow/screen_frame.h"
#include "persist/high_scores.h"

namespace tessaru {

// Indices into the working table: side p's value of a row is at 2 * row + p; the STYLE
// row holds the style at 12 and RAPID at 13.
using FreeSettings = std::array<int16_t, 14>;
using SpecialPlayCounts = std::array<int32_t, kSpecialModeCount>;

enum FreeRow : int {
  kRowMode = 0,
  kRowHandicap,
  kRowColor,
  kRowVisibility,
  kRowLane,
  kRowTiming,
  kRowStyle,
  kRowStart,
  kFreeRows
};
inline constexpr int16_t kMaxHandicap = 4;
inline constexpr int16_t kRapidColumn = 2;

bool FreeRowShown(int row, const SpecialPlayCounts& plays);
// The next shown row from `row` in direction +1 / -1, wrapping between START and MODE.
int NextFreeRow(int row, int direction, const SpecialPlayCounts& plays);
// Enter on a cell: the value steps on by the row's rule.
void ChangeFreeSetting(FreeSettings& s, int row, int column, const SpecialPlayCounts& plays);
// The table as the game state has it (side 2 always shows COMPUTER).
FreeSettings FreeSettingsFromState(const StageSetup& setup);
// START: the table into the game state.
void ApplyFreeSettings(const FreeSettings& s, StageSetup& setup, int16_t difficulty);
// The label of a value on a row ("" for none).
std::string FreeSettingLabel(int row, int16_t value);

// The screen: the working table and the cursor.
struct FreeSettingScreen {
  FreeSettings Values{};
  SpecialPlayCounts Plays{};
  int Row = kRowStart;
  int Column = 0;
};

// One pass: up / down walk the shown rows, left / right switch columns where a row has
// two, decide changes the cell (Changed) or, on START, is Decided.
ScreenEvent Update(FreeSettingScreen& s, const MenuButtons& buttons, uint32_t now);
void Draw(const FreeSettingScreen& s, GraphLib& g, int16_t blink);

// Returns 1 on START, -1 on F1 (state untouched) or Esc (QuitRequested set).
int16_t FreeModeSetting(Game& game, int16_t keep);

}  // namespace tessaru
