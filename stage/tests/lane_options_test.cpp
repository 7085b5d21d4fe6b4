#include "stage/lane_options.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "stage/tempo_map.h"
#include "stage/tests/stage_fixtures.h"

namespace tessaru {
namespace {

using testing::MakePart;

std::vector<int16_t> Lanes(const PartRecord& part, std::initializer_list<int32_t> steps) {
  std::vector<int16_t> out;
  for (int32_t s : steps) out.push_back(part.StepWords[static_cast<size_t>(s)]);
  return out;
}

TEST(LaneOptions, FixedRewrites) {
  struct Case { int16_t option; std::vector<int16_t> lanes; };
  const std::vector<Case> cases = {
      {LaneNone, {1, 2, 3, 4, 0}},     {LaneMirror, {4, 3, 2, 1, 0}},
      {LaneTwoColors, {2, 2, 3, 3, 0}}, {LaneScratch, {2, 2, 2, 2, 0}},
      {LaneHiSpeed, {1, 2, 3, 4, 0}},  // not a chart rewrite of its own
  };
  Random random(1);
  for (const auto& c : cases) {
    PartRecord part = MakePart(1, {{0, 1}, {1, 2}, {2, 3}, {3, 4}});
    ApplyLaneOption(part, c.option, random);
    EXPECT_EQ(Lanes(part, {0, 1, 2, 3, 4}), c.lanes) << c.option;
  }
}

// Reads the lane mapping a chart with lanes 1..4 in each bar received, bar by bar.
std::vector<std::map<int16_t, int16_t>> MappingPerBar(const PartRecord& part, int bars) {
  std::vector<std::map<int16_t, int16_t>> maps(static_cast<size_t>(bars));
  for (int bar = 0; bar < bars; ++bar) {
    for (int16_t lane = 1; lane <= 4; ++lane) {
      maps[static_cast<size_t>(bar)][lane] = part.StepWords[static_cast<size_t>(bar * 16 + lane - 1)];
    }
  }
  return maps;
}

PartRecord EveryLaneEveryBar(int16_t bars) {
  std::map<int32_t, int16_t> chips;
  for (int bar = 0; bar < bars; ++bar) {
    for (int16_t lane = 1; lane <= 4; ++lane) chips[bar * 16 + lane - 1] = lane;
  }
  return MakePart(bars, chips);
}

bool IsPermutation(const std::map<int16_t, int16_t>& m) {
  std::set<int16_t> targets;
  for (auto [from, to] : m) {
    if (to < 1 || to > 4) return false;
    targets.insert(to);
  }
  return targets.size() == 4;
}

TEST(LaneOptions, RandomKeepsOnePermutationScrambleOnePerBar) {
  std::set<std::map<int16_t, int16_t>> randomSeen;
  bool scrambleVaried = false;
  for (uint64_t seed = 1; seed <= 20; ++seed) {
    Random random(seed);
    PartRecord part = EveryLaneEveryBar(8);
    ApplyLaneOption(part, LaneRandom, random);
    const auto maps = MappingPerBar(part, 8);
    for (const auto& m : maps) EXPECT_EQ(m, maps[0]) << seed;
    EXPECT_TRUE(IsPermutation(maps[0]));
    randomSeen.insert(maps[0]);

    PartRecord scrambled = EveryLaneEveryBar(8);
    ApplyLaneOption(scrambled, LaneScramble, random);
    const auto bars = MappingPerBar(scrambled, 8);
    for (const auto& m : bars) {
      EXPECT_TRUE(IsPermutation(m));
      scrambleVaried |= (m != bars[0]);
    }
    EXPECT_EQ(scrambled.StepWords[4], 0);  // empty steps stay empty
  }
  EXPECT_GT(randomSeen.size(), 3u);
  EXPECT_TRUE(scrambleVaried);
}

TEST(LaneOptions, PanicDrawsEachChipAndSkipsEmptySteps) {
  Random random(5);
  PartRecord part = MakePart(4, testing::RegularChips(0, 63, 2));
  ApplyLaneOption(part, LanePanic, random);
  std::set<int16_t> seen;
  for (size_t s = 0; s < part.StepWords.size(); ++s) {
    if (s % 2 == 1) {
      EXPECT_EQ(part.StepWords[s], 0);
    } else {
      seen.insert(part.StepWords[s]);
    }
  }
  EXPECT_EQ(seen, (std::set<int16_t>{1, 2, 3, 4}));
}

TEST(LaneOptions, SeededDrawsRepeat) {
  for (int16_t option : {LaneRandom, LaneScramble, LanePanic}) {
    Random a(77), b(77);
    PartRecord x = EveryLaneEveryBar(8), y = x;
    ApplyLaneOption(x, option, a);
    ApplyLaneOption(y, option, b);
    EXPECT_EQ(x.StepWords, y.StepWords) << option;
  }
}

TEST(HiSpeed, DoublesStepsAndKeepsMilliseconds) {
  SongRecord song = testing::MakeTempoMap({{0, 140.0}, {1920, 120.0}, {3840, 175.0}}, 6);
  song.IntroBars = 1;
  std::vector<PartRecord> parts{MakePart(6, {{3, 2}, {17, 4}, {40, 1}, {95, 3}})};
  parts[0].ChipTicks[17 * 4] = 240;
  parts[0].ChipWordsB[40 * 4] = -300;
  const SongRecord before = song;
  const PartRecord original = parts[0];
  ApplyHiSpeed(song, parts);
  EXPECT_EQ(song.Bars, 12);
  EXPECT_EQ(song.IntroBars, 2);
  EXPECT_DOUBLE_EQ(song.Bpm, 280.0);
  EXPECT_EQ(song.TempoTicks, (std::vector<int32_t>{0, 3840, 7680}));
  EXPECT_EQ(parts[0].Bars, 12);
  ASSERT_EQ(parts[0].StepWords.size(), original.StepWords.size() * 2);
  ASSERT_EQ(parts[0].ChipSounds.size(), original.ChipSounds.size() * 2);
  for (int32_t s : {3, 17, 40, 95}) {
    EXPECT_EQ(parts[0].StepWords[static_cast<size_t>(2 * s)], original.StepWords[static_cast<size_t>(s)]);
    EXPECT_EQ(parts[0].StepWords[static_cast<size_t>(2 * s + 1)], 0);
    EXPECT_EQ(parts[0].ChipSounds[static_cast<size_t>(8 * s)], 0);
    EXPECT_NEAR(StepToTime(song, 2 * s), StepToTime(before, s), 1e-9) << s;
  }
  EXPECT_EQ(parts[0].ChipSounds[8 * 3 + 4], -1);
  EXPECT_EQ(parts[0].ChipTicks[8 * 17], 480);  // the sound lasts as long as before
  EXPECT_EQ(parts[0].ChipWordsB[8 * 40], -300);
  for (int ms = 0; ms < 12000; ms += 7) {
    EXPECT_EQ(TimeToStep(song, ms) / 2, TimeToStep(before, ms)) << ms;
  }
  SongRecord longSong = testing::MakeSong(120, 30000);  // long songs do not wrap
  std::vector<PartRecord> none;
  ApplyHiSpeed(longSong, none);
  EXPECT_EQ(longSong.Bars, 32767);
}

}  // namespace
}  // namespace tessaru
