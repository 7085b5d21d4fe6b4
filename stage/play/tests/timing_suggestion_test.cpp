// The offset the results suggest, checked by playing it: the same presses again with the
// suggested JUDGEOFFSET.
#include <gtest/gtest.h>

#include <vector>

#include "stage/hit_timing.h"
#include "stage/judgement.h"
#include "stage/play/play_stage.h"
#include "stage/play/tests/play_test_rig.h"

namespace tessaru::playtest {
namespace {

constexpr int kChips = 60;  // above the 50 presses a suggestion needs

SongOptions SixtyChips() {
  SongOptions song;
  song.Bars = 9;
  for (int k = 0; k < kChips; ++k) song.Chips.push_back({4 + 2 * k, static_cast<int16_t>(1 + k % 4)});
  return song;
}

// Plays player 1's presses shifted from the chips with the given settings; the devices
// start afresh, so the clock starts where it did the first time.
StageOutcome PlayShifted(PlayRig& rig, const SongOptions& song, const std::vector<double>& shifts, double start,
                         int16_t judgeMode, int16_t judgeOffset) {
  rig.Reopen();
  PressChips(rig, song, start, shifts);
  rig.Settings.JUDGEMODE = judgeMode;
  rig.Settings.JUDGEOFFSET = judgeOffset;
  StageContext c = rig.Context();
  PlayStage(c);
  return c.Outcome;
}

TEST(TimingSuggestion, PlayedAgainWithTheSuggestedOffsetThePressesAreJust) {
  struct Case { const char* name; std::vector<double> shifts; int16_t judgeMode; Judgement first; int16_t suggested;
                double spread; };
  const Case cases[] = {
      // The strict windows (9 ms just) make 12 ms late a LATE, so the second run shows the fix.
      {"12 ms late", {12}, 4, JudgeLate, 12, 0},
      {"spread evenly around the chip", {-20, 10, 0, -10, 20}, 0, JudgeJust, 0, 40},
  };
  const SongOptions song = SixtyChips();
  PlayRig rig("timing", song);
  const double start = LearnStart(rig);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StageOutcome first = PlayShifted(rig, song, c.shifts, start, c.judgeMode, 0);
    ASSERT_EQ(first.Players[0].PressDeltas.size(), static_cast<size_t>(kChips));
    EXPECT_EQ(first.Players[0].JudgeCount[c.first], kChips);
    EXPECT_TRUE(first.Players[1].PressDeltas.empty()) << "the computer side keeps no timing";
    const HitTiming timing = SummarizeHitTiming(first.Players[0].PressDeltas);
    ASSERT_EQ(timing.Suggested, c.suggested);
    EXPECT_NEAR(timing.Spread(), c.spread, 1.0);

    const StageOutcome second = PlayShifted(rig, song, c.shifts, start, c.judgeMode, *timing.Suggested);
    EXPECT_EQ(second.Players[0].JudgeCount[JudgeJust], kChips);
    EXPECT_EQ(SummarizeHitTiming(second.Players[0].PressDeltas).Suggested, timing.Suggested)
        << "the suggestion is the offset itself, not a step from the current one";
  }
}

}  // namespace
}  // namespace tessaru::playtest
