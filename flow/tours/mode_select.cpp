#include "flow/tours/mode_select.h"

#include "content/data_files.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"
#include "flow/special_mode_names.h"
#include "layout/mode_select_layout.h"
#include "flow/screen_names.h"

namespace tessaru {
namespace {

void Draw(const ModeSelectState& s, GraphLib& g, SurfaceIndex bigFont, int16_t blink) {
  namespace L = mode_select_layout;
  g.DrawBigText(BackIndex, bigFont, "SELECT MODE", L::kTitleX, L::kTitleY);
  const size_t first = static_cast<size_t>(s.Page * kModeRowsPerPage);
  for (int row = 0; row < kModeRowsPerPage; ++row) {
    const size_t i = first + static_cast<size_t>(row);
    if (i >= s.Modes.size()) break;
    g.DrawBigText(BackIndex, bigFont, SpecialModeName(s.Modes[i]), L::kNameX, L::RowY(row));
  }
  g.DrawBigText(BackIndex, bigFont, blink == 0 ? ">" : "<", L::kCursorX, L::RowY(s.Row));
  if (s.Modes.size() > static_cast<size_t>(kModeRowsPerPage)) {
    g.DrawSystemText(BackIndex, "^", L::kArrowX, L::kArrowUpY, 1);
    g.DrawSystemText(BackIndex, "v", L::kArrowX, L::kArrowDownY, 1);
  }
}

}  // namespace

ModeSelectEvent UpdateModeSelect(ModeSelectState& s, const MenuButtons& b) {
  const int count = static_cast<int>(s.Modes.size());
  if (count == 0) return ModeSelectEvent::None;
  const SideButtons& side = b.Side[static_cast<size_t>(s.Side)];
  if (side.Decide) return ModeSelectEvent::Decided;
  const int last = count - 1;
  if (side.Up) {
    if (s.Row > 0) {
      --s.Row;
    } else if (s.Page > 0) {
      --s.Page;
      s.Row = kModeRowsPerPage - 1;
    } else {
      s.Page = last / kModeRowsPerPage;
      s.Row = last % kModeRowsPerPage;
    }
    return ModeSelectEvent::Moved;
  }
  if (side.Down) {
    if (s.Index() >= last) {
      s.Page = 0;
      s.Row = 0;
    } else if (s.Row == kModeRowsPerPage - 1) {
      ++s.Page;
      s.Row = 0;
    } else {
      ++s.Row;
    }
    return ModeSelectEvent::Moved;
  }
  return ModeSelectEvent::None;
}

int16_t SelectMode(Game& game) {
  GraphLib& g = game.Graph;
  ScreenPages pages(game);
  const SurfaceIndex bigFont = pages.Load(data_files::kBigFont);
  const SurfaceIndex back = game.Settings.DRAWING < 3 ? pages.Load(data_files::kMenuBack) : SurfaceIndex{-1};
  ModeSelectState state;
  state.Modes = game.Unlocked.List();
  state.Side = game.State.Setup.MenuSub == 1 ? int16_t{1} : int16_t{0};

  ScreenFrame frame(game, screen_name::kModeSelect);
  for (;;) {
    MenuButtons b = frame.Poll();
    // The keyboard's arrows are 1P's; they drive this screen whichever side chose it.
    if (state.Side == 1) {
      b.Side[1].Up = b.Side[1].Up || b.Side[0].Up;
      b.Side[1].Down = b.Side[1].Down || b.Side[0].Down;
      b.Side[1].Decide = b.Side[1].Decide || b.Side[0].Decide;
    }
    switch (UpdateModeSelect(state, b)) {
      case ModeSelectEvent::Moved: PlayMenuSound(game, kCursorSound); break;
      case ModeSelectEvent::Decided:
        if (!frame.Leaving()) {
          PlayMenuSound(game, kDecideSound);
          return state.Modes[static_cast<size_t>(state.Index())];
        }
        break;
      case ModeSelectEvent::None: break;
    }
    if (frame.DrawDue()) {
      frame.DrawBackground(back);
      if (bigFont >= 0) Draw(state, g, bigFont, frame.Blink());
      frame.Show();
    }
    if (frame.Leaving()) return frame.LeaveCode();
  }
}

}  // namespace tessaru
