#pragma once
// The screens that close a run and the record screens the title reaches: the ending,
// name entry, the tour and special-mode tables, the per-song bests and the player rank.
// Each leaves when done (the ending and name entry by themselves, the records screens on
// decide) or on F1; Esc sets QuitRequested and returns at once.
#include <cstdint>
#include <string>

#include "flow/game.h"

namespace tessaru {

// kind: the part kind of the player's part (0 and up), or -1 for the generic ending.
// Returns once its text has risen past (flow/results/ending.h has the pacing), or on
// decide after the first two seconds.
void ShowEnding(Game& game, int16_t kind);

// Lets side (0 = 1P, 1 = 2P) enter a name for ranking place `position` (0-based).
// Returns the name as three characters (blank padded) once the third letter or END is
// chosen; F1 returns what was entered so far. "" after Esc, or F1 with nothing entered:
// the place then keeps the name it has.
std::string EnterName(Game& game, int16_t side, int16_t position);

// tour: 0 single, 1 SESSION, 2 tutorial, 3 beginner.
void ShowTourRecords(Game& game, int16_t tour);
// mode: 0 the favourites view, 6 the DOUBLE tour, else that special mode's table.
// Special mode 0 (COLOR) has its own table too, which 0 cannot name: kColorModeRecords
// opens it. Left and Right page through the favourites and every mode's table.
inline constexpr int16_t kColorModeRecords = -1;
void ShowSpecialRecords(Game& game, int16_t mode);
// The ShowSpecialRecords view a run of special mode `specialMode` ends on: its own table.
inline int16_t SpecialRunRecordsView(int16_t specialMode) {
  return specialMode == 0 ? kColorModeRecords : specialMode;
}
void ShowSongRecords(Game& game);
void ShowPlayerRank(Game& game);

}  // namespace tessaru
