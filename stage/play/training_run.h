#pragma once
// Practice of a stretch of bars on the play screen: the section is played with the
// stage's own clock, scheduling and judgement, from its first bar, and again and again
// when it repeats. The gauge never moves.
#include <cstdint>

#include "content/song_record.h"
#include "stage/play/stage_context.h"

namespace tessaru {

inline constexpr int16_t kSlowestTrainingSpeed = -9;
inline constexpr int16_t kFastestTrainingSpeed = 10;
// AUTOPLAY strikes as a computer player that is always just.
inline constexpr int16_t kAutoplaySkill = 100;

// The tempo factor of a SPEED value, (100 + 5 x speed) / 100: -9 gives 0.55, 10 gives 1.5.
double TrainingTempoFactor(int16_t speed);
// The song with its tempo and its whole tempo map scaled for `speed`.
SongRecord SongAtSpeed(const SongRecord& song, int16_t speed);

struct TrainingSection {
  int32_t StartBar = 0;  // first bar played
  int32_t EndBar = 2;    // play stops once this bar is reached
  bool Repeat = false;
};

struct TrainingOutcome {
  // -1 Esc or the window closed (QuitRequested set in the context's outcome), or a stage
  // that could not be set up; 0 back to the menu.
  int16_t Code = 0;
  int32_t Passes = 0;  // times the section was started
};

// Plays the section of the context's song (already at its training speed, without a
// track when the background track is off). The context's outcome holds the last pass.
// Tab or F1 stops a pass; F1, or the end of a pass without REPEAT, goes back to the
// menu; with REPEAT the section begins again, also after Tab.
TrainingOutcome PlayTrainingSection(StageContext& context, const TrainingSection& section);

}  // namespace tessaru
