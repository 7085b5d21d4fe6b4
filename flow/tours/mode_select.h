#pragma once
// SELECT MODE: the unlocked special modes, six to a page, for the side that chose the
// special tour.
#include <cstdint>
#include <vector>

#include "flow/game.h"
#include "flow/menu_input.h"

namespace tessaru {

inline constexpr int kModeRowsPerPage = 6;

struct ModeSelectState {
  std::vector<int16_t> Modes;  // unlocked mode numbers, ascending
  int Page = 0;
  int Row = 0;
  int16_t Side = 0;  // only this side's buttons (and the keyboard's arrows) count
  int Index() const { return Page * kModeRowsPerPage + Row; }
};

enum class ModeSelectEvent { None, Moved, Decided };

// One pass over the buttons: Up and Down move (wrapping across pages and ends), decide
// chooses the entry under the cursor.
ModeSelectEvent UpdateModeSelect(ModeSelectState& state, const MenuButtons& buttons);

// The chosen mode number, or -1 (F1, or Esc with QuitRequested set).
int16_t SelectMode(Game& game);

}  // namespace tessaru
