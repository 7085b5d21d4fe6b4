#include "persist/player_rank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "content/packed.h"
#include "core/testing/scratch_folder.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

// Records for a ten-song list with the given best percentages {part, song, rate}.
struct Best { int Part, Song, Rate; };
HighScores RecordsWith(const std::vector<Best>& bests) {
  SongList list;
  for (int s = 0; s < 10; ++s) list.SongKeys.push_back("songs\\s" + std::to_string(s) + "\\s.z4s");
  list.SongCount = 10;
  HighScores records;
  records.LoadHighScores(list, std::string(TESSARU_SCRATCH) + "/no_such_folder");
  for (const Best& b : bests) records.RecordStageResult({b.Song, b.Part, 0, b.Rate, true, 2});
  return records;
}

// Thresholds 100, 200, ..., 2900.
RankThresholds Steps() {
  RankThresholds t{};
  for (int i = 0; i < kRankCount; ++i) t[static_cast<size_t>(i)] = 100 * (i + 1);
  return t;
}

// Spreads `sum` over parts 0..3 of songs 0..8 (each counted once), 100 at most each.
std::vector<Best> PlainSumOf(int sum) {
  std::vector<Best> b;
  for (int s = 0; s < 9 && sum > 0; ++s)
    for (int p = 0; p < 4 && sum > 0; ++p) {
      b.push_back({p, s, std::min(sum, 100)});
      sum -= std::min(sum, 100);
    }
  return b;
}

TEST(PlayerRank, TotalPointsCountsParts4To7DoubleAndOnlySongs0To8) {
  struct Case {
    const char* what;
    std::vector<Best> bests;
    int32_t points;
  } cases[] = {
      {"part 5 of song 0 counts double", {{5, 0, 10}}, 20},
      {"part 3 counts once", {{3, 0, 10}}, 10},
      {"part 4 is the first doubled", {{4, 8, 7}}, 14},
      {"song 9 does not count", {{0, 9, 50}, {7, 9, 50}}, 0},
      {"a mix", {{0, 0, 100}, {7, 8, 100}, {2, 4, 33}}, 333},
  };
  for (const Case& c : cases) EXPECT_EQ(TotalPoints(RecordsWith(c.bests)), c.points) << c.what;
}

TEST(PlayerRank, IndexFollowsThresholdsWithTheHighRanksGatedAndTheCap) {
  RankThresholds zero{};
  struct Case {
    const char* what;
    std::vector<Best> bests;
    RankThresholds thresholds;
    int16_t index;
  } cases[] = {
      {"nothing played, first threshold above 0", {}, Steps(), 0},
      {"just below the first threshold", PlainSumOf(99), Steps(), 0},
      {"exactly the first threshold", PlainSumOf(100), Steps(), 1},
      {"plain sum 199 with points far beyond stops at 20", {{4, 0, 100}, {5, 0, 99}, {6, 1, 0}}, zero, 20},
      {"plain sum 199 doubled to 398 with low thresholds", {{4, 0, 100}, {5, 0, 99}}, Steps(), 3},
      {"plain sum 200 opens the high ranks", {{4, 0, 100}, {5, 0, 100}}, zero, 28},
      {"thresholds all 0 (no rank.zxt) and nothing played reach the cap only with 200", {}, zero, 20},
      {"everything at 100 never goes above 28", [] {
         std::vector<Best> all;
         for (int s = 0; s < 9; ++s)
           for (int p = 0; p < 8; ++p) all.push_back({p, s, 100});
         return all;
       }(), Steps(), 28},
      {"2000 points and 2000 plain reach index 20", PlainSumOf(2000), Steps(), 20},
      {"2100 points, plain 2100", PlainSumOf(2100), Steps(), 21},
  };
  for (const Case& c : cases) EXPECT_EQ(PlayerRankIndex(RecordsWith(c.bests), c.thresholds), c.index) << c.what;
}

TEST(PlayerRank, AverageRateIsOverThePlayedRecordsOfTheRankedSongs) {
  EXPECT_DOUBLE_EQ(AverageRate(RecordsWith({})), 0.0);
  EXPECT_DOUBLE_EQ(AverageRate(RecordsWith({{0, 0, 90}, {7, 8, 85}, {1, 9, 10}})), 87.5);
}

using RankFile = testing_support::ScratchFolder;

TEST_F(RankFile, ThresholdsFromRankZxt) {
  const auto write = [&](const std::vector<TextValue>& values) {
    const std::vector<uint8_t> bytes = PackText(values);
    Write("rank.zxt", std::string(bytes.begin(), bytes.end()));
  };
  std::vector<TextValue> full;
  for (int i = 0; i < kRankCount; ++i) full.emplace_back(int32_t{1000 + i});
  write(full);
  EXPECT_EQ(LoadRankThresholds(root_)[28], 1028);
  // A short file keeps what it has; the missing and unreadable values are 0.
  write({int32_t{5}, int32_t{6}, std::string("junk"), int32_t{8}});
  const RankThresholds cut = LoadRankThresholds(root_);
  EXPECT_EQ(std::vector<int32_t>(cut.begin(), cut.begin() + 5), (std::vector<int32_t>{5, 6, 0, 0, 0}));
  fs::remove(root_ + "/rank.zxt");
  ErrorLog log;
  EXPECT_EQ(LoadRankThresholds(root_, &log), RankThresholds{});
  EXPECT_NE(log.Text().find("rank.zxt" + std::string(kLoadFailedSuffix)), std::string::npos);
}

}  // namespace
}  // namespace tessaru
