#include <string>

#include "core/numbers.h"
#include "flow/free_mode.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"

namespace tessaru {
namespace {

constexpr std::string_view kChoices[] = {"PLAY THE SAME SONG AGAIN", "CHOOSE ANOTHER PART",
                                         "CHOOSE ANOTHER SONG", "BACK TO THE TITLE",
                                         "FREE MODE SETTING"};
constexpr int kChoiceCount = 5;
constexpr int kMenuX = 144;
constexpr int kMenuY = 272;
constexpr int kMenuRow = 32;

}  // namespace

int16_t FreeModeResults(Game& game, const std::array<int32_t, 2>& scores,
                        const std::array<int32_t, 2>& points) {
  GraphLib& g = game.Graph;
  const FlowState& st = game.State;
  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING < 3 ? pages.Load("\\image\\selback.bmp") : -1;
  const SurfaceIndex banner = pages.Load("\\image\\seltop0.bmp");
  StartMenuBgm(game);
  std::string title = st.SongIndex >= 0 && st.SongIndex < game.Songs.SongCount
                          ? game.Songs.SongNames[static_cast<size_t>(st.SongIndex)]
                          : game.Song.Title;
  title = title.substr(0, 36);

  int cursor = 0;
  ScreenFrame frame(game);
  for (;;) {
    const MenuButtons& b = frame.Poll();
    if (b.AnyUp()) {
      cursor = (cursor + kChoiceCount - 1) % kChoiceCount;
      PlayMenuSound(game, kCursorSound);
    } else if (b.AnyDown()) {
      cursor = (cursor + 1) % kChoiceCount;
      PlayMenuSound(game, kCursorSound);
    }
    if (b.AnyDecide() && !frame.Leaving()) {
      PlayMenuSound(game, kDecideSound);
      return static_cast<int16_t>(cursor);
    }
    if (frame.DrawDue()) {
      frame.DrawBackground(back);
      if (banner >= 0) Cut(g, banner, menu_layout::kBanner);
      g.DrawSystemText(BackIndex, "RESULT", 32, 12, 0);
      g.DrawSystemText(BackIndex, title, 320 - static_cast<int>(title.size()) * 8, 80, 1);
      for (int p = 0; p < 2; ++p) {
        const size_t i = static_cast<size_t>(p);
        const int x = 64 + 320 * p;
        const std::string who = std::string(p == 0 ? "1P " : "2P ") + (st.ComSkill[i] >= 0 ? "COM" : "PLAYER");
        g.DrawSystemText(BackIndex, who, x, 128, 1);
        g.DrawSystemText(BackIndex, NumberText(int64_t{scores[i]}) + "%", x, 160, 0);
        g.DrawSystemText(BackIndex, "PTS. " + NumberText(int64_t{points[i]}), x, 200, 1);
      }
      for (int k = 0; k < kChoiceCount; ++k) {
        const int y = kMenuY + k * kMenuRow;
        g.DrawSystemText(BackIndex, kChoices[k], kMenuX + 32, y, 1);
        if (k == cursor && frame.Blink() == 0) g.DrawSystemText(BackIndex, ">", kMenuX, y, 1);
      }
      frame.Show();
    }
    if (frame.Leaving()) {
      const int16_t code = frame.LeaveCode();
      return code < 0 && !game.State.QuitRequested ? int16_t{kFreeTitle} : code;
    }
  }
}

}  // namespace tessaru
