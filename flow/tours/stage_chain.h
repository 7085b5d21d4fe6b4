#pragma once
// The chain of stages every tour shares: song select, load, part select, match-up, play,
// continue or game over, then the ending, name entry and the records screen. A TourPlan
// says what differs between the tours.
#include <cstdint>
#include <functional>
#include <vector>

#include "flow/game.h"
#include "flow/tours/tour_rules.h"

namespace tessaru {

enum class RunRanking { Single, Beginner, Tutorial, Double, Session, Special };

struct TourPlan {
  int StageCount = kTourStages;  // the most stages a run has
  RunRanking Ranking = RunRanking::Single;
  int16_t SpecialMode = -1;  // the special table the run ranks in
  bool Survival = false;     // no continue: a lost stage ends the run
  bool Pair = false;         // two humans: both recorded, ranked by their sum
  bool GenericEnding = false;
  bool SingleTourFlags = false;  // the game flags of the single tour
  bool PlainStages = false;      // dances and background off while playing
  // The stage's songs; an empty list (a song list too short for the mode) ends the run.
  std::function<std::vector<int16_t>(Game&, const RunTable&, int stage)> Songs;
  // Computer skills for the stage.
  std::function<void(Game&, int stage)> SetSkills;
  // Changes the loaded song for the mode (forced tempo, lesson parts). True when it also
  // settled both sides' parts, so the part select is skipped.
  std::function<bool(Game&, int stage)> AfterLoad;
  // Whether the run goes on after a stage played to its end; none: up to StageCount.
  std::function<bool(const Game&, const RunTable&, int stage)> GoesOn;
};

// Returns -2 when a song could not be loaded, -1 when the player quit the game, else 0.
int16_t RunStageChain(Game& game, const TourPlan& plan);

// The options, styles and flags a run starts from, before a mode forces its own.
void ResetRunState(StageSetup& setup);

// Saves the per-song records, the tour tables and the special tables; a failed write
// leaves a line in the log.
void SaveRunRecords(Game& game);

}  // namespace tessaru
