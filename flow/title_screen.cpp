#include "flow/title_screen.h"

#include <algorithm>

#include "content/data_files.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"
#include "flow/tours/tours.h"
#include "flow/tours/unlocks.h"
#include "layout/title_layout.h"
#include "flow/screen_names.h"

namespace tessaru {
namespace {

// Every activity of the game has its cell; BuildTitleGrid empties what cannot be chosen.
// One-player play on the left, two players in the middle, records and settings right.
using enum TitleCode;
constexpr TitleGrid kFullGrid = {{
    {{{FreeMode, "FREE MODE"}, {TwoPlayerTour, "DOUBLE"}, {TourRecords, "TOUR RECORDS"}}},
    {{{SingleTourSeat, "ARCADE"}, {SessionTour, "SESSION"}, {SpecialRecords, "FAVORITES"}}},
    {{{SpecialTour, "SPECIAL"}, {Training, "TRAINING"}, {SongRecords, "SONG RECORDS"}}},
    {{{Beginner, "BEGINNER"}, {None, ""}, {PlayerRank, "PLAYER RANK"}}},
    {{{Tutorial, "TUTORIAL"}, {None, ""}, {Ending, "ENDING"}}},
    {{{None, ""}, {None, ""}, {Config, "CONFIG"}}},
    {{{None, ""}, {Exit, "EXIT"}, {None, ""}}},
}};

bool Available(TitleCode code, const TitleConditions& c) {
  if (code != Exit &&
      std::find(c.Activities.begin(), c.Activities.end(), code) == c.Activities.end()) {
    return false;
  }
  switch (code) {
    case Tutorial:
    case Beginner: return c.TutorialFiles;
    case SingleTourSeat:
    case SessionTour:
    case TwoPlayerTour:
    case Training: return c.SongListValid;
    case SpecialTour: return c.SongListValid && c.UnlockedModeCount > 0;
    case Ending: return c.RunFinished;
    default: return true;
  }
}

TitleConditions ConditionsOf(const Game& game) {
  TitleConditions c;
  c.SongListValid = game.Songs.SongListValid;
  c.TutorialFiles = TutorialFilesPresent(game);
  c.UnlockedModeCount = game.Unlocked.UnlockedModeCount;
  c.RunFinished = FlagMarked(game.Records, 3);
  c.Activities = {SingleTourSeat, FreeMode,    SpecialTour, Config,      SessionTour,
                  TwoPlayerTour,  Training,    Tutorial,    Beginner,    TourRecords,
                  SongRecords,    PlayerRank,  SpecialRecords, Ending};
  return c;
}

const TitleEntry& At(const TitleGrid& grid, int row, int column) {
  return grid[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

// The next filled cell from (row, column) in steps of (dr, dc), wrapping; the same cell
// when no other lies that way.
void Walk(const TitleGrid& grid, int& row, int& column, int dr, int dc) {
  int r = row;
  int c = column;
  const int span = dr != 0 ? kTitleRows : kTitleColumns;
  for (int i = 0; i < span; ++i) {
    r = (r + dr + kTitleRows) % kTitleRows;
    c = (c + dc + kTitleColumns) % kTitleColumns;
    if (At(grid, r, c).Filled()) {
      row = r;
      column = c;
      return;
    }
  }
}

void Draw(const TitleState& s, GraphLib& g) {
  namespace L = title_layout;
  for (int r = 0; r < kTitleRows; ++r) {
    for (int c = 0; c < kTitleColumns; ++c) {
      const TitleEntry& e = At(s.Grid, r, c);
      if (!e.Filled()) continue;
      g.DrawSystemText(BackIndex, e.Label, L::kColumnX[c], L::RowY(r), 1);
    }
  }
  if (s.Row >= 0) g.DrawSystemText(BackIndex, ">", L::kColumnX[s.Column] - L::kCursorDX, L::RowY(s.Row), 1);
}

}  // namespace

TitleGrid BuildTitleGrid(const TitleConditions& conditions) {
  TitleGrid grid = kFullGrid;
  for (auto& row : grid) {
    for (TitleEntry& e : row) {
      if (e.Filled() && !Available(e.Code, conditions)) e = TitleEntry{};
    }
  }
  return grid;
}

TitleState StartTitle(const TitleGrid& grid) {
  TitleState s;
  s.Grid = grid;
  for (int r = 0; r < kTitleRows && s.Row < 0; ++r) {
    for (int c = 0; c < kTitleColumns; ++c) {
      if (At(grid, r, c).Filled()) {
        s.Row = r;
        s.Column = c;
        break;
      }
    }
  }
  return s;
}

TitleEvent UpdateTitle(TitleState& s, const MenuButtons& b) {
  TitleEvent e;
  if (b.AnyDecide()) {
    e.What = ScreenEvent::Decided;
    e.Sub = b.Side[0].Decide ? 0 : 1;
    // Nothing to choose: the ending plays instead.
    e.Code = s.Row >= 0 ? At(s.Grid, s.Row, s.Column).Code : Ending;
    return e;
  }
  if (s.Row < 0) return e;
  const int row = s.Row;
  const int column = s.Column;
  if (b.AnyUp()) Walk(s.Grid, s.Row, s.Column, -1, 0);
  else if (b.AnyDown()) Walk(s.Grid, s.Row, s.Column, 1, 0);
  else if (b.AnyLeft()) Walk(s.Grid, s.Row, s.Column, 0, -1);
  else if (b.AnyRight()) Walk(s.Grid, s.Row, s.Column, 0, 1);
  if (s.Row != row || s.Column != column) e.What = ScreenEvent::Moved;
  return e;
}

TitleCode RunTitle(Game& game, int16_t& sub) {
  GraphLib& g = game.Graph;
  ScreenPages pages(game);
  const int backNumber = game.Rng.Draw(data_files::kTitleBackCount);
  const SurfaceIndex back = pages.Load(data_files::TitleBack(backNumber));
  const SurfaceIndex logo = pages.Load(data_files::kTitleLogo);
  const SurfaceIndex layer = pages.Load(data_files::kTitlePrompt);
  const SoundSlot music = LoadScreenSound(game, data_files::kTitleMusic);
  if (music >= 0 && game.Settings.SOUNDING < 2) game.Sound.PlaySound(music, true, true);

  TitleState state = StartTitle(BuildTitleGrid(ConditionsOf(game)));
  TitleCode result = None;

  // The title has its own music; the menu music waits for the screens after it.
  ScreenFrame frame(game, screen_name::kTitle, false);
  for (;;) {
    const MenuButtons& b = frame.Poll();
    const TitleEvent e = frame.Leaving() ? TitleEvent{} : UpdateTitle(state, b);
    PlayEventSound(game, e.What);
    if (e.What == ScreenEvent::Decided) {
      sub = e.Sub;
      result = e.Code;
      break;
    }
    if (frame.DrawDue()) {
      frame.DrawBackground(back);
      if (logo >= 0) Cut(g, logo, menu_layout::kTitleLogo);
      // The credit line stays under the grid.
      if (layer >= 0) Cut(g, layer, menu_layout::kTitleCredit);
      Draw(state, g);
      frame.Show();
    }
    if (frame.Leaving()) {
      frame.LeaveCode();  // Esc sets QuitRequested
      result = None;
      // F1 on the title has nowhere to go back to: it stays.
      if (!game.State.QuitRequested) continue;
      break;
    }
  }
  if (music >= 0) {
    game.Sound.StopSound(music);
    game.Sound.ReleaseSound(music);
  }
  return result;
}

}  // namespace tessaru
