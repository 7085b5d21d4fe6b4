#include "stage/tempo_map.h"

#include <gtest/gtest.h>

#include <cmath>

#include "stage/tests/stage_fixtures.h"

namespace tessaru {
namespace {

using testing::MakeSong;
using testing::MakeTempoMap;

TEST(TempoMap, PositionsAtSegmentEdges) {
  SongRecord one = MakeSong(120, 16);
  one.TempoBpms = {90};  // a lone map entry is not consulted
  const SongRecord fast = MakeSong(140, 16);  // a step is 107.142... ms, kept fractional
  // One bar at 140 BPM lasts 1714.29 ms, truncated to 1714; then 120 BPM.
  const SongRecord two = MakeTempoMap({{0, 140.0}, {1920, 120.0}});
  // 13 steps at 130 BPM last exactly 1500 ms (not 1499); 10 at 175 BPM 857.14 -> 857.
  const SongRecord three = MakeTempoMap({{0, 130.0}, {1560, 175.0}, {2760, 60.0}});
  struct Case { const char* name; const SongRecord* song; double ms; int32_t step; int32_t tick; double bpm; };
  const Case cases[] = {  // step or tick -1, bpm 0: not checked
      {"one", &one, 0, 0, 0, 120},        {"one", &one, 124, 0, 119, 0},     {"one", &one, 125, 1, 120, 0},
      {"one", &one, 1999, 15, 1919, 0},   {"one", &one, 2000, 16, 1920, 0},  {"one", &one, 5000, 40, -1, 120},
      {"fast", &fast, 749.99, 6, -1, 0},  {"fast", &fast, 750, 7, -1, 0},
      {"two", &two, 1714, 15, -1, 140},   {"two", &two, 1714.5, 16, -1, 120}, {"two", &two, 1715, 16, -1, 120},
      {"two", &two, 1838.9, 16, -1, 120}, {"two", &two, 1839, 17, 2040, 120},
      {"three", &three, 2357, 22, -1, 0}, {"three", &three, 2358, 23, -1, 0}, {"three", &three, 100000, -1, -1, 60},
  };
  for (const Case& c : cases) {
    if (c.step >= 0) { EXPECT_EQ(TimeToStep(*c.song, c.ms), c.step) << c.name << " " << c.ms; }
    if (c.tick >= 0) { EXPECT_EQ(TimeToTick(*c.song, c.ms), c.tick) << c.name << " " << c.ms; }
    if (c.bpm > 0) { EXPECT_DOUBLE_EQ(BpmAt(*c.song, c.ms), c.bpm) << c.name << " " << c.ms; }
  }
  struct Back { const char* name; const SongRecord* song; int32_t step; int32_t tick; double ms; };
  const Back back[] = {
      {"one", &one, 16, -1, 2000.0},        {"one", &one, -1, 60, 62.5},
      {"fast", &fast, 7, -1, 750.0},        {"two", &two, 15, -1, 15 * 15000.0 / 140},
      {"two", &two, 16, -1, 1714.0},        {"two", &two, 18, -1, 1714.0 + 250.0},
      {"two", &two, -1, 1920 + 240, 1714.0 + 250.0},
      {"three", &three, 13, -1, 1500.0},    {"three", &three, 23, -1, 2357.0},
      {"three", &three, 24, -1, 2357.0 + 250.0},
  };
  for (const Back& b : back) {
    const double ms = b.tick >= 0 ? TickToTime(*b.song, b.tick) : StepToTime(*b.song, b.step);
    EXPECT_NEAR(ms, b.ms, 1e-9) << b.name << " step " << b.step << " tick " << b.tick;
  }
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
  EXPECT_EQ(TimeToStep(MakeSong(0.0, 4), 1500), 1);  // 10 BPM: 1500 ms per step
}

}  // namespace
}  // namespace tessaru
