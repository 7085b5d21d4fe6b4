#pragma once
// Small rules the mode flows share.
#include <cstdint>

namespace tessaru {

// The computer player's skill 0..100 for a stage of a tour (0: not a tour stage) at a
// DIFFICULTY.
int16_t ComSkillForStage(int16_t difficulty, int stage);

inline int16_t OtherSeat(int16_t seat) { return static_cast<int16_t>((seat + 1) % 2); }

}  // namespace tessaru
