#pragma once
// The title's tours: each builds its TourPlan and runs the shared stage chain. All return
// -2 when a song could not be loaded (the line is in the log), -1 when the player quit
// the game, else 0 (back to the title).
#include <cstdint>

#include "flow/game.h"

namespace tessaru {

// MenuSub: the human side.
int16_t RunSingleTour(Game& game);
int16_t RunBeginnerMode(Game& game);
int16_t RunTutorial(Game& game);
// MenuSub 0 DOUBLE, 1 SESSION.
int16_t RunPairTour(Game& game);
// SELECT MODE, then the chosen special mode on side MenuSub.
int16_t RunSpecialTour(Game& game);
int16_t RunEndless(Game& game);

// Whether "tuto1p.zxp" lies beside the first song (the tutorial and beginner mode need it).
bool TutorialFilesPresent(const Game& game);

// Applies "beginner.zxt" of the loaded song's folder: both sides' parts, the lesson part
// in place of the human side's, the bar count, and the lesson's chip count. False (and a
// log line) when the file is missing or short.
bool ApplyBeginnerTable(Game& game);

}  // namespace tessaru
