#pragma once
// The part select: each human side picks the part (instrument and character) it plays;
// computer sides take theirs at random from the same level group.
#include <array>
#include <cstdint>

#include "core/random.h"
#include "flow/game.h"

namespace tessaru {

// The song's parts a side can choose: 0..7.
inline constexpr int kSelectableParts = 8;

// A computer side's part once the humans have settled: a random part of the level group
// (0 = parts 0..3, 1 = parts 4..7) of the confirmed part, never the other side's part.
int16_t ComputerPart(int16_t confirmedPart, int16_t otherSidePart, Random& rng);

// Returns 1 when every side has its part (PlayerPart set), -1 for back (F1) or Esc
// (QuitRequested set).
int16_t SelectParts(Game& game);

}  // namespace tessaru
