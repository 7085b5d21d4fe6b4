#pragma once
// The rules that tie a replay to the stage engine: when a recorded press is played back,
// which judgement its code forces, and whether a replay fits the chart it is to drive.
#include <cstddef>
#include <cstdint>
#include <string>

#include "content/song_record.h"
#include "persist/replay_file.h"
#include "stage/judgement.h"
#include "stage/stage_setup.h"

namespace tessaru {

// How many events can be played: the count, as far as every array holds it.
size_t PlayableEvents(const ReplayRecord& replay);

// The song time (whole ms) at which a press recorded at `tick` is played back: the first
// millisecond whose tick reaches it. The press was made on that tick, so exactly the steps
// it saw processed are processed again before it, and none after.
int32_t ReplayEventTime(const SongRecord& song, int32_t tick);

// The category a judgement code forces (just, late, early, far for 1..4); JudgeNone otherwise.
Judgement ForcedCategory(int16_t code);
// The code recorded for a category (JudgeJust..JudgeFar; any other is a blank press).
int16_t ReplayCodeOf(Judgement category);

// Whether `replay` can drive player part `part` on `chart`: recorded on that part, every
// judged step on the chart. Otherwise false with the reason.
bool ReplayFitsChart(const ReplayRecord& replay, int16_t part, const PartRecord& chart, std::string& reason);

// The presses of a perfect player on `chart` (player part `part`): one per chip, at the
// chip's own tick, forced just on that chip. Only the steps played count: from startStep,
// before endStep (when > 0), within the song's bars. A replay names its chip by a 16-bit
// step, so chips beyond step 32767 (over 2047 bars) are left out.
ReplayRecord PerfectReplay(const SongRecord& song, const PartRecord& chart, int16_t part, int32_t startStep,
                           int32_t endStep);

// Whether player p may ask for its replay to be saved: a human who played by hand, on the
// chart as written (no lane option), outside the special runs, the tutorial and the
// beginner mode.
bool ReplaySaveAllowed(const StageSetup& setup, int p);

}  // namespace tessaru
