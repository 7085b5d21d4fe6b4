#include "persist/high_scores.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/testing/scratch_folder.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

SongList ListOf(const std::vector<std::string>& keys) {
  SongList list;
  list.SongKeys = keys;
  list.SongCount = static_cast<int16_t>(keys.size());
  return list;
}

class HighScoresTest : public testing_support::ScratchFolder {
 protected:
  HighScores Loaded(const SongList& list) const {
    HighScores scores;
    scores.LoadHighScores(list, root_);
    return scores;
  }
  const SongList list_ = ListOf({"songs\\a\\a.z4s", "songs\\b\\b.z4s"});
};

RankEntry Entry(int32_t score, const char* name = "AAA") {
  return RankEntry{name, score, {1, 2, 3, 4}, {}, {}, 0};
}

std::vector<int32_t> Scores(const RankTable& table) {
  std::vector<int32_t> out;
  for (const RankEntry& e : table) out.push_back(e.Score);
  return out;
}

TEST(InsertRank, PlacesBelowEqualScoresAndDropsTheLast) {
  struct Case { const char* label; int32_t score; int position; std::vector<int32_t> after; };
  const std::vector<Case> cases = {
      {"above all", 200, 0, {200, 100, 90, 80, 70, 60, 50, 40, 30, 20}},
      {"middle", 55, 5, {100, 90, 80, 70, 60, 55, 50, 40, 30, 20}},
      {"tie stays below the older entry", 50, 6, {100, 90, 80, 70, 60, 50, 50, 40, 30, 20}},
      {"bottom", 11, 9, {100, 90, 80, 70, 60, 50, 40, 30, 20, 11}},
      {"equal to the last does not place", 10, 10, {100, 90, 80, 70, 60, 50, 40, 30, 20, 10}},
      {"below the last", 0, 10, {100, 90, 80, 70, 60, 50, 40, 30, 20, 10}},
  };
  for (const Case& c : cases) {
    RankTable table;
    for (int32_t s = 100; s >= 10; s -= 10) table.push_back(Entry(s, "OLD"));
    EXPECT_EQ(InsertRank(table, Entry(c.score)), c.position) << c.label;
    EXPECT_EQ(Scores(table), c.after) << c.label;
    for (int i = 0; i < static_cast<int>(table.size()); ++i) {
      EXPECT_EQ(table[static_cast<size_t>(i)].Name, i == c.position ? "QX9" : "OLD") << c.label;
    }
  }
}

TEST(InsertRank, ShortEmptyAndPairedTables) {
  RankTable three(3);  // fresh tables hold zero scores: a zero total does not place
  EXPECT_EQ(InsertRank(three, Entry(0)), 3);
  EXPECT_EQ(InsertRank(three, Entry(5)), 0);
  EXPECT_EQ(InsertRank(three, Entry(5)), 1);
  EXPECT_EQ(Scores(three), (std::vector<int32_t>{5, 5, 0}));
  RankTable none;
  EXPECT_EQ(InsertRank(none, Entry(9)), 0);
  EXPECT_TRUE(none.empty());

  // The players of a pair move together; player 1 holds the total.
  const auto pair = [](int32_t score, int16_t char1, int16_t char2) {
    RankPair p{Entry(score, "OLD"), Entry(score, "OLD")};
    p.Player1.Chars[0] = char1;
    p.Player2.Chars[0] = char2;
    return p;
  };
  PairRankTable table{pair(30, 30, 31), pair(20, 20, 21), pair(10, 10, 11)};
  EXPECT_EQ(InsertRank(table, pair(25, 7, 8)), 1);
  RankPair placed = pair(25, 7, 8);
  placed.Player1.Name = placed.Player2.Name = "QX9";
  EXPECT_EQ(table, (PairRankTable{pair(30, 30, 31), placed, pair(20, 20, 21)}));
  EXPECT_EQ(InsertRank(table, RankPair{Entry(20), Entry(99)}), 3);
}

