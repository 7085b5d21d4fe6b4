#include "stage/judgement.h"

#include <gtest/gtest.h>

#include <vector>

#include "stage/judge_windows.h"
#include "stage/tests/stage_fixtures.h"

namespace tessaru {
namespace {

std::vector<int32_t> Edges(const JudgeWindows& w) {
  return {w.WinJustEarly, w.WinNearEarly, w.WinFarEarly, w.WinJustLate, w.WinNearLate, w.WinFarLate};
}

TEST(JudgeWindows, FollowTempoModeAndOffset) {
  struct Case { double bpm; int16_t mode, offset, special; std::vector<int32_t> edges; };  // early, then late
  const Case cases[] = {
      {120, 0, 0, 0, {25, 50, 125, 33, 108, 233}},
      {120, 0, 10, 0, {15, 40, 115, 43, 118, 243}},
      {120, 0, -5, 0, {30, 55, 130, 28, 103, 228}},
      {100, 0, 0, 0, {33, 66, 132, 33, 66, 132}},
      {103.99, 0, 0, 0, {33, 66, 132, 33, 66, 132}},
      {104, 0, 0, 0, {25, 50, 144, 33, 128, 272}},  // S = 144.23
      {179.99, 0, 0, 0, {25, 50, 83, 33, 67, 150}},
      {180, 0, 0, 0, {25, 50, 100, 41, 85, 160}},
      {120, 1, 0, 0, {16, 50, 125, 33, 108, 233}},
      {120, 2, 0, 0, {16, 16, 125, 16, 108, 233}},
      {120, 3, 0, 0, {25, 50, 125, 25, 108, 233}},
      {120, 7, 0, 0, {25, 50, 125, 25, 108, 233}},
      {120, 4, 0, 0, {9, 25, 50, 9, 33, 108}},
      {100, 0, 0, 1, {9, 25, 50, 9, 33, 133}},  // the special flag wins over mode 0
      {0, 3, 0, 0, {25, 50, 1500, 25, 1483, 2983}},  // no tempo: taken as 10 BPM
      {150, 3, 0, 0, {25, 50, 100, 25, 83, 183}},    // R(83.33) and R(183.33)
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Edges(SetJudgeWindows(c.bpm, c.mode, c.offset, c.special)), c.edges)
        << "bpm " << c.bpm << " mode " << c.mode << " offset " << c.offset;
  }
  // Half steps round to even: 240 BPM, S = 62.5 -> 62; 80 BPM, S = 187.5 -> 188.
  EXPECT_EQ(SetJudgeWindows(240, 3, 0, 0).WinFarEarly, 62);
  EXPECT_EQ(SetJudgeWindows(80, 3, 0, 0).WinFarEarly, 188);
}

TEST(ClassifyDelta, WindowEdgesInTableOrder) {
  const JudgeWindows mode0 = SetJudgeWindows(120, 0, 0, 0);
  const JudgeWindows mode2 = SetJudgeWindows(120, 2, 0, 0);
  struct Case { const JudgeWindows* w; double d; Judgement category; };
  const std::vector<Case> cases = {
      {&mode0, 0, JudgeJust},      {&mode0, -25, JudgeJust},    {&mode0, 33, JudgeJust},
      {&mode0, 34, JudgeLate},     {&mode0, 108, JudgeLate},    {&mode0, 109, JudgeFar},
      {&mode0, 233, JudgeFar},     {&mode0, 233.5, JudgeNone},        {&mode0, -26, JudgeEarly},
      {&mode0, -50, JudgeEarly},   {&mode0, -51, JudgeFar},     {&mode0, -125, JudgeFar},
      {&mode0, -126, JudgeNone},
      // Mode 2 leaves no early near window: just past 16 ms early is far at once.
      {&mode2, -16, JudgeJust},    {&mode2, -17, JudgeFar},     {&mode2, -125, JudgeFar},
      {&mode2, 17, JudgeLate},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyDelta(c.d, *c.w), c.category) << c.d;
}

TEST(FindPressCandidate, NearestOpenChipOnTheLaneWins) {
  const SongRecord song = testing::MakeSong(120, 4);  // 125 ms per step
  const PartRecord part = testing::MakePart(4, {{8, 1}, {9, 2}, {10, 1}, {12, 1}, {13, 1}});
  std::vector<uint8_t> hit(part.StepWords.size(), 0);
  struct Case { int32_t last; int16_t lane; double now; int32_t step; };
  const std::vector<Case> cases = {
      {10, 1, 1250, 10},      // exactly on step 10
      {10, 1, 1125, 8},       // halfway between 8 and 10: equal |d|, the earlier step stays
      {10, 1, 1126, 10},
      {10, 2, 1250, 9},       // lane filter
      {10, 3, 1250, -1},      // nothing on lane 3
      {14, 1, 1000, 12},      // step 8 is outside last-2..last+2
      {0, 1, 0, -1},          // steps below 0 are never looked at
      {16 * 4 + 1, 1, 0, -1}, // nor steps past the chart
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindPressCandidate(song, part.StepWords, hit, c.last, c.lane, c.now).Step, c.step)
        << c.last << " " << c.lane << " " << c.now;
  }
  hit[10] = 1;  // a struck chip is not struck again
  EXPECT_EQ(FindPressCandidate(song, part.StepWords, hit, 10, 1, 1250).Step, 8);
  EXPECT_DOUBLE_EQ(FindPressCandidate(song, part.StepWords, hit, 10, 1, 1250).Delta, 250.0);
}

}  // namespace
}  // namespace tessaru
