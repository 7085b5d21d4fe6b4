#include "persist/high_scores.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tessaru {
namespace {
namespace fs = std::filesystem;

SongList ListOf(const std::vector<std::string>& keys) {
  SongList list;
  list.SongKeys = keys;
  list.SongCount = static_cast<int16_t>(keys.size());
  return list;
}

class HighScoresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::string(TESSARU_SCRATCH) + "/hsc_" + info->name();
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(root_ + "/" + name, std::ios::binary) << text;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(root_ + "/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  HighScores Loaded(const SongList& list) const {
    HighScores scores;
    scores.LoadHighScores(list, root_);
    return scores;
  }
  std::string root_;
  const SongList list_ = ListOf({"songs\\a\\a.z4s", "songs\\b\\b.z4s"});
};

RankEntry Entry(int32_t score, const char* name = "AAA") {
  RankEntry entry;
  entry.Name = name;
  entry.Score = score;
  entry.Songs = {1, 2, 3, 4};
  return entry;
}

std::vector<int32_t> Scores(const RankTable& table) {
  std::vector<int32_t> out;
  for (const RankEntry& e : table) out.push_back(e.Score);
  return out;
}

TEST(InsertRank, PlacesBelowEqualScoresAndDropsTheLast) {
  struct Case {
    const char* label;
    int32_t score;
    int position;
    std::vector<int32_t> after;
  };
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

TEST(InsertRank, ShortAndEmptyTables) {
  RankTable three(3);  // fresh tables hold zero scores: a zero total does not place
  EXPECT_EQ(InsertRank(three, Entry(0)), 3);
  EXPECT_EQ(InsertRank(three, Entry(5)), 0);
  EXPECT_EQ(InsertRank(three, Entry(5)), 1);
  EXPECT_EQ(Scores(three), (std::vector<int32_t>{5, 5, 0}));
  RankTable none;
  EXPECT_EQ(InsertRank(none, Entry(9)), 0);
  EXPECT_TRUE(none.empty());
}

TEST(InsertRank, PairsMoveTogether) {
  PairRankTable table;
  for (int32_t s : {30, 20, 10}) {
    RankPair pair{Entry(s, "P1"), Entry(s, "P2")};
    pair.Player1.Chars = {int16_t(s), 0, 0, 0};
    pair.Player2.Chars = {int16_t(s + 1), 0, 0, 0};
    table.push_back(pair);
  }
  RankPair fresh{Entry(25), Entry(25)};
  fresh.Player1.Chars = {7, 0, 0, 0};
  fresh.Player2.Chars = {8, 0, 0, 0};
  EXPECT_EQ(InsertRank(table, fresh), 1);
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[1].Player1.Chars[0], 7);
  EXPECT_EQ(table[1].Player2.Chars[0], 8);
  EXPECT_EQ(table[1].Player1.Name, "QX9");
  EXPECT_EQ(table[1].Player2.Name, "QX9");
  EXPECT_EQ(table[2].Player1.Chars[0], 20);
  EXPECT_EQ(table[2].Player2.Chars[0], 21);
  EXPECT_EQ(InsertRank(table, RankPair{Entry(20), Entry(99)}), 3);  // player 1 holds the total
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
      {{1, 2, 100, 10, true, 0}, 3, 90, 100, 10},      // BEGINNER: group 0 of its own
      {{1, 2, 200, 20, true, 1}, 4, 90, 200, 20},      // EASY shares group 0
      {{1, 2, 300, 95, true, 4}, 5, 95, 300, 95},      // GODLIKE: group 2
      {{1, 2, 400, 5, true, 3}, 6, 95, 400, 95},       // HARD shares group 2
  };
  HighScores scores = Loaded(list_);
  for (size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    scores.RecordStageResult(step.stage);
    const int group = DifficultyGroup(step.stage.Difficulty);
    EXPECT_EQ(scores.HPS(2, 1), step.hps) << i;
    EXPECT_EQ(scores.HPR(2, 1), step.hpr) << i;
    EXPECT_EQ(scores.SongRecords(group, 2, 1).Score, step.score) << i;
    EXPECT_EQ(scores.SongRecords(group, 2, 1).Rate, step.rate) << i;
  }
  EXPECT_EQ(scores.SongRecords(1, 2, 1).Score, 6000);
  // Nothing else moved.
  EXPECT_EQ(scores.HPS(2, 0), 0);
  EXPECT_EQ(scores.HPS(3, 1), 0);
  EXPECT_EQ(scores.SongRecords(3, 2, 1).Score, 0);

  // Parts beyond the records and songs outside the list are ignored, not a crash.
  for (const StageRecord& outside :
       {StageRecord{1, 8, 9, 9, true, 2}, StageRecord{1, -1, 9, 9, true, 2},
        StageRecord{2, 0, 9, 9, true, 2}, StageRecord{-1, 0, 9, 9, true, 2}}) {
    scores.RecordStageResult(outside);
  }
  EXPECT_EQ(scores.HPS(0, 1) + scores.HPS(0, 0), 0);
  EXPECT_EQ(scores.HPR(8, 1), 0);
  EXPECT_EQ(scores.HPS(0, 2), 0);
}

