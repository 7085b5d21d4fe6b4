#pragma once
// Replays on the play screen: the files the sides play back, loaded and checked before the
// stage starts, and the saves the players ask for during the result display.
#include <array>

#include "stage/play/stage_context.h"
#include "stage/stage.h"

namespace tessaru {

// Loads the replay of every side set to play one back. A file that cannot be read or that
// does not fit the side's part is left out with its reason in the error log, and that side
// plays normally.
void LoadStageReplays(StageContext& context);

// After the stage: keeps each player's capture in the outcome and writes the replays of
// the players in `requested` into the replay folder. A failed write goes into the error
// log.
void SaveStageReplays(StageContext& context, const Stage& stage, const std::array<bool, 2>& requested);

}  // namespace tessaru
