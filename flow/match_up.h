#pragma once
// The match-up: the two chosen characters face each other, then play starts.
#include <cstdint>

#include "flow/game.h"
#include "flow/screen_frame.h"

namespace tessaru {

inline constexpr uint32_t kMatchUpMs = 4000;

// Where an element sliding in over `durationMs` from `startMs` stands at `t`: 0 before,
// 1 once it has arrived.
double SlideProgress(uint32_t t, uint32_t startMs, uint32_t durationMs);

struct MatchUpScreen {
  PerPlayer<int16_t> Parts{0, 1};
  bool Partners = false;  // the pair styles: side by side, not face to face
  bool Animate = true;    // DRAWING 0 slides the pictures in
};

struct MatchUpPictures {
  PerPlayer<SurfaceIndex> Portrait{-1, -1};
  SurfaceIndex Tags = -1;
  SurfaceIndex Instruments = -1;
  SurfaceIndex Banner = -1;
};

// One pass at `t` ms since the first frame: Decided after four seconds or on any of the
// first five buttons.
ScreenEvent Update(MatchUpScreen& s, const MenuButtons& buttons, uint32_t t);
void Draw(const MatchUpScreen& s, const MatchUpPictures& pics, GraphLib& g, uint32_t t);

// 1 to go on to play (after four seconds, or at once on a button), -1 for back (F1) or
// Esc (QuitRequested set). A survival run skips the screen.
int16_t ShowMatchUp(Game& game, int16_t reserved);

}  // namespace tessaru
