// The offset the results suggest, checked by playing it: the same presses again with the
// suggested JUDGEOFFSET.
#include <gtest/gtest.h>

#include <vector>

#include "stage/hit_timing.h"
#include "stage/judgement.h"
#include "stage/play/play_stage.h"
#include "stage/play/tests/play_test_rig.h"
#include "stage/tempo_map.h"

namespace tessaru::playtest {
namespace {

constexpr int kChips = 60;  // above the 50 presses a suggestion needs

SongOptions SixtyChips() {
  SongOptions song;
  song.Bars = 9;
  for (int k = 0; k < kChips; ++k) song.Chips.push_back({4 + 2 * k, static_cast<int16_t>(1 + k % 4)});
  return song;
}

// Plays player 1's presses at each chip's time plus shifts[k % size] with the given
// settings; the devices start afresh, so the clock starts where it did the first time.
StageOutcome PlayShifted(PlayRig& rig, const SongOptions& song, const std::vector<double>& shifts,
                         double start, int16_t judgeMode, int16_t judgeOffset) {
  rig.Reopen();
  for (size_t k = 0; k < song.Chips.size(); ++k) {
    const auto& [step, lane] = song.Chips[k];
    rig.Press(start + StepToTime(rig.Song.Song, step) + shifts[k % shifts.size()], lane);
  }
  rig.Settings.JUDGEMODE = judgeMode;
  rig.Settings.JUDGEOFFSET = judgeOffset;
  StageContext c = rig.Context();
  PlayStage(c);
  return c.Outcome;
}

TEST(TimingSuggestion, LatePressesGetTheOffsetThatMakesThemJust) {
  const SongOptions song = SixtyChips();
  PlayRig rig("timing-late", song);
  const double start = LearnStart(rig);

  // The strict windows (9 ms just) make 12 ms late a LATE, so the second run shows the fix.
  const StageOutcome first = PlayShifted(rig, song, {12}, start, 4, 0);
  const auto& p1 = first.Players[0];
  ASSERT_EQ(p1.PressDeltas.size(), static_cast<size_t>(kChips));
  EXPECT_EQ(p1.JudgeCount[JudgeLate], kChips);
  EXPECT_TRUE(first.Players[1].PressDeltas.empty()) << "the computer side keeps no timing";
  const HitTiming timing = SummarizeHitTiming(p1.PressDeltas);
  ASSERT_EQ(timing.Suggested, int16_t{12});

  const StageOutcome second = PlayShifted(rig, song, {12}, start, 4, *timing.Suggested);
  EXPECT_EQ(second.Players[0].JudgeCount[JudgeJust], kChips);
  EXPECT_EQ(SummarizeHitTiming(second.Players[0].PressDeltas).Suggested, timing.Suggested)
      << "the suggestion is the offset itself, not a step from the current one";
}

TEST(TimingSuggestion, PressesSpreadEvenlyAroundTheChipSuggestNoChange) {
  const SongOptions song = SixtyChips();
  PlayRig rig("timing-even", song);
  const double start = LearnStart(rig);

  const StageOutcome run = PlayShifted(rig, song, {-20, 10, 0, -10, 20}, start, 0, 0);
  const HitTiming timing = SummarizeHitTiming(run.Players[0].PressDeltas);
  EXPECT_EQ(timing.Count, kChips);
  EXPECT_EQ(timing.Suggested, int16_t{0});
  EXPECT_NEAR(timing.Spread(), 40, 1.0);
}

}  // namespace
}  // namespace tessaru::playtest