// HPS, HPR and the score records of one part of one song, group by group.
auto PartRecords(const HighScores& scores, int part, int song) {
  std::vector<ScoreRecord> records;
  for (int d = 0; d < kRecordDifficulties; ++d) records.push_back(scores.SongRecords(d, part, song));
  return std::make_tuple(scores.HPS(part, song), scores.HPR(part, song), records);
}

TEST_F(HighScoresTest, StageResultRule) {
  struct Step {
    StageRecord stage;
    int32_t hps, hpr, score, rate;  // of song 1, part 2, in the stage's group afterwards
  };
  // Song 1, part 2 throughout; group 1 is NORMAL.
  const std::vector<Step> steps = {
      {{1, 2, 5000, 80, true, 2}, 1, 80, 5000, 80},
      {{1, 2, 3000, 90, false, 2}, 1, 90, 5000, 90},  // a lost stage counts no pass
      {{1, 2, 6000, 70, true, 2}, 2, 90, 6000, 90},   // best points and rate kept apart
      {{1, 2, 100, 10, true, 0}, 3, 90, 100, 10},     // BEGINNER: group 0 of its own
      {{1, 2, 200, 20, true, 1}, 4, 90, 200, 20},     // EASY shares group 0
      {{1, 2, 300, 95, true, 4}, 5, 95, 300, 95},     // GODLIKE: group 2
      {{1, 2, 400, 5, true, 3}, 6, 95, 400, 95},      // HARD shares group 2
  };
  HighScores scores = Loaded(list_);
  const HighScores empty = scores;
  for (size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    scores.RecordStageResult(step.stage);
    const ScoreRecord record = scores.SongRecords(DifficultyGroup(step.stage.Difficulty), 2, 1);
    EXPECT_EQ(std::make_tuple(scores.HPS(2, 1), scores.HPR(2, 1), record.Score, record.Rate),
              std::make_tuple(step.hps, step.hpr, step.score, step.rate)) << i;
  }
  EXPECT_EQ(scores.SongRecords(1, 2, 1).Score, 6000);
  // Parts beyond the records and songs outside the list are ignored, not a crash.
  for (const StageRecord& outside : {StageRecord{1, 8, 9, 9, true, 2}, StageRecord{1, -1, 9, 9, true, 2},
                                     StageRecord{2, 0, 9, 9, true, 2}, StageRecord{-1, 0, 9, 9, true, 2}}) {
    scores.RecordStageResult(outside);
  }
  EXPECT_EQ(std::make_tuple(scores.HPR(8, 1), scores.HPS(0, 2)), std::make_tuple(0, 0));
  // Nothing but song 1, part 2 moved.
  for (int s = 0; s < 2; ++s) {
    for (int p = 0; p < kRecordParts; ++p) {
      if (s != 1 || p != 2) { EXPECT_EQ(PartRecords(scores, p, s), PartRecords(empty, p, s)) << p << " " << s; }
    }
  }
}

