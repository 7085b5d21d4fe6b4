#include "flow/replay_dialog.h"
#include "flow/tests/menu_rig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaru {
namespace {

ReplayDialogState WithEntries(int n) {
  ReplayDialogState s;
  s.Open = true;
  for (int i = 0; i < n; ++i) s.Entries.push_back({"song1-" + std::to_string(i) + ".zxr", 0});
  return s;
}

TEST(ReplayDialog, UpdateMovesChoosesAndCloses) {
  struct Case {
    const char* name;
    int entries;
    std::vector<const char*> keys;  // Down and Right are 2P's: either side moves the one cursor
    ReplayDialogEvent last;
    int column, cursor, top;
    bool open;
  };
  const std::vector<Case> cases = {
      {"down twice", 3, {"2D", "2D"}, ReplayDialogEvent::Moved, 0, 2, 0, true},
      {"up wraps to the last", 3, {"U"}, ReplayDialogEvent::Moved, 0, 2, 0, true},
      {"down wraps to the first", 2, {"2D", "2D"}, ReplayDialogEvent::Moved, 0, 0, 0, true},
      {"right is the 2P column", 3, {"2R"}, ReplayDialogEvent::Moved, 1, 0, 0, true},
      {"left from 1P too", 3, {"L"}, ReplayDialogEvent::Moved, 1, 0, 0, true},
      {"decide chooses", 3, {"2R", "2D", "2E"}, ReplayDialogEvent::Chosen, 1, 1, 0, false},
      {"nothing to choose", 0, {"2D", "E"}, ReplayDialogEvent::None, 0, 0, 0, true},
      {"tab closes", 3, {"2D", "T"}, ReplayDialogEvent::Closed, 0, 1, 0, false},
      {"F1 closes", 3, {"1"}, ReplayDialogEvent::Closed, 0, 0, 0, false},
      {"rows scroll with the cursor", 25, std::vector<const char*>(12, "2D"), ReplayDialogEvent::Moved, 0, 12, 3, true},
      {"and back to the top", 25, {"U", "2D"}, ReplayDialogEvent::Moved, 0, 0, 0, true},
      {"the last row shown", 25, {"U"}, ReplayDialogEvent::Moved, 0, 24, 15, true},
  };
  for (const Case& c : cases) {
    ReplayDialogState s = WithEntries(c.entries);
    ReplayDialogResult r;
    for (const char* k : c.keys) r = UpdateReplayDialog(s, Buttons(k));
    EXPECT_EQ(r.Event, c.last) << c.name;
    EXPECT_EQ(s.Column, c.column) << c.name;
    EXPECT_EQ(s.Cursor, c.cursor) << c.name;
    EXPECT_EQ(s.Top, c.top) << c.name;
    EXPECT_EQ(s.Open, c.open) << c.name;
    if (r.Event == ReplayDialogEvent::Chosen) {
      EXPECT_EQ(r.Side, c.column) << c.name;
      EXPECT_EQ(r.Entry, c.cursor) << c.name;
    }
  }
  ReplayDialogState closed = WithEntries(2);
  closed.Open = false;
  EXPECT_EQ(UpdateReplayDialog(closed, Buttons("E")).Event, ReplayDialogEvent::None);
}

}  // namespace
}  // namespace tessaru
