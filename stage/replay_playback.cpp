#include "stage/replay_playback.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/numbers.h"
#include "stage/judgement.h"
#include "stage/tempo_map.h"

namespace tessaru {

size_t PlayableEvents(const ReplayRecord& r) {
  return std::min({static_cast<size_t>(std::max(0, r.EventCount)), r.EvTick.size(), r.EvLane.size(),
                   r.EvStep.size(), r.EvJudge.size()});
}

int32_t ReplayEventTime(const SongRecord& song, int32_t tick) {
  const double exact = std::ceil(TickToTime(song, tick));
  if (!(exact < std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  auto ms = static_cast<int32_t>(std::max(0.0, exact));
  // The rounding of the tempo map may put the first such millisecond one either side.
  while (ms > 0 && TimeToTick(song, ms - 1) >= tick) --ms;
  while (ms < std::numeric_limits<int32_t>::max() && TimeToTick(song, ms) < tick) ++ms;
  return ms;
}

Judgement ForcedCategory(int16_t code) {
  switch (code) {
    case kReplayJust: return JudgeJust;
    case kReplayLate: return JudgeLate;
    case kReplayEarly: return JudgeEarly;
    case kReplayFar: return JudgeFar;
    default: return JudgeNone;
  }
}

int16_t ReplayCodeOf(Judgement category) {
  switch (category) {
    case JudgeJust: return kReplayJust;
    case JudgeEarly: return kReplayEarly;
    case JudgeLate: return kReplayLate;
    case JudgeFar: return kReplayFar;
    default: return kReplayBlank;
  }
}

bool ReplayFitsChart(const ReplayRecord& replay, int16_t part, const PartRecord& chart, std::string& reason) {
  if (replay.Part != part) {
    reason = "recorded on part " + NumberText(int64_t{replay.Part}) + ", not part " + NumberText(int64_t{part});
    return false;
  }
  const size_t count = PlayableEvents(replay);
  if (count < static_cast<size_t>(std::max(0, replay.EventCount))) {
    reason = "fewer presses than its count";
    return false;
  }
  if (replay.Version != 2) return true;  // older versions find their chips as live presses do
  for (size_t i = 0; i < count; ++i) {
    if (ForcedCategory(replay.EvJudge[i]) == JudgeNone) continue;
    if (replay.EvStep[i] < 0 || static_cast<size_t>(replay.EvStep[i]) >= chart.StepWords.size()) {
      reason = "press " + NumberText(static_cast<int64_t>(i) + 1) + " judged step " + NumberText(int64_t{replay.EvStep[i]}) +
               ", outside the chart of " + NumberText(static_cast<int64_t>(chart.StepWords.size())) + " steps";
      return false;
    }
  }
  return true;
}

ReplayRecord PerfectReplay(const SongRecord& song, const PartRecord& chart, int16_t part, int32_t startStep,
                           int32_t endStep) {
  ReplayRecord replay;
  replay.Part = part;
  int64_t last = std::min<int64_t>(static_cast<int64_t>(chart.StepWords.size()), int64_t{song.Bars} * kStepsPerBar);
  if (endStep > 0) last = std::min<int64_t>(last, endStep);
  last = std::min<int64_t>(last, int64_t{std::numeric_limits<int16_t>::max()} + 1);
  for (int64_t s = std::max(0, startStep); s < last; ++s) {
    const int16_t lane = chart.StepWords[static_cast<size_t>(s)];
    if (lane < 1 || lane > 4) continue;
    replay.Append(static_cast<int32_t>(s * kTicksPerStep), lane, static_cast<int16_t>(s), kReplayJust);
  }
  return replay;
}

bool ReplaySaveAllowed(const StageSetup& setup, int p) {
  if (p < 0 || p > 1) return false;
  return setup.ComSkill[p] == -1 && !setup.ReplayPlayback[p] && !setup.Autoplay[p] && setup.LaneOpt[p] == 0 &&
         setup.RapidMode == 0 && setup.MenuChoice != TitleCode::TutorialStages &&
         setup.MenuChoice != TitleCode::Beginner;
}

}  // namespace tessaru