TEST_F(HighScoresTest, RecordsRoundTripThroughBothFiles) {
  HighScores scores = Loaded(list_);
  for (const StageRecord& stage : {StageRecord{0, 0, 12345, 88, true, 2}, StageRecord{1, 7, 999999, 100, true, 4},
                                   StageRecord{1, 7, 5, 1, true, 0}}) {
    scores.RecordStageResult(stage);
  }
  scores.GameFlags[0] = kGameFlagSet;
  scores.GameFlags[20] = -4;
  InsertRank(scores.TourMode, RankEntry{"", 777, {1, 2, 3, 4}, {1, 2, 3, 4}, {50, 60, 70, 80}, 0});
  scores.TourMode[0].Name = "ZED";
  InsertRank(scores.TourModeSession, RankPair{RankEntry{"", 4000, {1, 2, 3, 4}, {5, 6, 7, 0}, {}, 0},
                                              RankEntry{"", 4000, {1, 2, 3, 4}, {1, 2, 3, 0}, {9, 8, 7, 0}, 0}});
  scores.TourModeSession[0].Player1.Name = scores.TourModeSession[0].Player2.Name = "DUO";
  InsertRank(scores.TourModeBeginner, Entry(3));
  scores.SpecialPlays[6] = 2;
  scores.SpecialPlays[30] = 1;
  InsertRank(scores.SpecialRanks[30], Entry(31));
  ASSERT_TRUE(scores.SaveHighScores(root_));
  ASSERT_TRUE(scores.SaveSpecialRankings(root_));
  ASSERT_TRUE(scores.SaveTourRankings(root_));

  const HighScores back = Loaded(list_);
  for (int s = 0; s < 2; ++s) {
    for (int p = 0; p < kRecordParts; ++p) EXPECT_EQ(PartRecords(back, p, s), PartRecords(scores, p, s)) << p << s;
  }
  EXPECT_EQ(back.SongRecords(2, 7, 1).Score, 999999);
  EXPECT_EQ(back.GameFlags, scores.GameFlags);
  EXPECT_TRUE(back.GameFlagSet(0));
  EXPECT_FALSE(back.GameFlagSet(20));
  EXPECT_EQ(std::tie(back.TourMode, back.TourModeBeginner, back.TourModeTuto),
            std::tie(scores.TourMode, scores.TourModeBeginner, scores.TourModeTuto));
  EXPECT_EQ(std::tie(back.TourModeSession, back.TourModeDouble), std::tie(scores.TourModeSession, scores.TourModeDouble));
  EXPECT_EQ(std::tie(back.SpecialPlays, back.SpecialRanks), std::tie(scores.SpecialPlays, scores.SpecialRanks));

  const std::string hsc = Read("hsc.ini");
  for (const char* part : {"[songs\\b\\b.z4s]\r\nHPR8=100\r\nHPs8=2\r\nSCORE18=5\r\nPR18=1\r\nSCORE38=999999\r\nPR38=100\r\n",
                           "[TOURMODESESSION]\r\nNAME1=DUO\r\nSC1=4000\r\nSONG11=1\r\nSONG12=2\r\nSONG13=3\r\nSONG14=4\r\n"
                           "CHAR111=5\r\nCHAR112=6\r\nCHAR113=7\r\nCHAR211=1\r\nPR211=9\r\nCHAR212=2\r\nPR212=8\r\n"
                           "CHAR213=3\r\nPR213=7\r\n"}) {
    EXPECT_NE(hsc.find(part), std::string::npos) << hsc;
  }
  EXPECT_NE(Read("hscsp.ini").find("[SPMODE30]\r\nPS=1\r\nNAME1=QX9\r\nSC1=31\r\n"), std::string::npos);
  EXPECT_EQ(hsc.find("PASS"), std::string::npos);  // pass counts are never written
}

