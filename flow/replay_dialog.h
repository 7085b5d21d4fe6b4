#pragma once
// "SELECT REPLAY DATA": the part select's dialog (Tab, free mode) that lets a side play a
// stored replay of the song instead of being played. Two columns, 1P and 2P, list the same
// replays; one cursor, moved by either side, picks a column and an entry.
#include <cstdint>
#include <string>
#include <vector>

#include "flow/menu_input.h"
#include "graphics/graph_lib.h"
#include "persist/replay_file.h"

namespace tessaru {

struct ReplayDialogState {
  std::vector<ReplayEntry> Entries;
  bool Open = false;
  int Column = 0;  // 0 = 1P, 1 = 2P
  int Cursor = 0;
  int Top = 0;     // first entry shown
};

enum class ReplayDialogEvent { None, Moved, Chosen, Closed };

struct ReplayDialogResult {
  ReplayDialogEvent Event = ReplayDialogEvent::None;
  int Side = 0;   // Chosen: the column's side
  int Entry = 0;  // Chosen: index into Entries
};

// Rows of entries the dialog shows at once.
inline constexpr int kReplayDialogRows = 10;

// One pass of the open dialog: up / down move through the entries (wrapping), left / right
// change the column, decide chooses (nothing to choose in an empty list), Tab or F1 close.
ReplayDialogResult UpdateReplayDialog(ReplayDialogState& state, const MenuButtons& buttons);

// The dialog over the part select; blink 0 or 1 is the cursor's phase.
void DrawReplayDialog(const ReplayDialogState& state, GraphLib& graph, int16_t blink);

}  // namespace tessaru
