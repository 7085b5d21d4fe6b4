#pragma once
// One stage of a flow: the flow state's StageSetup handed to the play screen, the
// outcome kept, and the records brought up to date.
#include <cstdint>
#include <vector>

#include "content/extension_parts.h"
#include "content/song_record.h"
#include "flow/game.h"
#include "stage/play/stage_context.h"

namespace tessaru {

struct FlowStageResult {
  int16_t Code = 0;  // PlayStage's result
  bool Recorded = false;  // the records took the stage
};

// A stage context for `song` with `parts` and game.State.Setup, as the flows hand it over.
StageContext FlowStageContext(Game& game, const SongRecord& song, const std::vector<PartRecord>& parts);

// Plays `song` with `parts` (the loaded song, or a copy extended by the extension parts)
// as game.State.Setup says, each hand-played side autoplayed when game.Autoplay says so;
// the outcome is left in game.LastStage. continueAllowed: a lost stage leads into the
// continue prompt (the tours); free mode has none.
FlowStageResult PlayFlowStage(Game& game, const SongRecord& song, const std::vector<PartRecord>& parts,
                              bool continueAllowed);
inline FlowStageResult PlayFlowStage(Game& game, const SongWithParts& song, bool continueAllowed) {
  return PlayFlowStage(game, song.Song, song.Parts, continueAllowed);
}

// Whether a finished stage counts as passed for the records: it ran to its end (not cut
// off by F1) and the play screen does not count it as lost.
bool StagePassed(const StageSetup& setup, const StageOutcome& outcome);

// Per human side that played by hand (not autoplayed), the stage into the per-song records.
void RecordStage(Game& game, const StageOutcome& outcome);

// What a run takes into its next stage: the style-3 gauge and endless combo (RunLife)
// and the tour totals. Free mode starts every stage afresh and does not call it.
void CarryRunTotals(StageSetup& setup, const StageOutcome& outcome);

}  // namespace tessaru
