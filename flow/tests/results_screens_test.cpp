// The results and records screens on the headless devices, called directly with
// scripted keys; each keeps a picture of itself under the scratch folder's "screens".
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "flow/results/ending.h"
#include "flow/results/results_screens.h"
#include "flow/tests/screen_rig.h"

namespace tessaru::flowtest {
namespace {

// 2P's lanes: M , . / are left, down, up, right.
constexpr uint8_t k2PLeft = 0x4D;
constexpr uint8_t k2PUp = 0xBE;
constexpr uint8_t k2PRight = 0xBF;

// Records worth showing: passes on most parts of the first songs and filled tables.
void FillRecords(Game& g) {
  HighScores& r = g.Records;
  for (int s = 0; s < std::min(9, r.SongCount()); ++s)
    for (int p = 0; p < 8; ++p)
      if ((s + p) % 3 != 0) r.RecordStageResult({s, p, 90000 + 1000 * s + 10 * p, 60 + (s * 7 + p * 5) % 40, true, 2});
  const char* names[] = {"ACE", "BOB", "CAT", "DOT", "EVE"};
  for (int i = 0; i < 5; ++i) {
    RankEntry e;
    e.Score = 400000 - 30000 * i;
    e.Songs = {int16_t(1 + i % 3), int16_t(4 + i % 3), 7, int16_t(i < 2 ? 9 : 0)};
    e.Chars = {int16_t(i), int16_t(i + 1), int16_t(i + 2), 4};
    e.Rates = {95, 88, int16_t(77 + i), 91};
    r.TourMode[static_cast<size_t>(InsertRank(r.TourMode, e))].Name = names[i];
    RankPair pair{e, e};
    pair.Player2.Chars = {5, 6, 7, 0};
    r.TourModeSession[static_cast<size_t>(InsertRank(r.TourModeSession, pair))].Player1.Name = names[i];
    pair.Player2.Chars = {3, 2, 1, 0};
    r.TourModeDouble[static_cast<size_t>(InsertRank(r.TourModeDouble, pair))].Player1.Name = names[4 - i];
    if (i < 3) r.TourModeBeginner[static_cast<size_t>(InsertRank(r.TourModeBeginner, e))].Name = names[i];
    if (i < 3) r.SpecialRanks[2][static_cast<size_t>(InsertRank(r.SpecialRanks[2], e))].Name = names[i];
  }
  // A name of odd bytes and length, as a hand-edited file may hold.
  r.TourMode[4].Name = "\xE3\x81\x82Z";
}

TEST(ResultsScreens, NameEntryByScriptedKeys) {
  struct Case {
    const char* what;
    int16_t side;
    std::vector<std::pair<double, uint8_t>> keys;  // {ms from the start, key}
    double holdLastMs;                             // how long the last but one key is held
    std::string name;
    bool quit;
  } cases[] = {
      // From "1": Left, Left is the delete cell, deleting nothing; Right x3 wraps through
      // END to "2"; Up lands on "#" (the short last row); a Left held 530 ms moves to ","
      // and repeats twice (at 400 and 490 ms) to "?"; the third letter ends the entry.
      {"1P with delete, wrap, row move and a held repeat", 0,
       {{800, kKeyLeft}, {900, kKeyLeft}, {1000, kKeyEnter}, {1100, kKeyRight}, {1200, kKeyRight},
        {1300, kKeyRight}, {1400, kKeyEnter}, {1500, kKeyUp}, {1600, kKeyEnter}, {1700, kKeyLeft},
        {2400, kKeyEnter}},
       530, "2#?", false},
      // 2P with its own lanes and decide: "A" then END (Left x2 to "9", Up to END).
      {"2P ends early with END", 1,
       {{800, k2PRight}, {900, k2PRight}, {1000, k2PRight}, {1100, k2PRight}, {1200, k2PRight},
        {1300, k2PRight}, {1400, k2PRight}, {1500, k2PRight}, {1600, k2PRight}, {1700, k2PRight},
        {1800, kKeyDelete}, {1900, k2PLeft}, {2000, k2PLeft}, {2100, k2PUp}, {2200, kKeyDelete}},
       40, "A  ", false},
      {"1P's keys do not move 2P's cursor", 1,
       {{800, kKeyRight}, {900, kKeyDelete}, {1000, kKeyEnter}, {1100, kKeyF1}}, 40, "1  ", false},
      {"Esc leaves with no name and quits", 0,
       {{800, kKeyRight}, {900, kKeyEnter}, {1000, kKeyEnter}, {1400, kKeyEscape}}, 40, "", true},
  };
  int n = 0;
  for (const Case& c : cases) {
    ScreenRig rig = StartScreenRig(MakeProgramFolder("name_entry"));
    for (size_t k = 0; k < c.keys.size(); ++k) {
      rig.Press(c.keys[k].first, c.keys[k].second, k + 2 == c.keys.size() ? c.holdLastMs : 40);
    }
    EXPECT_EQ(EnterName(rig.G(), c.side, 0), c.name) << c.what;
    EXPECT_EQ(rig.G().State.QuitRequested, c.quit) << c.what;
    // Only the release of the last key may be left: no key came after the entry ended.
    EXPECT_LE(rig.Control->PendingKeyCount(), 1u) << c.what;
    EXPECT_TRUE(LooksDrawn(*rig.Control)) << c.what;
    if (n++ == 3) rig.SavePicture("name-entry");
  }
}

TEST(ResultsScreens, EndingUsesTheKindsFilesOrTheGenericOnes) {
  struct Case {
    const char* without;  // a data file left out
    int16_t kind;
    std::string logged;   // what the error log names then
  } cases[] = {
      {"", -1, ""},
      {"image/tryto.zxg", -1, "\\image\\tryto.bmp"},
      {"sound/tryto.zxw", -1, "\\sound\\tryto.wav"},
      {"image/ed3.zxg", 3, "\\image\\ed3.bmp"},
      {"sound/voice3-2.zxw", 3, "\\sound\\voice3-2.wav"},
      {"sound/ending.zxw", 3, "\\sound\\ending.wav"},
      {"ed.zxt", 0, "\\ed.zxt"},
  };
  for (const Case& c : cases) {
    ScreenRig rig = StartScreenRig(MakeProgramFolder("ending", c.without));
    // Decide before the skip is allowed does nothing; after it, it ends the ending.
    rig.Press(1000, kKeyEnter);
    rig.Press(4000, kKeyEnter);
    const uint32_t start = rig.G().Clock().GetTickCount();
    ShowEnding(rig.G(), c.kind);
    const uint32_t took = rig.G().Clock().GetTickCount() - start;
    EXPECT_GT(took, 3500u) << c.without;
    EXPECT_LT(took, 5000u) << c.without;
    const std::string& log = rig.G().Errors.Text();
    if (c.logged.empty()) {
      EXPECT_TRUE(log.empty()) << log;
      rig.SavePicture("ending-generic");
    } else {
      EXPECT_NE(log.find(c.logged + std::string(kLoadFailedSuffix)), std::string::npos) << c.without << ": " << log;
    }
    EXPECT_FALSE(rig.G().State.QuitRequested);
  }
}

TEST(ResultsScreens, EndingReturnsByItselfAndEscQuits) {
  ScreenRig rig = StartScreenRig(MakeProgramFolder("ending_alone"));
  const uint32_t start = rig.G().Clock().GetTickCount();
  ShowEnding(rig.G(), 0);
  const uint32_t took = rig.G().Clock().GetTickCount() - start;
  // The generated text has seven lines; the fade-in comes on top.
  EXPECT_GE(took, EndingDurationMs(7));
  EXPECT_LT(took, EndingDurationMs(7) + 2000);
  // Esc a while in, with the window full of text: that picture goes to the docs.
  rig.Press(7000, kKeyEscape);
  ShowEnding(rig.G(), 5);
  EXPECT_TRUE(rig.G().State.QuitRequested);
  EXPECT_EQ(rig.G().Errors.Text(), "");
  rig.SavePicture("ending");
}

TEST(ResultsScreens, RecordScreensShowTheTablesAndClose) {
  struct Case {
    const char* picture;
    std::function<void(Game&)> show;
    std::vector<uint8_t> keys;  // then Enter closes
  } cases[] = {
      {"records-single", [](Game& g) { ShowTourRecords(g, 0); }, {}},
      {"records-session", [](Game& g) { ShowTourRecords(g, 1); }, {}},
      {"records-beginner", [](Game& g) { ShowTourRecords(g, 3); }, {}},
      {"records-favourites", [](Game& g) { ShowSpecialRecords(g, 0); }, {}},
      // From the favourites, Right is COLOR, then SILVER, RANDOM.
      {"records-special", [](Game& g) { ShowSpecialRecords(g, 0); }, {kKeyRight, kKeyRight, kKeyRight}},
      {"records-double", [](Game& g) { ShowSpecialRecords(g, 6); }, {}},
      {"song-records", [](Game& g) { ShowSongRecords(g); }, {kKeyRight, kKeyRight, kKeyLeft}},
      {"player-rank", [](Game& g) { ShowPlayerRank(g); }, {}},
  };
  for (const Case& c : cases) {
    ScreenRig rig = StartScreenRig(MakeProgramFolder("records"));
    FillRecords(rig.G());
    double at = 1000;
    for (uint8_t key : c.keys) rig.Press(at += 150, key);
    rig.Press(at + 600, kKeyEnter);
    c.show(rig.G());
    // Closed by the last Enter: only its release is left.
    EXPECT_EQ(rig.Control->PendingKeyCount(), 1u) << c.picture;
    EXPECT_TRUE(LooksDrawn(*rig.Control)) << c.picture;
    EXPECT_EQ(rig.G().Errors.Text(), "") << c.picture;
    EXPECT_FALSE(rig.G().State.QuitRequested);
    rig.SavePicture(c.picture);
  }
}

TEST(ResultsScreens, ValuesFromTheFileOutsideTheListsShowAsUnknown) {
  ScreenRig rig = StartScreenRig(MakeProgramFolder("junk"));
  HighScores& r = rig.G().Records;
  for (RankTable* t : {&r.TourMode, &r.SpecialRanks[30]}) {
    (*t)[0].Songs = {32767, -5, 0, 12};
    (*t)[0].Chars = {-1, 999, 32767, 8};
    (*t)[0].Rates = {-32768, 32767, 0, 100};
    (*t)[0].Score = -1;
  }
  r.TourModeDouble[0].Player2.Chars = {-7, 40, 0, 0};
  r.TourModeDouble[0].Player1.Songs = {-1, 1000, 0, 0};
  for (int16_t mode : {int16_t{30}, int16_t{6}, int16_t{31}, int16_t{-9}}) {
    rig.Press(1000, kKeyEnter);
    ShowSpecialRecords(rig.G(), mode);
  }
  rig.Press(1000, kKeyEnter);
  ShowTourRecords(rig.G(), 0);
  rig.Press(1000, kKeyEnter);
  ShowTourRecords(rig.G(), 77);
  EXPECT_EQ(rig.G().Errors.Text(), "");
  EXPECT_FALSE(rig.G().State.QuitRequested);
}

TEST(ResultsScreens, MissingJacketAndRankFileAreLoggedAndTheScreensGoOn) {
  ScreenRig rig = StartScreenRig(MakeProgramFolder("no_jacket", "songs/firstlight/firstlight.zxg"));
  rig.Press(1000, kKeyEnter);
  ShowSongRecords(rig.G());
  EXPECT_NE(rig.G().Errors.Text().find("firstlight.bmpが見つかりませんでした。"), std::string::npos)
      << rig.G().Errors.Text();

  ScreenRig noRanks = StartScreenRig(MakeProgramFolder("no_ranks", "rank.zxt"));
  noRanks.Press(1000, kKeyF1);
  ShowPlayerRank(noRanks.G());
  EXPECT_NE(noRanks.G().Errors.Text().find("rank.zxt" + std::string(kLoadFailedSuffix)), std::string::npos);
  EXPECT_FALSE(noRanks.G().State.QuitRequested);
}

}  // namespace
}  // namespace tessaru::flowtest
