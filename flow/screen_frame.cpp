#include "flow/screen_frame.h"

#include "flow/menu_sound.h"

namespace tessaru {

void Cut(GraphLib& g, SurfaceIndex page, const BltArea& area) { Cut(g, page, area, area.X, area.Y); }

void Cut(GraphLib& g, SurfaceIndex page, const BltArea& area, int32_t x, int32_t y) {
  g.BltClip(BackIndex, page, x, y, area.W, area.H, area.X, area.Y, 1);
}

ScreenEvent LeaveEvent(const MenuButtons& b) {
  if (b.Escape) return ScreenEvent::Quit;
  return b.F1 ? ScreenEvent::Back : ScreenEvent::None;
}

void PlayEventSound(Game& game, ScreenEvent e) {
  if (e == ScreenEvent::Moved || e == ScreenEvent::Changed) PlayMenuSound(game, kCursorSound);
  if (e == ScreenEvent::Decided) PlayMenuSound(game, kDecideSound);
}

int32_t FrameIntervalMs(int16_t maxFps) {
  if (maxFps < 1) maxFps = 60;
  return 1000 / maxFps + 1;
}

ScreenFrame::ScreenFrame(Game& game, std::string_view name, bool keepMenuBgm)
    : game_(game), t0_(game.Clock().GetTickCount()), keepMenuBgm_(keepMenuBgm) {
  // A cap of 0 would mean no frames at all; the game runs at 60 and keeps that value.
  if (game_.Settings.MAXFPS < 1) game_.Settings.MAXFPS = 60;
  EnterScreen(game_, name);
}

uint32_t ScreenFrame::Now() const { return game_.Clock().GetTickCount() - t0_; }

const MenuButtons& ScreenFrame::Poll() {
  const uint32_t now = Now();
  if (keepMenuBgm_ && (now - lastBgmCall_ > 100 || now < lastBgmCall_)) {
    KeepMenuBgm(game_);
    lastBgmCall_ = now;
  }
  game_.Input.UpdateFuncState(true);
  buttons_ = ReadMenuButtons(game_.Input);
  // The window's close button counts as Esc: the game saves and ends.
  if (game_.Devices().input->QuitRequested()) buttons_.Escape = true;
  return buttons_;
}

bool ScreenFrame::DrawDue() {
  const int16_t maxFps = game_.Settings.MAXFPS;
  const uint32_t ticks = game_.Clock().GetTickCount();
  if (drawnOnce_ && maxFps < kUncappedFps &&
      ticks - lastDraw_ < static_cast<uint32_t>(FrameIntervalMs(maxFps))) {
    game_.Clock().SleepMs(1);
    return false;
  }
  lastDraw_ = ticks;
  drawnOnce_ = true;
  // Without a cap every pass draws; the pass still hands a millisecond back.
  if (maxFps >= kUncappedFps) game_.Clock().SleepMs(1);
  return true;
}

void ScreenFrame::DrawBackground(SurfaceIndex background) {
  if (game_.Settings.DRAWING <= 2 && background >= 0) {
    game_.Graph.BltPage(BackIndex, background);
  } else {
    game_.Graph.ClearSurface(BackIndex);
  }
}

void ScreenFrame::Show() {
  GraphLib& g = game_.Graph;
  if (!shown_) {
    shown_ = true;
    if (game_.FadePage >= 0) {
      g.BltPage(game_.FadePage, BackIndex);
      g.WipeIn(game_.FadePage, PrimaryIndex);
      t0_ = game_.Clock().GetTickCount();
      lastBgmCall_ = 0;
      return;
    }
  }
  g.FlipScreen();
}

int16_t ScreenFrame::LeaveCode(int16_t backCode) const {
  if (buttons_.Escape) {
    game_.State.QuitRequested = true;
    return -1;
  }
  return backCode;
}

int16_t ScreenFrame::Leave(ScreenEvent e, int16_t backCode) const {
  if (e == ScreenEvent::Quit) {
    game_.State.QuitRequested = true;
    return -1;
  }
  return backCode;
}

ScreenPages::ScreenPages(Game& game) : game_(game), base_(game.Graph.SurfaceCount()) {}

ScreenPages::~ScreenPages() {
  while (game_.Graph.SurfaceCount() > base_ && game_.Graph.SurfaceCount() > 2) {
    game_.Graph.ReleaseLastSurface();
  }
}

SurfaceIndex ScreenPages::Load(std::string_view relative, bool logFailure) {
  return LoadFull(DataFile(game_, relative), logFailure);
}

SurfaceIndex ScreenPages::LoadFull(const std::string& fullPath, bool logFailure) {
  const SurfaceIndex page = game_.Graph.NewSurface(0, 0);
  if (page < 0) {
    if (logFailure) game_.Errors.AddLoadFailure(fullPath);
    return -1;
  }
  std::string name = fullPath;
  if (!game_.Graph.LoadSurfaceImage(page, name)) {
    if (logFailure) game_.Errors.AddLoadFailure(fullPath);
    game_.Graph.ReleaseLastSurface();
    return -1;
  }
  return page;
}

}  // namespace tessaru
