#pragma once
// The title screen: the hub that returns the activity the player chose.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "flow/game.h"

namespace tessaru {

inline constexpr int kTitleRows = 7;
inline constexpr int kTitleColumns = 3;
// TitleCode::Exit has no activity, so the driver saves and ends the game.
struct TitleEntry {
  TitleCode Code = TitleCode::None;  // None: an empty cell
  std::string_view Label;
};
using TitleGrid = std::array<std::array<TitleEntry, kTitleColumns>, kTitleRows>;

// What decides which entries can be chosen.
struct TitleConditions {
  bool TutorialFiles = false;   // "tuto1p.zxp" beside the first song
  bool SongListValid = false;
  int UnlockedModeCount = 0;
  // Codes whose activity exists in this build.
  std::vector<TitleCode> Activities;
};

// The grid with every entry that cannot be chosen emptied.
TitleGrid BuildTitleGrid(const TitleConditions& conditions);
// The filled cells in row order, then column order: the order the cursor walks.
std::vector<std::pair<int, int>> TitleCursorCells(const TitleGrid& grid);

// Returns the chosen code (sub = 1 when 2P decided, else 0), or None after Esc
// (QuitRequested set).
TitleCode RunTitle(Game& game, int16_t& sub);

}  // namespace tessaru
