#pragma once
// The title screen: the hub that returns the activity the player chose, from a grid of
// 7 rows by 3 columns walked with either side's direction buttons.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "flow/game.h"
#include "flow/menu_input.h"
#include "flow/screen_frame.h"

namespace tessaru {

inline constexpr int kTitleRows = 7;
inline constexpr int kTitleColumns = 3;
// TitleCode::Exit has no activity, so the driver saves and ends the game; after
// TitleCode::Ending it shows the ending and comes back to the title.
struct TitleEntry {
  TitleCode Code = TitleCode::None;
  std::string_view Label;  // empty: a cell that leads nowhere
  bool Filled() const { return !Label.empty(); }
};
using TitleGrid = std::array<std::array<TitleEntry, kTitleColumns>, kTitleRows>;

// What decides which entries can be chosen.
struct TitleConditions {
  bool TutorialFiles = false;  // "tuto1p.zxp" beside the first song
  bool SongListValid = false;
  int UnlockedModeCount = 0;
  bool RunFinished = false;  // game flag 3: some tour has been played to its end
  // Codes whose activity exists in this build.
  std::vector<TitleCode> Activities;
};

// The grid with every entry that cannot be chosen emptied.
TitleGrid BuildTitleGrid(const TitleConditions& conditions);

struct TitleState {
  TitleGrid Grid;
  // The cursor; (-1, -1) when the grid has no entry (deciding then plays the ending).
  int Row = -1;
  int Column = -1;
};

// The cursor on the first filled cell, row by row.
TitleState StartTitle(const TitleGrid& grid);

struct TitleEvent {
  ScreenEvent What = ScreenEvent::None;  // None, Moved or Decided
  TitleCode Code = TitleCode::None;
  int16_t Sub = 0;  // 1 when side 2 decided
};

// Up and Down walk the cursor's column, Left and Right its row, skipping empty cells and
// wrapping; either side's decide chooses.
TitleEvent UpdateTitle(TitleState& state, const MenuButtons& buttons);

// Returns the chosen code (sub = 1 when 2P decided, else 0), or None after Esc
// (QuitRequested set).
TitleCode RunTitle(Game& game, int16_t& sub);

}  // namespace tessaru
