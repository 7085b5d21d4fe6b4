#include "flow/title_screen.h"

#include <algorithm>

#include "content/data_files.h"
#include "core/file_access.h"
#include "core/paths.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"

namespace tessaru {
namespace {

// Every activity of the game has its cell; BuildTitleGrid empties what cannot be chosen.
using enum TitleCode;
constexpr TitleGrid kFullGrid = {{
    {{{SingleTourSeat, "ARCADE"}, {FreeMode, "FREE MODE"}, {Config, "CONFIG"}}},
    {{{TwoPlayerTour, "TWO PLAYERS"}, {SessionTour, "SESSION"}, {TourRecords, "TOUR RECORDS"}}},
    {{{SpecialTour, "SPECIAL"}, {Training, "TRAINING"}, {SongRecords, "SONG RECORDS"}}},
    {{{Beginner, "BEGINNER"}, {Tutorial, "TUTORIAL"}, {PlayerRank, "PLAYER RANK"}}},
    {{{None, ""}, {None, ""}, {SpecialRecords, "FAVORITES"}}},
    {{{None, ""}, {None, ""}, {None, ""}}},
    {{{None, ""}, {Exit, "EXIT"}, {None, ""}}},
}};

bool Available(TitleCode code, const TitleConditions& c) {
  if (code == None) return false;
  if (code != Exit && std::find(c.Activities.begin(), c.Activities.end(), code) == c.Activities.end()) {
    return false;
  }
  switch (code) {
    case Tutorial:
    case Beginner: return c.TutorialFiles;
    case SingleTourSeat:
    case SessionTour:
    case Training: return c.SongListValid;
    case SpecialTour: return c.UnlockedModeCount > 0;
    default: return true;
  }
}

TitleConditions ConditionsOf(const Game& game) {
  TitleConditions c;
  c.SongListValid = game.Songs.SongListValid;
  if (!game.Songs.SongPaths.empty()) {
    c.TutorialFiles = FileExists(FolderOf(game.Songs.SongPaths[0]) + "\\tuto1p.zxp");
  }
  c.Activities = {FreeMode, Config};
  return c;
}

constexpr int kMenuX = 224;
constexpr int kMenuY = 272;
constexpr int kMenuRowHeight = 28;

}  // namespace

TitleGrid BuildTitleGrid(const TitleConditions& conditions) {
  TitleGrid grid = kFullGrid;
  for (auto& row : grid) {
    for (TitleEntry& e : row) {
      if (!Available(e.Code, conditions)) e = TitleEntry{};
    }
  }
  return grid;
}

std::vector<std::pair<int, int>> TitleCursorCells(const TitleGrid& grid) {
  std::vector<std::pair<int, int>> cells;
  for (int r = 0; r < kTitleRows; ++r) {
    for (int c = 0; c < kTitleColumns; ++c) {
      if (grid[static_cast<size_t>(r)][static_cast<size_t>(c)].Code != None) cells.emplace_back(r, c);
    }
  }
  return cells;
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

  const TitleGrid grid = BuildTitleGrid(ConditionsOf(game));
  const auto cells = TitleCursorCells(grid);
  const int count = static_cast<int>(cells.size());
  int cursor = 0;
  TitleCode result = None;

  // The title has its own music; the menu music waits for the screens after it.
  ScreenFrame frame(game, false);
  for (;;) {
    const MenuButtons& b = frame.Poll();
    if (count > 0 && (b.AnyUp() || b.AnyLeft())) {
      cursor = (cursor + count - 1) % count;
      PlayMenuSound(game, kCursorSound);
    } else if (count > 0 && (b.AnyDown() || b.AnyRight())) {
      cursor = (cursor + 1) % count;
      PlayMenuSound(game, kCursorSound);
    }
    if (b.AnyDecide() && !frame.Leaving()) {
      PlayMenuSound(game, kDecideSound);
      sub = b.Side[0].Decide ? 0 : 1;
      if (count == 0) {
        result = Ending;  // nothing to choose: the ending plays instead
      } else {
        const auto [r, c] = cells[static_cast<size_t>(cursor)];
        result = grid[static_cast<size_t>(r)][static_cast<size_t>(c)].Code;
      }
      break;
    }
    if (frame.DrawDue()) {
      frame.DrawBackground(back);
      if (logo >= 0) Cut(g, logo, menu_layout::kTitleLogo);
      // The "PRESS ENTER" line blinks; the credit line under it stays.
      if (layer >= 0 && frame.Blink() == 0) Cut(g, layer, menu_layout::kTitlePrompt);
      if (layer >= 0) Cut(g, layer, menu_layout::kTitleCredit);
      for (int i = 0; i < count; ++i) {
        const auto [r, c] = cells[static_cast<size_t>(i)];
        const std::string_view label = grid[static_cast<size_t>(r)][static_cast<size_t>(c)].Label;
        const int y = kMenuY + i * kMenuRowHeight;
        g.DrawSystemText(BackIndex, label, kMenuX + 32, y, 1);
        if (i == cursor) g.DrawSystemText(BackIndex, ">", kMenuX, y, 1);
      }
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
