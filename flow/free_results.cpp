#include <string>

#include "content/data_files.h"
#include "core/numbers.h"
#include "flow/free_mode.h"
#include "flow/menu_sound.h"
#include "flow/timing_panel.h"
#include "layout/menu_screens.h"
#include "flow/screen_names.h"

namespace tessaru {
namespace {

constexpr std::string_view kChoices[] = {"PLAY THE SAME SONG AGAIN", "CHOOSE ANOTHER PART",
                                         "CHOOSE ANOTHER SONG", "BACK TO THE TITLE",
                                         "FREE MODE SETTING"};
constexpr int kChoiceCount = 5;
constexpr size_t kMaxTitleChars = 36;

}  // namespace

FreeResultsScreen MakeFreeResultsScreen(std::string title, const StageSetup& setup, const StageOutcome& outcome) {
  FreeResultsScreen s;
  s.Title = title.substr(0, kMaxTitleChars);
  for (int p = 0; p < 2; ++p) {
    s.Computer[p] = setup.ComSkill[p] >= 0;
    s.Autoplayed[p] = outcome.Players[p].Autoplayed;
    s.Scores[p] = outcome.Players[p].StageScore;
    s.Points[p] = outcome.Players[p].StagePoints;
  }
  return s;
}

ScreenEvent Update(FreeResultsScreen& s, const MenuButtons& b, uint32_t /*now*/) {
  const ScreenEvent leave = LeaveEvent(b);
  if (leave != ScreenEvent::None) return leave;
  ScreenEvent e = ScreenEvent::None;
  if (b.AnyUp()) {
    s.Cursor = (s.Cursor + kChoiceCount - 1) % kChoiceCount;
    e = ScreenEvent::Moved;
  } else if (b.AnyDown()) {
    s.Cursor = (s.Cursor + 1) % kChoiceCount;
    e = ScreenEvent::Moved;
  }
  return b.AnyDecide() ? ScreenEvent::Decided : e;
}

void Draw(const FreeResultsScreen& s, GraphLib& g, int16_t blink) {
  namespace at = menu_layout::free_results;
  g.DrawSystemText(BackIndex, "RESULT", at::kHeading.X, at::kHeading.Y, 0);
  g.DrawSystemText(BackIndex, s.Title, menu_layout::CentredX(static_cast<int>(s.Title.size())), at::kTitleY, 1);
  for (int p = 0; p < 2; ++p) {
    const int x = at::kSideX[p];
    const std::string_view role = s.Computer[p] ? "COM" : s.Autoplayed[p] ? "AUTOPLAY" : "PLAYER";
    const std::string who = std::string(p == 0 ? "1P " : "2P ") + std::string(role);
    g.DrawSystemText(BackIndex, who, x, at::kWhoY, 1);
    g.DrawSystemText(BackIndex, NumberText(int64_t{s.Scores[p]}) + "%", x, at::kScoreY, 0);
    g.DrawSystemText(BackIndex, "PTS. " + NumberText(int64_t{s.Points[p]}), x, at::kPointsY, 1);
  }
  for (int k = 0; k < kChoiceCount; ++k) {
    const int y = at::kMenuY + k * at::kMenuRow;
    g.DrawSystemText(BackIndex, kChoices[k], at::kMenuX + at::kLabelIndent, y, 1);
    if (k == s.Cursor && blink == 0) g.DrawSystemText(BackIndex, ">", at::kMenuX, y, 1);
  }
}

FreeChoice FreeModeResults(Game& game, const StageOutcome& outcome) {
  const StageSetup& setup = game.State.Setup;
  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING < 3 ? pages.Load(data_files::kMenuBack) : -1;
  const SurfaceIndex banner = pages.Load(data_files::kMenuBanner);
  StartMenuBgm(game);
  const bool listed = setup.SongIndex >= 0 && setup.SongIndex < game.Songs.SongCount;
  FreeResultsScreen s = MakeFreeResultsScreen(
      listed ? game.Songs.SongNames[static_cast<size_t>(setup.SongIndex)] : game.Song.Title, setup, outcome);
  // Only presses made by hand have a timing to show.
  std::array<bool, 2> humans{};
  for (int p = 0; p < 2; ++p) {
    humans[static_cast<size_t>(p)] =
        setup.ComSkill[p] < 0 && !setup.ReplayPlayback[p] && !outcome.Players[p].Autoplayed;
  }
  TimingPanelState timing = MakeTimingPanel(outcome, humans);

  ScreenFrame frame(game, screen_name::kResults);
  for (;;) {
    const MenuButtons& b = frame.Poll();  // before Now(): the poll lets time pass
    if (UpdateTimingPanel(timing, b.F2, b.F3) == TimingPanelEvent::Apply) {
      ApplyTimingSuggestion(game, timing);
      PlayMenuSound(game, kDecideSound);
    }
    // The panel covers the menu: only F1 and Esc reach the screen meanwhile.
    const ScreenEvent e = timing.Shown ? LeaveEvent(b) : Update(s, b, frame.Now());
    PlayEventSound(game, e);
    if (e == ScreenEvent::Decided) return static_cast<FreeChoice>(s.Cursor);
    if (frame.DrawDue()) {
      frame.DrawBackground(back);
      if (banner >= 0) Cut(game.Graph, banner, menu_layout::kBanner);
      Draw(s, game.Graph, frame.Blink());
      if (timing.Shown) DrawTimingPanel(game, timing);
      frame.Show();
    }
    // F1 has no screen to go back to: it means the title.
    if (IsLeaving(e)) return frame.Leave(e) < 0 && !game.State.QuitRequested ? FreeChoice::Title : FreeChoice::Quit;
  }
}

}  // namespace tessaru
