#pragma once
// One stage of a flow: the game state handed to the play screen, its results taken back,
// and the records brought up to date.
#include <array>
#include <cstdint>

#include "flow/game.h"
#include "stage/play/stage_context.h"

namespace tessaru {

struct FlowStageResult {
  int16_t Code = 0;  // PlayStage's result
  StageOutcome Outcome;
  bool Recorded = false;  // the records took the stage
};

// Plays the loaded song with the game state as the flows set it. continueAllowed: a lost
// stage leads into the continue prompt (the tours); free mode has none.
FlowStageResult PlayFlowStage(Game& game, bool continueAllowed);

// Whether a finished stage counts as passed for the records: it ran to its end (not cut
// off by F1) and the play screen does not count it as lost.
bool StagePassed(const FlowState& state, const StageOutcome& outcome);

// Per human side that played by hand, the stage into the per-song records.
void RecordStage(Game& game, const StageOutcome& outcome);

}  // namespace tessaru
