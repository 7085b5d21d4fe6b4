#include "flow/replay_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaru {
namespace {

enum Key { kNone, kUp, kDown, kLeft, kRight, kDecide, kDecide2P, kTab, kF1 };

MenuButtons Press(Key k) {
  MenuButtons b;
  switch (k) {
    case kUp: b.Side[0].Up = true; break;
    case kDown: b.Side[1].Down = true; break;  // either side moves the one cursor
    case kLeft: b.Side[0].Left = true; break;
    case kRight: b.Side[1].Right = true; break;
    case kDecide: b.Side[0].Decide = true; break;
    case kDecide2P: b.Side[1].Decide = true; break;
    case kTab: b.Tab = true; break;
    case kF1: b.F1 = true; break;
    case kNone: break;
  }
  return b;
}

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
    std::vector<Key> keys;
    ReplayDialogEvent last;
    int column, cursor, top;
    bool open;
  };
  const std::vector<Case> cases = {
      {"down twice", 3, {kDown, kDown}, ReplayDialogEvent::Moved, 0, 2, 0, true},
      {"up wraps to the last", 3, {kUp}, ReplayDialogEvent::Moved, 0, 2, 0, true},
      {"down wraps to the first", 2, {kDown, kDown}, ReplayDialogEvent::Moved, 0, 0, 0, true},
      {"right is the 2P column", 3, {kRight}, ReplayDialogEvent::Moved, 1, 0, 0, true},
      {"left from 1P too", 3, {kLeft}, ReplayDialogEvent::Moved, 1, 0, 0, true},
      {"decide chooses", 3, {kRight, kDown, kDecide2P}, ReplayDialogEvent::Chosen, 1, 1, 0, false},
      {"nothing to choose", 0, {kDown, kDecide}, ReplayDialogEvent::None, 0, 0, 0, true},
      {"tab closes", 3, {kDown, kTab}, ReplayDialogEvent::Closed, 0, 1, 0, false},
      {"F1 closes", 3, {kF1}, ReplayDialogEvent::Closed, 0, 0, 0, false},
      {"rows scroll with the cursor", 25, std::vector<Key>(12, kDown), ReplayDialogEvent::Moved, 0, 12, 3, true},
      {"and back to the top", 25, {kUp, kDown}, ReplayDialogEvent::Moved, 0, 0, 0, true},
      {"the last row shown", 25, {kUp}, ReplayDialogEvent::Moved, 0, 24, 15, true},
  };
  for (const Case& c : cases) {
    ReplayDialogState s = WithEntries(c.entries);
    ReplayDialogResult r;
    for (Key k : c.keys) r = UpdateReplayDialog(s, Press(k));
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
  EXPECT_EQ(UpdateReplayDialog(closed, Press(kDecide)).Event, ReplayDialogEvent::None);
}

}  // namespace
}  // namespace tessaru
