#include "flow/match_up.h"

#include "core/numbers.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"

namespace tessaru {
namespace {

constexpr uint32_t kPortraitStart = 250;
constexpr uint32_t kPortraitSlide = 500;
constexpr uint32_t kRestStart = 500;
constexpr uint32_t kRestSlide = 1000;
constexpr int kStrip = menu_layout::kStripHeight;

}  // namespace

double SlideProgress(uint32_t t, uint32_t startMs, uint32_t durationMs) {
  if (t <= startMs) return 0.0;
  if (t >= startMs + durationMs) return 1.0;
  return static_cast<double>(t - startMs) / durationMs;
}

int16_t ShowMatchUp(Game& game, int16_t /*reserved*/) {
  FlowState& st = game.State;
  if (st.PlayStyle >= 3) return 1;
  GraphLib& g = game.Graph;
  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING <= 3 ? pages.Load("\\image\\selback2.bmp") : -1;
  SurfaceIndex portrait[2];
  for (int p = 0; p < 2; ++p) {
    portrait[p] = pages.Load("\\image\\vschar" + NumberText(int64_t{st.PlayerPart[static_cast<size_t>(p)]}) + ".bmp");
  }
  const SurfaceIndex tags = pages.Load("\\image\\chartag.bmp");
  const SurfaceIndex instruments = pages.Load("\\image\\instname.bmp");
  const SurfaceIndex banner = pages.Load("\\image\\seltop0.bmp");
  const bool partners = st.PlayStyle != 0;
  const int tagY = partners ? 264 : 344;

  int16_t result = 1;
  ScreenFrame frame(game);
  for (;;) {
    const MenuButtons& b = frame.Poll();
    const uint32_t t = frame.FirstFrameShown() ? frame.Now() : 0;
    if (t >= kMatchUpMs) break;
    if ((b.Side[0].AnyOfFirstFive || b.Side[1].AnyOfFirstFive) && !frame.Leaving()) break;
    if (frame.DrawDue()) {
      const bool animate = game.Settings.DRAWING < 1;
      const double k1 = animate ? SlideProgress(t, kPortraitStart, kPortraitSlide) : 1.0;
      const double k2 = animate ? SlideProgress(t, kRestStart, kRestSlide) : 1.0;
      frame.DrawBackground(back);
      const int portraitShift = static_cast<int>((1.0 - k1) * 320);
      const int tagShift = static_cast<int>((1.0 - k1) * 128);
      const int restShift = static_cast<int>((1.0 - k2) * 128);
      for (int p = 0; p < 2; ++p) {
        const int sign = p == 0 ? -1 : 1;
        const int part = st.PlayerPart[static_cast<size_t>(p)];
        const int x = 320 * p;
        if (portrait[p] >= 0) Cut(g, portrait[p], menu_layout::kPortrait, x + sign * portraitShift, 0);
        // Opponents stand on their own halves; partners' tags are stacked in the middle.
        const int rowY = partners ? tagY + p * 2 * kStrip : tagY;
        const int tagX = partners ? 160 : x;
        if (tags >= 0) Cut(g, tags, menu_layout::NameStrip(part), tagX + sign * tagShift, rowY);
        if (instruments >= 0 && k2 > 0.0) {
          Cut(g, instruments, menu_layout::NameStrip(part), tagX + sign * restShift, rowY + kStrip);
        }
      }
      if (banner >= 0) Cut(g, banner, menu_layout::kBanner);
      if (k2 >= 1.0 || !animate) {
        const std::string_view mark = partners ? "&" : "VS";
        g.DrawSystemText(BackIndex, mark, 320 - static_cast<int>(mark.size()) * 8, 224, 0);
      }
      frame.Show();
    }
    if (frame.Leaving()) {
      result = frame.LeaveCode();
      break;
    }
  }
  // Play starts in silence.
  if (game.Settings.SOUNDING == 0) StopMenuBgm(game);
  return result;
}

}  // namespace tessaru
