#include "stage/tempo_map.h"

#include <gtest/gtest.h>

#include <cmath>

#include "stage/tests/stage_fixtures.h"

namespace tessaru {
namespace {

using testing::MakeSong;
using testing::MakeTempoMap;

TEST(TempoMap, OneTempoUsesTheSongBpm) {
  SongRecord song = MakeSong(120, 16);
  song.TempoBpms = {90};  // a lone map entry is not consulted
  struct Case { double ms; int32_t step; int32_t tick; };
  for (const Case& c : {Case{0, 0, 0}, Case{124, 0, 119}, Case{125, 1, 120}, Case{1999, 15, 1919},
                        Case{2000, 16, 1920}}) {
    EXPECT_EQ(TimeToStep(song, c.ms), c.step) << c.ms;
    EXPECT_EQ(TimeToTick(song, c.ms), c.tick) << c.ms;
  }
  EXPECT_DOUBLE_EQ(StepToTime(song, 16), 2000.0);
  EXPECT_DOUBLE_EQ(TickToTime(song, 60), 62.5);
  EXPECT_DOUBLE_EQ(BpmAt(song, 5000), 120.0);
  // 140 BPM: a step is 107.142... ms, kept fractional.
  const SongRecord fast = MakeSong(140, 16);
  EXPECT_NEAR(StepToTime(fast, 7), 750.0, 1e-9);
  EXPECT_EQ(TimeToStep(fast, 749.99), 6);
  EXPECT_EQ(TimeToStep(fast, 750), 7);
}

TEST(TempoMap, SegmentsAreTruncatedToWholeMilliseconds) {
  // One bar at 140 BPM lasts 1714.29 ms, truncated to 1714; then 120 BPM.
  const SongRecord song = MakeTempoMap({{0, 140.0}, {1920, 120.0}});
  struct Case { double ms; int32_t step; double bpm; };
  for (const Case& c : {Case{1714, 15, 140.0}, Case{1714.5, 16, 120.0}, Case{1715, 16, 120.0},
                        Case{1839, 17, 120.0}, Case{1838.9, 16, 120.0}}) {
    EXPECT_EQ(TimeToStep(song, c.ms), c.step) << c.ms;
    EXPECT_DOUBLE_EQ(BpmAt(song, c.ms), c.bpm) << c.ms;
  }
  EXPECT_DOUBLE_EQ(StepToTime(song, 16), 1714.0);
  EXPECT_DOUBLE_EQ(StepToTime(song, 18), 1714.0 + 250.0);
  EXPECT_NEAR(StepToTime(song, 15), 15 * 15000.0 / 140, 1e-9);
  EXPECT_EQ(TimeToTick(song, 1714 + 125), 1920 + 120);
  EXPECT_DOUBLE_EQ(TickToTime(song, 1920 + 240), 1714.0 + 250.0);
}

TEST(TempoMap, ThreeSegmentsAccumulateTruncatedLengths) {
  // 13 steps at 130 BPM last exactly 1500 ms (no rounding down to 1499); 10 steps at
  // 175 BPM last 857.14 -> 857.
  const SongRecord song = MakeTempoMap({{0, 130.0}, {1560, 175.0}, {2760, 60.0}});
  EXPECT_DOUBLE_EQ(StepToTime(song, 13), 1500.0);
  EXPECT_DOUBLE_EQ(StepToTime(song, 23), 2357.0);
  EXPECT_DOUBLE_EQ(StepToTime(song, 24), 2357.0 + 250.0);
  EXPECT_EQ(TimeToStep(song, 2357), 22);
  EXPECT_EQ(TimeToStep(song, 2358), 23);
  EXPECT_DOUBLE_EQ(BpmAt(song, 100000), 60.0);
}

TEST(TempoMap, PositionsNeverRunBackwardsAndRoundTrip) {
  const SongRecord song = MakeTempoMap({{0, 97.3}, {1000, 181.0}, {5000, 133.0}, {9000, 75.5}});
  int32_t lastStep = 0;
  int32_t lastTick = 0;
  for (int ms = 0; ms < 20000; ++ms) {
    const int32_t step = TimeToStep(song, ms);
    const int32_t tick = TimeToTick(song, ms);
    ASSERT_GE(step, lastStep) << ms;
    ASSERT_GE(tick, lastTick) << ms;
    lastStep = step;
    lastTick = tick;
  }
  for (int32_t s = 0; s < 150; ++s) {
    EXPECT_LE(TimeToStep(song, StepToTime(song, s)), s) << s;
    EXPECT_GE(TimeToStep(song, StepToTime(song, s) + 1.0), s) << s;
  }
}

TEST(TempoMap, BadMapsStayFinite) {
  // A zero tempo, a tempo map out of order and a count larger than the tables.
  SongRecord song = MakeTempoMap({{0, 0.0}, {480, 120.0}, {240, 150.0}});
  EXPECT_GE(TimeToStep(song, 100000), 0);
  EXPECT_TRUE(std::isfinite(StepToTime(song, 1000)));
  song.TempoCount = 9;
  EXPECT_EQ(TimeToStep(song, 125), 0);  // falls back to Bpm 0 -> the slowest tempo
  SongRecord zero = MakeSong(0.0, 4);
  EXPECT_EQ(TimeToStep(zero, 1500), 1);  // 10 BPM: 1500 ms per step
}

}  // namespace
}  // namespace tessaru