TEST_F(HighScoresTest, RecordsRoundTripThroughBothFiles) {
  HighScores scores = Loaded(list_);
  scores.RecordStageResult({0, 0, 12345, 88, true, 2});
  scores.RecordStageResult({1, 7, 999999, 100, true, 4});
  scores.RecordStageResult({1, 7, 5, 1, true, 0});
  scores.GameFlags[0] = kGameFlagSet;
  scores.GameFlags[20] = -4;
  InsertRank(scores.TourMode, Entry(777));
  scores.TourMode[0].Name = "ZED";
  scores.TourMode[0].Chars = {1, 2, 3, 4};
  scores.TourMode[0].Rates = {50, 60, 70, 80};
  RankPair pair{Entry(4000), Entry(4000)};
  pair.Player1.Chars = {5, 6, 7, 0};
  pair.Player2.Chars = {1, 2, 3, 0};
  pair.Player2.Rates = {9, 8, 7, 0};
  InsertRank(scores.TourModeSession, pair);
  scores.TourModeSession[0].Player1.Name = "DUO";
  scores.TourModeSession[0].Player2.Name = "DUO";
  InsertRank(scores.TourModeBeginner, Entry(3));
  scores.SpecialPlays[6] = 2;
  scores.SpecialPlays[30] = 1;
  InsertRank(scores.SpecialRanks[30], Entry(31));
  ASSERT_TRUE(scores.SaveHighScores(root_));
  ASSERT_TRUE(scores.SaveSpecialRankings(root_));
  ASSERT_TRUE(scores.SaveTourRankings(root_));

  const HighScores back = Loaded(list_);
  for (int s = 0; s < 2; ++s) {
    for (int p = 0; p < kRecordParts; ++p) {
      EXPECT_EQ(back.HPS(p, s), scores.HPS(p, s)) << p << " " << s;
      EXPECT_EQ(back.HPR(p, s), scores.HPR(p, s)) << p << " " << s;
      for (int d = 0; d < kRecordDifficulties; ++d) {
        EXPECT_EQ(back.SongRecords(d, p, s), scores.SongRecords(d, p, s)) << d << p << s;
      }
    }
  }
  EXPECT_EQ(back.SongRecords(2, 7, 1).Score, 999999);
  EXPECT_EQ(back.GameFlags, scores.GameFlags);
  EXPECT_TRUE(back.GameFlagSet(0));
  EXPECT_FALSE(back.GameFlagSet(20));
  EXPECT_EQ(back.TourMode, scores.TourMode);
  EXPECT_EQ(back.TourModeSession, scores.TourModeSession);
  EXPECT_EQ(back.TourModeDouble, scores.TourModeDouble);
  EXPECT_EQ(back.TourModeBeginner, scores.TourModeBeginner);
  EXPECT_EQ(back.TourModeTuto, scores.TourModeTuto);
  EXPECT_EQ(back.SpecialPlays, scores.SpecialPlays);
  EXPECT_EQ(back.SpecialRanks, scores.SpecialRanks);

  const std::string hsc = Read("hsc.ini");
  EXPECT_NE(hsc.find("[songs\\b\\b.z4s]\r\nHPR8=100\r\nHPs8=2\r\nSCORE18=5\r\nPR18=1\r\n"
                     "SCORE38=999999\r\nPR38=100\r\n"),
            std::string::npos)
      << hsc;
  EXPECT_NE(hsc.find("[TOURMODESESSION]\r\nNAME1=DUO\r\nSC1=4000\r\nSONG11=1\r\nSONG12=2\r\n"
                     "SONG13=3\r\nSONG14=4\r\nCHAR111=5\r\nCHAR112=6\r\nCHAR113=7\r\n"
                     "CHAR211=1\r\nPR211=9\r\nCHAR212=2\r\nPR212=8\r\nCHAR213=3\r\nPR213=7\r\n"),
            std::string::npos)
      << hsc;
  EXPECT_NE(Read("hscsp.ini").find("[SPMODE30]\r\nPS=1\r\nNAME1=QX9\r\nSC1=31\r\n"),
            std::string::npos);
  EXPECT_EQ(hsc.find("PASS"), std::string::npos);  // pass counts are never written
}

