#pragma once
// The match-up: the two chosen characters face each other, then play starts.
#include <cstdint>

#include "flow/game.h"

namespace tessaru {

inline constexpr uint32_t kMatchUpMs = 4000;

// Where an element sliding in over `durationMs` from `startMs` stands at `t`: 0 before,
// 1 once it has arrived.
double SlideProgress(uint32_t t, uint32_t startMs, uint32_t durationMs);

// 1 to go on to play (after four seconds, or at once on a button), -1 for back (F1) or
// Esc (QuitRequested set). A survival run skips the screen.
int16_t ShowMatchUp(Game& game, int16_t reserved);

}  // namespace tessaru
