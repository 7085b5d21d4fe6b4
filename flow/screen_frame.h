#pragma once
// The frame loop every menu screen shares: the screen's clock, the blink phase, the menu
// music keeper, one input poll per pass, the frame limiter, the fade-in of the first
// frame, and leaving on F1 (back) or Esc (quit the game).
//
// A screen is a small state struct, a pure Update(state, buttons, now) that says what
// happened, and a Draw(state, graph, ...) that only draws; the loop joins them:
//
//   ScreenFrame frame(game);
//   for (;;) {
//     const MenuButtons& b = frame.Poll();  // first: polling lets time pass
//     const ScreenEvent e = Update(state, b, frame.Now());
//     PlayEventSound(game, e);
//     if (e == ScreenEvent::Decided) return ...;
//     if (frame.DrawDue()) { frame.DrawBackground(page); Draw(state, ...); frame.Show(); }
//     if (IsLeaving(e)) return frame.Leave(e);
//   }
#include <cstdint>
#include <string_view>
#include <vector>

#include "flow/game.h"
#include "flow/menu_input.h"
#include "layout/menu_layout.h"

namespace tessaru {

// What one pass of a screen's Update did.
enum class ScreenEvent { None, Moved, Changed, Decided, Back, Quit };

// Esc quits the game and F1 goes back, on every screen; None when neither was pressed.
ScreenEvent LeaveEvent(const MenuButtons& buttons);
inline bool IsLeaving(ScreenEvent e) { return e == ScreenEvent::Back || e == ScreenEvent::Quit; }

// The cursor sound for a move or a change, the decide sound for a decision.
void PlayEventSound(Game& game, ScreenEvent e);

// Drawing is skipped while less than this has passed since the last drawn frame; from
// 125 frames a second on there is no cap.
int32_t FrameIntervalMs(int16_t maxFps);
inline constexpr int16_t kUncappedFps = 125;

// Draws `area` of a menu picture with black transparent: where it lies in the picture,
// or with its top-left at (x, y).
void Cut(GraphLib& g, SurfaceIndex page, const BltArea& area);
void Cut(GraphLib& g, SurfaceIndex page, const BltArea& area, int32_t x, int32_t y);

class ScreenFrame {
 public:
  // keepMenuBgm false: a screen with music of its own (the title) keeps the menu music off.
  // `name` is the screen's name (flow/screen_names.h), announced as it opens.
  ScreenFrame(Game& game, std::string_view name, bool keepMenuBgm = true);

  // Polls input (and, when asked to, runs KeepMenuBgm every 100 ms); the buttons of this pass.
  const MenuButtons& Poll();
  const MenuButtons& Buttons() const { return buttons_; }
  // Milliseconds since the screen started (restarted once the fade-in is over).
  uint32_t Now() const;
  int16_t Blink() const { return static_cast<int16_t>((Now() % 500) / 250); }

  // Whether a frame is drawn on this pass; when not, the pass gives up a millisecond.
  bool DrawDue();
  // The background image when DRAWING <= 2, else a cleared back buffer.
  void DrawBackground(SurfaceIndex background);
  // Flips; the first frame fades in over the previous screen.
  void Show();
  bool FirstFrameShown() const { return shown_; }

  // F1 or Esc was pressed on this pass.
  bool Leaving() const { return buttons_.Escape || buttons_.F1; }
  // Esc sets QuitRequested; both give -1 (the song select gives F1 its own code).
  int16_t LeaveCode(int16_t backCode = -1) const;
  // The same for a screen's Back or Quit event.
  int16_t Leave(ScreenEvent e, int16_t backCode = -1) const;

 private:
  Game& game_;
  uint32_t t0_;
  bool keepMenuBgm_;
  uint32_t lastBgmCall_ = 0;
  uint32_t lastDraw_ = 0;
  bool drawnOnce_ = false;
  bool shown_ = false;
  MenuButtons buttons_;
};

// The pages one screen loads its images into; every page is released when the screen
// ends, whichever way it leaves.
class ScreenPages {
 public:
  explicit ScreenPages(Game& game);
  ~ScreenPages();
  ScreenPages(const ScreenPages&) = delete;
  ScreenPages& operator=(const ScreenPages&) = delete;

  // DataPath + relative into a new page; -1 (and the standard log line) when the image
  // cannot be loaded. With logFailure false the caller writes its own line.
  SurfaceIndex Load(std::string_view relative, bool logFailure = true);
  SurfaceIndex LoadFull(const std::string& fullPath, bool logFailure = true);

 private:
  Game& game_;
  int32_t base_;
};

}  // namespace tessaru