TEST_F(HighScoresTest, SavesWriteOnlyChangedKeys) {
  Write("hsc.ini",
        "[VERSION]\r\nVER=1000\r\n[songs\\a\\a.z4s]\r\nHPR1=40\r\nHPS1=3\r\n"
        "[TOURMODE]\r\nSC1=500\r\n");
  Write("hscsp.ini", "[SPMODE2]\r\nPS=4\r\n");
  HighScores scores = Loaded(list_);
  ASSERT_EQ(scores.HPR(0, 0), 40);

  // Another writer changes the files meanwhile: unchanged records must not undo that.
  Write("hsc.ini",
        "[VERSION]\r\nVER=1000\r\n[songs\\a\\a.z4s]\r\nHPR1=41\r\nHPS1=9\r\n"
        "[TOURMODE]\r\nSC1=501\r\n");
  Write("hscsp.ini", "[SPMODE2]\r\nPS=5\r\n");
  ASSERT_TRUE(scores.SaveHighScores(root_));
  ASSERT_TRUE(scores.SaveTourRankings(root_));
  ASSERT_TRUE(scores.SaveSpecialRankings(root_));
  EXPECT_EQ(Read("hsc.ini"),
            "[VERSION]\r\nVER=1000\r\n[songs\\a\\a.z4s]\r\nHPR1=41\r\nHPS1=9\r\n"
            "[TOURMODE]\r\nSC1=501\r\n");
  EXPECT_EQ(Read("hscsp.ini"), "[SPMODE2]\r\nPS=5\r\n");

  // Changes write their keys alone (the rate 10 is below the best 40, so HPR1 stays);
  // the next save finds nothing new.
  scores.RecordStageResult({0, 0, 0, 10, true, 2});
  scores.SpecialPlays[2] = 6;
  ASSERT_TRUE(scores.SaveHighScores(root_));
  ASSERT_TRUE(scores.SaveSpecialRankings(root_));
  EXPECT_EQ(Read("hsc.ini"),
            "[VERSION]\r\nVER=1000\r\n[songs\\a\\a.z4s]\r\nHPR1=41\r\nHPS1=4\r\nPR21=10\r\n"
            "[TOURMODE]\r\nSC1=501\r\n");
  EXPECT_EQ(Read("hscsp.ini"), "[SPMODE2]\r\nPS=6\r\n");
  Write("hsc.ini", "[VERSION]\r\nVER=1000\r\n");
  ASSERT_TRUE(scores.SaveHighScores(root_));
  EXPECT_EQ(Read("hsc.ini"), "[VERSION]\r\nVER=1000\r\n");
}