TEST_F(HighScoresTest, SavesWriteOnlyChangedKeys) {
  Write("hsc.ini", "[VERSION]\r\nVER=1000\r\n[songs\\a\\a.z4s]\r\nHPR1=40\r\nHPS1=3\r\n[TOURMODE]\r\nSC1=500\r\n");
  Write("hscsp.ini", "[SPMODE2]\r\nPS=4\r\n");
  HighScores scores = Loaded(list_);
  ASSERT_EQ(scores.HPR(0, 0), 40);

  // Another writer changes the files meanwhile: unchanged records must not undo that.
  Write("hsc.ini", "[VERSION]\r\nVER=1000\r\n[songs\\a\\a.z4s]\r\nHPR1=41\r\nHPS1=9\r\n[TOURMODE]\r\nSC1=501\r\n");
  Write("hscsp.ini", "[SPMODE2]\r\nPS=5\r\n");
  ASSERT_TRUE(scores.SaveHighScores(root_));
  ASSERT_TRUE(scores.SaveTourRankings(root_));
  ASSERT_TRUE(scores.SaveSpecialRankings(root_));
  EXPECT_EQ(Read("hsc.ini"), "[VERSION]\r\nVER=1000\r\n[songs\\a\\a.z4s]\r\nHPR1=41\r\nHPS1=9\r\n"
            "[TOURMODE]\r\nSC1=501\r\n");
  EXPECT_EQ(Read("hscsp.ini"), "[SPMODE2]\r\nPS=5\r\n");

  // Changes write their keys alone (the rate 10 is below the best 40, so HPR1 stays);
  // the next save finds nothing new.
  scores.RecordStageResult({0, 0, 0, 10, true, 2});
  scores.SpecialPlays[2] = 6;
  ASSERT_TRUE(scores.SaveHighScores(root_));
  ASSERT_TRUE(scores.SaveSpecialRankings(root_));
  EXPECT_EQ(Read("hsc.ini"), "[VERSION]\r\nVER=1000\r\n[songs\\a\\a.z4s]\r\nHPR1=41\r\nHPS1=4\r\nPR21=10\r\n"
            "[TOURMODE]\r\nSC1=501\r\n");
  EXPECT_EQ(Read("hscsp.ini"), "[SPMODE2]\r\nPS=6\r\n");
  Write("hsc.ini", "[VERSION]\r\nVER=1000\r\n");
  ASSERT_TRUE(scores.SaveHighScores(root_));
  EXPECT_EQ(Read("hsc.ini"), "[VERSION]\r\nVER=1000\r\n");
}

TEST_F(HighScoresTest, ReadingValues) {
  Write("hsc.ini", "[VERSION]\r\nVER=1000\r\n"
        "[SONGS\\A\\A.Z4S]\r\nHPR1=123abc\r\nHPR2=E\r\nHPR3=Eleven\r\nhps4=7\r\nSCORE11=-5\r\n"
        "PR11=99999\r\nPASS11=6\r\nSCORE32= 42 \r\n[GAMEFLAG]\r\nFLAG1=6917\r\nFLAG2=E\r\nFLAG21=12x\r\n"
        "[TOURMODE]\r\nNAME1=ABCDEF\r\nNAME2=\r\nSC1=E\r\nSONG104=4\r\nPASS10=2\r\n");
  const HighScores scores = Loaded(list_);
  // Key names match without regard to case; a rate beyond 16 bits is held at the top.
  EXPECT_EQ(std::make_tuple(scores.HPR(0, 0), scores.HPR(1, 0), scores.HPR(2, 0), scores.HPS(3, 0)),
            std::make_tuple(123, 0, 0, 7));
  EXPECT_EQ(scores.SongRecords(0, 0, 0), (ScoreRecord{-5, 32767, 6}));
  EXPECT_EQ(scores.SongRecords(2, 1, 0).Score, 42);
  EXPECT_EQ(std::make_tuple(scores.GameFlagSet(0), scores.GameFlags[1], scores.GameFlags[20]),
            std::make_tuple(true, 0, 12));
  const RankTable& tour = scores.TourMode;
  EXPECT_EQ(std::tie(tour[0].Name, tour[0].Score, tour[1].Name), std::make_tuple("ABC", 0, ""));
  // Untaken places carry the character codes.
  EXPECT_EQ(std::tie(tour[2].Name, tour[9].Name, scores.SpecialRanks[0][2].Name), std::make_tuple("RIF", "???", "RIF"));
  EXPECT_EQ(std::tie(tour[9].Songs[3], tour[9].Pass), std::make_tuple(4, 2));
  EXPECT_EQ(std::make_tuple(scores.TourModeBeginner.size(), scores.TourModeDouble.size(), scores.SpecialRanks[0].size()),
            std::make_tuple(3u, 10u, 3u));
}

