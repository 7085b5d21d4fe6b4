#include "flow/match_up.h"

#include "content/data_files.h"
#include "flow/menu_sound.h"
#include "layout/menu_screens.h"
#include "flow/screen_names.h"

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

ScreenEvent Update(MatchUpScreen& /*s*/, const MenuButtons& b, uint32_t t) {
  if (t >= kMatchUpMs) return ScreenEvent::Decided;
  const ScreenEvent leave = LeaveEvent(b);
  if (leave != ScreenEvent::None) return leave;
  return b.Side[0].AnyOfFirstFive || b.Side[1].AnyOfFirstFive ? ScreenEvent::Decided : ScreenEvent::None;
}

void Draw(const MatchUpScreen& s, const MatchUpPictures& pics, GraphLib& g, uint32_t t) {
  namespace at = menu_layout::match_up;
  const double k1 = s.Animate ? SlideProgress(t, kPortraitStart, kPortraitSlide) : 1.0;
  const double k2 = s.Animate ? SlideProgress(t, kRestStart, kRestSlide) : 1.0;
  const int portraitShift = static_cast<int>((1.0 - k1) * at::kPortraitTravel);
  const int tagShift = static_cast<int>((1.0 - k1) * at::kStripTravel);
  const int restShift = static_cast<int>((1.0 - k2) * at::kStripTravel);
  const int tagY = s.Partners ? at::kTagYPartners : at::kTagYVersus;
  for (int p = 0; p < 2; ++p) {
    const int sign = p == 0 ? -1 : 1;
    const int part = s.Parts[p];
    const int x = 320 * p;
    if (pics.Portrait[p] >= 0) Cut(g, pics.Portrait[p], menu_layout::kPortrait, x + sign * portraitShift, 0);
    // Opponents stand on their own halves; partners' tags are stacked in the middle.
    const int rowY = s.Partners ? tagY + p * 2 * kStrip : tagY;
    const int tagX = s.Partners ? at::kPartnersTagX : x;
    if (pics.Tags >= 0) Cut(g, pics.Tags, menu_layout::NameStrip(part), tagX + sign * tagShift, rowY);
    if (pics.Instruments >= 0 && k2 > 0.0) {
      Cut(g, pics.Instruments, menu_layout::NameStrip(part), tagX + sign * restShift, rowY + kStrip);
    }
  }
  if (pics.Banner >= 0) Cut(g, pics.Banner, menu_layout::kBanner);
  if (k2 >= 1.0 || !s.Animate) {
    const std::string_view mark = s.Partners ? "&" : "VS";
    g.DrawSystemText(BackIndex, mark, menu_layout::CentredX(static_cast<int>(mark.size())), at::kMarkY, 0);
  }
}

int16_t ShowMatchUp(Game& game, int16_t /*reserved*/) {
  const StageSetup& setup = game.State.Setup;
  if (setup.PlayStyle >= 3) return 1;
  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING <= 3 ? pages.Load(data_files::kMatchUpBack) : -1;
  MatchUpPictures pics;
  for (int p = 0; p < 2; ++p) {
    pics.Portrait[p] = pages.Load(data_files::Portrait(setup.PlayerPart[p]));
  }
  pics.Tags = pages.Load(data_files::kNameTags);
  pics.Instruments = pages.Load(data_files::kInstrumentNames);
  pics.Banner = pages.Load(data_files::kMenuBanner);
  MatchUpScreen s{setup.PlayerPart, setup.PlayStyle != 0, game.Settings.DRAWING < 1};

  int16_t result = 1;
  ScreenFrame frame(game, screen_name::kMatchUp);
  for (;;) {
    const MenuButtons& b = frame.Poll();
    // The slides start with the first frame shown, after the fade-in.
    const uint32_t t = frame.FirstFrameShown() ? frame.Now() : 0;
    const ScreenEvent e = Update(s, b, t);
    if (e == ScreenEvent::Decided) break;
    if (frame.DrawDue()) {
      frame.DrawBackground(back);
      Draw(s, pics, game.Graph, t);
      frame.Show();
    }
    if (IsLeaving(e)) {
      result = frame.Leave(e);
      break;
    }
  }
  // Play starts in silence.
  if (game.Settings.SOUNDING == 0) StopMenuBgm(game);
  return result;
}

}  // namespace tessaru