TEST_F(HighScoresTest, ReadingValues) {
  Write("hsc.ini",
        "[VERSION]\r\nVER=1000\r\n"
        "[SONGS\\A\\A.Z4S]\r\nHPR1=123abc\r\nHPR2=E\r\nHPR3=Eleven\r\nhps4=7\r\nSCORE11=-5\r\n"
        "PR11=99999\r\nPASS11=6\r\nSCORE32= 42 \r\n"
        "[GAMEFLAG]\r\nFLAG1=6917\r\nFLAG2=E\r\nFLAG21=12x\r\n"
        "[TOURMODE]\r\nNAME1=ABCDEF\r\nNAME2=\r\nSC1=E\r\nSONG104=4\r\nPASS10=2\r\n");
  const HighScores scores = Loaded(list_);
  EXPECT_EQ(scores.HPR(0, 0), 123);
  EXPECT_EQ(scores.HPR(1, 0), 0);
  EXPECT_EQ(scores.HPR(2, 0), 0);
  EXPECT_EQ(scores.HPS(3, 0), 7);  // key names match without regard to case
  EXPECT_EQ(scores.SongRecords(0, 0, 0).Score, -5);
  EXPECT_EQ(scores.SongRecords(0, 0, 0).Rate, 32767);
  EXPECT_EQ(scores.SongRecords(0, 0, 0).Pass, 6);
  EXPECT_EQ(scores.SongRecords(2, 1, 0).Score, 42);
  EXPECT_TRUE(scores.GameFlagSet(0));
  EXPECT_EQ(scores.GameFlags[1], 0);
  EXPECT_EQ(scores.GameFlags[20], 12);
  EXPECT_EQ(scores.TourMode[0].Name, "ABC");
  EXPECT_EQ(scores.TourMode[0].Score, 0);
  EXPECT_EQ(scores.TourMode[1].Name, "");
  EXPECT_EQ(scores.TourMode[2].Name, "RIF");  // untaken places carry the character codes
  EXPECT_EQ(scores.TourMode[9].Name, "???");
  EXPECT_EQ(scores.TourMode[9].Songs[3], 4);
  EXPECT_EQ(scores.TourMode[9].Pass, 2);
  EXPECT_EQ(scores.TourModeBeginner.size(), 3u);
  EXPECT_EQ(scores.TourModeDouble.size(), 10u);
  EXPECT_EQ(scores.SpecialRanks[0].size(), 3u);
  EXPECT_EQ(scores.SpecialRanks[0][2].Name, "RIF");
}

TEST_F(HighScoresTest, VersionZeroSkipsSongRecordsButNotRankings) {
  for (const std::string version : {"", "VER=0\r\n", "VER=abc\r\n"}) {
    Write("hsc.ini", "[VERSION]\r\n" + version + "[songs\\a\\a.z4s]\r\nHPR1=40\r\n"
                     "[GAMEFLAG]\r\nFLAG1=6917\r\n[TOURMODETUTO]\r\nSC1=77\r\n");
    Write("hscsp.ini", "[SPMODE0]\r\nPS=3\r\n");
    const HighScores scores = Loaded(list_);
    EXPECT_EQ(scores.HPR(0, 0), 0) << version;
    EXPECT_FALSE(scores.GameFlagSet(0)) << version;
    EXPECT_EQ(scores.TourModeTuto[0].Score, 77) << version;
    EXPECT_EQ(scores.SpecialPlays[0], 3) << version;
  }
}

TEST_F(HighScoresTest, LongerSongListReadsNewSongsAsEmpty) {
  Write("hsc.ini", "[VERSION]\r\nVER=1000\r\n[songs\\b\\b.z4s]\r\nHPS2=5\r\n");
  const HighScores scores = Loaded(ListOf({"new\\x.z4s", "songs\\b\\b.z4s", "new\\y.z4s"}));
  EXPECT_EQ(scores.SongCount(), 3);
  EXPECT_EQ(scores.HPS(1, 1), 5);
  EXPECT_EQ(scores.HPS(1, 0), 0);
  EXPECT_EQ(scores.HPS(1, 2), 0);
}

TEST_F(HighScoresTest, DamagedFilesGiveDefaultsAndAreNotLost) {
  // Binary junk reads as an empty file; a folder in place of the file cannot be read.
  Write("hsc.ini", std::string("\0\xff\x01[\x80\r\n=\n", 10));
  Write("hscsp.ini", "[SPMODE4]\r\nPS=2\r\n");
  HighScores junk = Loaded(list_);
  EXPECT_EQ(junk.HPS(0, 0), 0);
  EXPECT_EQ(junk.TourMode[0].Name, "KIT");
  EXPECT_EQ(junk.SpecialPlays[4], 2);

  fs::remove(root_ + "/hsc.ini");
  fs::create_directories(root_ + "/hsc.ini");
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
  EXPECT_EQ(back.HPS(0, 0), 1);
  EXPECT_EQ(back.SongRecords(1, 0, 0).Score, 100);
  EXPECT_EQ(back.TourMode[0].Name, "QX9");
  EXPECT_EQ(back.TourMode[0].Score, 10);
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