TEST_F(HighScoresTest, VersionZeroSkipsSongRecordsButNotRankings) {
  for (const std::string version : {"", "VER=0\r\n", "VER=abc\r\n"}) {
    Write("hsc.ini", "[VERSION]\r\n" + version +
                         "[songs\\a\\a.z4s]\r\nHPR1=40\r\n[GAMEFLAG]\r\nFLAG1=6917\r\n[TOURMODETUTO]\r\nSC1=77\r\n");
    Write("hscsp.ini", "[SPMODE0]\r\nPS=3\r\n");
    const HighScores scores = Loaded(list_);
    EXPECT_EQ(std::make_tuple(scores.HPR(0, 0), scores.GameFlagSet(0), scores.TourModeTuto[0].Score,
                              scores.SpecialPlays[0]),
              std::make_tuple(0, false, 77, 3)) << version;
  }
  // A longer song list reads its new songs as empty.
  Write("hsc.ini", "[VERSION]\r\nVER=1000\r\n[songs\\b\\b.z4s]\r\nHPS2=5\r\n");
  const HighScores scores = Loaded(ListOf({"new\\x.z4s", "songs\\b\\b.z4s", "new\\y.z4s"}));
  EXPECT_EQ(scores.SongCount(), 3);
  EXPECT_EQ(std::make_tuple(scores.HPS(1, 0), scores.HPS(1, 1), scores.HPS(1, 2)), std::make_tuple(0, 5, 0));
}

TEST_F(HighScoresTest, DamagedFilesGiveDefaultsAndAreNotLost) {
  // Binary junk reads as an empty file; a folder in place of the file cannot be read.
  Write("hsc.ini", std::string("\0\xff\x01[\x80\r\n=\n", 10));
  Write("hscsp.ini", "[SPMODE4]\r\nPS=2\r\n");
  const HighScores junk = Loaded(list_);
  EXPECT_EQ(std::make_tuple(junk.HPS(0, 0), junk.TourMode[0].Name, junk.SpecialPlays[4]), std::make_tuple(0, "KIT", 2));

  Block("hsc.ini");
  HighScores scores = Loaded(list_);
  EXPECT_EQ(scores.SpecialPlays[4], 2);
  scores.RecordStageResult({0, 0, 100, 50, true, 2});
  InsertRank(scores.TourMode, Entry(10));
  scores.SpecialPlays[4] = 3;
  EXPECT_FALSE(scores.SaveHighScores(root_));
  EXPECT_FALSE(scores.SaveTourRankings(root_));
  EXPECT_TRUE(scores.SaveSpecialRankings(root_));  // the other file is unaffected
  EXPECT_TRUE(fs::is_directory(root_ + "/hsc.ini"));
  EXPECT_EQ(Read("hscsp.ini"), "[SPMODE4]\r\nPS=3\r\n");

  // A failed save keeps its changes pending, so the next one writes them.
  fs::remove(root_ + "/hsc.ini");
  ASSERT_TRUE(scores.SaveHighScores(root_));
  ASSERT_TRUE(scores.SaveTourRankings(root_));
  const HighScores back = Loaded(list_);
  EXPECT_EQ(std::make_tuple(back.HPS(0, 0), back.SongRecords(1, 0, 0).Score, back.TourMode[0].Name, back.TourMode[0].Score),
            std::make_tuple(1, 100, "QX9", 10));
}

TEST_F(HighScoresTest, SongSectionsUseTheFilesCodePage) {
  const SongList list = ListOf({"曲\\表.z4s"});
  HighScores scores = Loaded(list);
  scores.RecordStageResult({0, 0, 1, 1, true, 2});
  ASSERT_TRUE(scores.SaveHighScores(root_));
  // "曲" and "表" in CP932; the second byte of "表" is a backslash.
  EXPECT_NE(Read("hsc.ini").find("[\x8b\xc8\\\x95\\.z4s]"), std::string::npos);
  EXPECT_EQ(Loaded(list).HPS(0, 0), 1);
}

}  // namespace
}  // namespace tessaru
