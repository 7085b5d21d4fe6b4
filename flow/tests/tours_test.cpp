// The tours' rules without devices: unlocks, stage songs and ends, flags, SELECT MODE
// and the title grid's cursor.
#include <gtest/gtest.h>

#include <algorithm>

#include "flow/tests/menu_rig.h"
#include "flow/title_screen.h"
#include "flow/tours/mode_select.h"
#include "flow/tours/tour_rules.h"
#include "flow/tours/unlocks.h"

namespace tessaru {
namespace {

SongList ListOf(int16_t count) {
  SongList list;
  list.SongCount = count;
  list.FirstExtraSong = 9;
  list.SongListValid = true;
  for (int i = 0; i < count; ++i) list.SongKeys.push_back("song" + std::to_string(i));
  return list;
}

// Records over an 11-song list with `passes` passed stages of each (part, song) given.
struct Passes {
  int Part;
  int Song;
  int Count;
};
HighScores RecordsWith(const SongList& list, std::initializer_list<Passes> passes) {
  HighScores r;
  r.LoadHighScores(list, TESSARU_SCRATCH "/no-such-folder");
  for (const Passes& p : passes)
    for (int i = 0; i < p.Count; ++i) r.RecordStageResult({p.Song, p.Part, 1000, 80, true, 2});
  return r;
}

std::vector<int16_t> Range(int from, int to) {
  std::vector<int16_t> v;
  for (int i = from; i <= to; ++i) v.push_back(static_cast<int16_t>(i));
  return v;
}

TEST(Unlocks, FollowTheRecordsInOrder) {
  const SongList list = ListOf(11);
  struct Case {
    const char* Name;
    std::vector<Passes> Pass;
    std::vector<int> Flags;
    std::vector<int> Played;
    int16_t Rank;
    std::vector<int16_t> Want;
  };
  std::vector<Passes> allParts;  // every part passed 3 times on every first song
  for (int p = 0; p < 8; ++p)
    for (int s = 0; s < 9; ++s) allParts.push_back({p, s, 3});
  std::vector<Passes> fifteen, fourteen;
  for (int i = 0; i < 15; ++i) fifteen.push_back({i % 8, i / 8, 3});
  for (int i = 0; i < 14; ++i) fourteen.push_back({i % 8, i / 8, 3});
  const std::vector<int> everyFlag = {0, 1, 2, 3, 4, 5, 6};
  const std::vector<int> firstSix = {0, 1, 2, 3, 4, 5};
  std::vector<int16_t> with25 = Range(0, 20);
  with25.insert(with25.end(), {25, 30});
  std::vector<int16_t> with23 = Range(0, 23);
  with23.insert(with23.end(), {25, 30});
  const Case cases[] = {
      {"nothing passed, flags set", {}, everyFlag, firstSix, 28, {}},
      {"one pass", {{0, 0, 1}}, {}, {}, 0, {30}},
      {"flag 3", {{0, 0, 1}}, {3}, {}, 0, {0, 1, 30}},
      {"flags 3 to 6 open DOUBLE", {{0, 0, 1}}, {3, 4, 5, 6}, {}, 0, {0, 1, 2, 3, 4, 5, 6, 30}},
      {"flags 3 to 5 only", {{0, 0, 1}}, {3, 4, 5}, {}, 0, {0, 1, 2, 3, 30}},
      {"fifteen pairs at 3", fifteen, {}, {}, 0, {7, 8, 9, 10, 11, 30}},
      {"fourteen pairs at 3", fourteen, {}, {}, 0, {7, 8, 9, 10, 30}},
      {"extra song passes count for nothing", {{0, 9, 3}, {1, 10, 3}}, {3}, {}, 0, {}},
      {"no flag 1: no mode 20..25", {{0, 0, 1}}, {3}, {0, 1, 2, 3, 4, 5, 22}, 16, {0, 1, 30}},
      {"rank 17 without flag 7", {{0, 0, 1}}, {}, {}, 17, {26, 27, 28, 29, 30}},
      {"rank 16", {{0, 0, 1}}, {}, {}, 16, {30}},
      {"rank 14 opens 21 and 22", {{0, 0, 1}}, {1}, {}, 14, {20, 21, 22, 30}},
      {"mode 23 once 0..22 are open", allParts, everyFlag, firstSix, 0, with23},
      {"every mode", allParts, {0, 1, 2, 3, 4, 5, 6, 7}, {0, 1, 2, 3, 4, 5, 22}, 0, Range(0, 30)},
      {"counts of 0, 1, 4, 5 open 25 alone", allParts, everyFlag, {0, 1, 4, 5}, 0, with25},
  };
  for (const Case& c : cases) {
    HighScores r = RecordsWith(list, {});
    for (const Passes& p : c.Pass)
      for (int i = 0; i < p.Count; ++i) r.RecordStageResult({p.Song, p.Part, 1000, 80, true, 2});
    for (int f : c.Flags) MarkFlag(r, f);
    for (int m : c.Played) r.SpecialPlays[static_cast<size_t>(m)] = 1;
    const UnlockedModes u = ComputeUnlockedModes(r, list, c.Rank);
    EXPECT_EQ(u.List(), c.Want) << c.Name;
    EXPECT_EQ(u.UnlockedModeCount, static_cast<int16_t>(c.Want.size())) << c.Name;
  }
}

TEST(Unlocks, ModeTwentyThreeStaysShutWhenOneCharacterModeIsMissing) {
  const SongList list = ListOf(11);
  // Every part passed on every first song but part 7 on song 8, and 15 pairs at 3: the
  // count before the check is 22, so 23 stays shut.
  HighScores r = RecordsWith(list, {});
  for (int p = 0; p < 8; ++p)
    for (int s = 0; s < 9; ++s) {
      const int extra = (p < 2 && s < 6) || (p == 2 && s < 3) ? 2 : 0;
      for (int i = 0; i < 1 + extra; ++i)
        if (!(p == 7 && s == 8)) r.RecordStageResult({s, p, 1000, 80, true, 2});
    }
  for (int f = 0; f <= 6; ++f) MarkFlag(r, f);
  for (int m = 0; m <= 5; ++m) r.SpecialPlays[static_cast<size_t>(m)] = 1;
  const UnlockedModes u = ComputeUnlockedModes(r, list, 0);
  EXPECT_EQ(u.ModeUnlocked[18], 1);
  EXPECT_EQ(u.ModeUnlocked[19], 0);
  EXPECT_EQ(u.ModeUnlocked[23], 0);
  EXPECT_EQ(u.ModeUnlocked[22], 1);
}

TEST(TourRules, StageSongsAndRunEnds) {
  // Single tour, on NORMAL unless said.
  EXPECT_EQ(SingleTourSongs(1, 0, 2), (std::vector<int16_t>{0, 1, 2}));
  EXPECT_EQ(SingleTourSongs(2, 0, 2), (std::vector<int16_t>{3, 4, 5}));
  EXPECT_EQ(SingleTourSongs(3, 69, 2), (std::vector<int16_t>{6}));
  EXPECT_EQ(SingleTourSongs(3, 70, 2), (std::vector<int16_t>{6, 7}));
  EXPECT_EQ(SingleTourSongs(3, 100, 1), (std::vector<int16_t>{6}));
  EXPECT_EQ(SingleTourSongs(4, 0, 2), (std::vector<int16_t>{8}));
  struct End {
    int Stage;
    int32_t Score;
    int16_t Difficulty;
    bool GoesOn;
  };
  const End ends[] = {{1, 0, 2, true},   {2, 49, 2, false}, {2, 50, 2, true},  {3, 76, 2, false},
                      {3, 77, 2, true},  {3, 100, 1, false}, {3, 77, 4, true}, {4, 100, 4, false}};
  for (const End& e : ends)
    EXPECT_EQ(SingleTourGoesOn(e.Stage, e.Score, e.Difficulty), e.GoesOn) << e.Stage << "/" << e.Score;
  // Beginner mode: song 7 from a previous score of 61.
  EXPECT_EQ(BeginnerSongs(1, 0), (std::vector<int16_t>{0, 1}));
  EXPECT_EQ(BeginnerSongs(3, 0), (std::vector<int16_t>{4, 5}));
  EXPECT_EQ(BeginnerSongs(4, 60), (std::vector<int16_t>{6}));
  EXPECT_EQ(BeginnerSongs(4, 61), (std::vector<int16_t>{6, 7}));
  EXPECT_EQ(BeginnerComSkill(1), 5);
  EXPECT_EQ(BeginnerComSkill(4), 35);
  // Pair tour: one player at 60 opens song 7; song 8 needs flag 1 and 70.
  EXPECT_EQ(PairTourSongs(3, 59, 2, true), (std::vector<int16_t>{6, 12, 14}));
  EXPECT_EQ(PairTourSongs(3, 60, 2, true), (std::vector<int16_t>{6, 12, 14, 7}));
  EXPECT_EQ(PairTourSongs(3, 70, 2, false), (std::vector<int16_t>{6, 12, 14, 7}));
  EXPECT_EQ(PairTourSongs(3, 70, 2, true), (std::vector<int16_t>{6, 12, 14, 7, 8}));
  EXPECT_EQ(PairTourSongs(3, 90, 1, true), (std::vector<int16_t>{6, 12, 14}));
  EXPECT_FALSE(PairTourGoesOn(2, 49, 49));
  EXPECT_TRUE(PairTourGoesOn(2, 49, 50));
  EXPECT_FALSE(PairTourGoesOn(3, 100, 100));
  // A short list offers what it holds.
  EXPECT_EQ(OnlyListed({0, 1, 2, 11, 9, 15}, 12), (std::vector<int16_t>{0, 1, 2, 11, 9}));
}

TEST(TourRules, FlagsFromPassesAndTheRunsEnd) {
  const SongList list = ListOf(11);
  HighScores r = RecordsWith(list, {{0, 6, 2}, {1, 6, 1}});
  UpdateStageFlags(r, 3, true);
  EXPECT_FALSE(FlagMarked(r, 2));  // 3 passes of song 6 are not more than 3
  r.RecordStageResult({6, 3, 1000, 80, true, 2});
  r.RecordStageResult({6, 4, 1000, 80, true, 2});  // part 4 does not count
  UpdateStageFlags(r, 3, true);
  EXPECT_TRUE(FlagMarked(r, 2));
  EXPECT_FALSE(FlagMarked(r, 1));
  UpdateStageFlags(r, 4, false);
  EXPECT_FALSE(FlagMarked(r, 1));
  UpdateStageFlags(r, 4, true);
  EXPECT_EQ(r.GameFlags[1], kGameFlagSet);

  RunTable run;
  run.Rows[0][2] = {8, 0, 80};  // song 7 at stage 3
  run.Rows[0][3] = {9, 0, 95};  // song 8 at stage 4
  run.Passed = {true, true, true, true};
  run.LastStage = 4;
  HighScores hard = RecordsWith(list, {});
  UpdateRunEndFlags(hard, run, 0, 4);
  for (int f : {3, 4, 5, 6}) EXPECT_EQ(hard.GameFlags[static_cast<size_t>(f)], kGameFlagSet) << f;
  EXPECT_EQ(hard.GameFlags[7], kFlag7Set);
  EXPECT_EQ(hard.GameFlags[8], kFlag8Set);
  // A run cut short after stage 2 earns flag 3 alone.
  RunTable shortRun;
  shortRun.Rows[0][1] = {5, 0, 49};
  shortRun.LastStage = 2;
  HighScores normal = RecordsWith(list, {});
  UpdateRunEndFlags(normal, shortRun, 0, 2);
  EXPECT_TRUE(FlagMarked(normal, 3));
  for (int f : {4, 5, 6, 7, 8}) EXPECT_FALSE(FlagMarked(normal, f)) << f;
  // A flag holding another flag's marker is not set.
  normal.GameFlags[7] = kGameFlagSet;
  EXPECT_FALSE(FlagMarked(normal, 7));
}

TEST(TourRules, SpecialModeStages) {
  const SongList list = ListOf(3);
  HighScores r = RecordsWith(list, {{5, 1, 2}, {3, 0, 2}, {0, 2, 4}, {7, 2, 1}});
  const std::vector<int32_t> order = PairsByPasses(r, 3);
  // Most passes first; ties by the smaller pair number (song * 8 + part).
  ASSERT_GE(order.size(), 5u);
  EXPECT_EQ(order[0], 16);  // song 2 part 0: 4
  EXPECT_EQ(order[1], 3);   // song 0 part 3: 2
  EXPECT_EQ(order[2], 13);  // song 1 part 5: 2
  EXPECT_EQ(order[3], 23);  // song 2 part 7: 1
  EXPECT_EQ(order[4], 0);   // then every unpassed pair from the first
  const auto second = RankingStage(order, 8, 0);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->Song, order[3] / 8);
  EXPECT_EQ(second->Part, order[3] & 7);
  const std::vector<int32_t> fourteen(order.begin(), order.begin() + 14);
  EXPECT_TRUE(RankingStage(fourteen, 11, 1));  // position 13
  EXPECT_FALSE(RankingStage(fourteen, 11, 2));
  std::vector<int16_t> table(32);
  for (int i = 0; i < 32; ++i) table[static_cast<size_t>(i)] = static_cast<int16_t>(i + 1);
  EXPECT_EQ(*CharacterSongs(table, 13), (std::array<int16_t, 4>{4, 5, 6, 7}));
  EXPECT_FALSE(CharacterSongs(std::vector<int16_t>(31, 1), 19));
  EXPECT_EQ(EndlessPartnerSkill(2), 1);
  EXPECT_EQ(EndlessPartnerSkill(3), 10);
  EXPECT_EQ(EndlessPartnerSkill(4), 100);
  for (int16_t p = 0; p < 8; ++p) {
    EXPECT_GE(PartnerPart(p), 4);
    EXPECT_NE(PartnerPart(p), p);
  }
}

TEST(ModeSelect, PagesOfSixWrapAtBothEnds) {
  struct Case {
    int Count;
    int Page, Row;
    const char* Key;
    int WantPage, WantRow;
  };
  const Case cases[] = {
      {7, 0, 5, "D", 1, 0},  // the second page holds one entry
      {7, 1, 0, "D", 0, 0},  // from the last entry back to the first
      {7, 0, 0, "U", 1, 0},  // from the first to the last
      {7, 1, 0, "U", 0, 5},
      {3, 0, 2, "D", 0, 0},
      {3, 0, 0, "U", 0, 2},
      {12, 1, 5, "D", 0, 0},
      {12, 0, 4, "D", 0, 5},
      {1, 0, 0, "D", 0, 0},
  };
  for (const Case& c : cases) {
    ModeSelectState s;
    s.Modes = Range(0, c.Count - 1);
    s.Page = c.Page;
    s.Row = c.Row;
    EXPECT_EQ(UpdateModeSelect(s, Buttons(c.Key)), ModeSelectEvent::Moved);
    EXPECT_EQ(s.Page, c.WantPage) << c.Count << c.Key << c.Page << c.Row;
    EXPECT_EQ(s.Row, c.WantRow) << c.Count << c.Key << c.Page << c.Row;
  }
  // Only the chosen side's buttons count.
  ModeSelectState s;
  s.Modes = Range(0, 6);
  s.Side = 1;
  EXPECT_EQ(UpdateModeSelect(s, Buttons("D")), ModeSelectEvent::None);
  EXPECT_EQ(UpdateModeSelect(s, Buttons("2D")), ModeSelectEvent::Moved);
  EXPECT_EQ(UpdateModeSelect(s, Buttons("2E")), ModeSelectEvent::Decided);
  EXPECT_EQ(s.Index(), 1);
  ModeSelectState empty;
  EXPECT_EQ(UpdateModeSelect(empty, Buttons("E")), ModeSelectEvent::None);
}

TEST(TitleScreen, CursorWalksTheGridSkippingEmptyCells) {
  using enum TitleCode;
  const std::vector<TitleCode> all = {Ending,     FreeMode, SpecialTour, TourRecords,    SongRecords,  PlayerRank,
                                      SingleTourSeat, SessionTour, Tutorial, Beginner, SpecialRecords, TwoPlayerTour};
  TitleState s = StartTitle(BuildTitleGrid({true, true, 1, true, all}));
  const auto code = [&s] { return s.Grid[static_cast<size_t>(s.Row)][static_cast<size_t>(s.Column)].Code; };
  EXPECT_EQ(code(), FreeMode);  // FREE MODE first
  struct Step {
    const char* Key;
    TitleCode Want;
  };
  // Down the first column, wrapping past the empty rows; then across and up.
  const Step steps[] = {{"2D", SingleTourSeat}, {"2D", SpecialTour}, {"2D", Beginner},   {"2D", Tutorial},
                        {"2D", FreeMode},       {"2U", Tutorial},    {"2R", Ending},     {"2R", Tutorial},
                        {"2L", Ending},         {"2U", PlayerRank},  {"2D", Ending},     {"2D", TourRecords},
                        {"2L", TwoPlayerTour}};
  for (const Step& st : steps) {
    EXPECT_EQ(UpdateTitle(s, Buttons(st.Key)).What, ScreenEvent::Moved) << st.Key;
    EXPECT_EQ(code(), st.Want) << st.Key;
  }
  const TitleEvent by2P = UpdateTitle(s, Buttons("2E"));
  EXPECT_EQ(by2P.What, ScreenEvent::Decided);
  EXPECT_EQ(by2P.Code, TwoPlayerTour);
  EXPECT_EQ(by2P.Sub, 1);
  EXPECT_EQ(UpdateTitle(s, Buttons("E")).Sub, 0);
  // A column with one entry: Up stays.
  TitleState lone = StartTitle(BuildTitleGrid({false, false, 0, false, {FreeMode}}));
  EXPECT_EQ(UpdateTitle(lone, Buttons("U")).What, ScreenEvent::None);
}

}  // namespace
}  // namespace tessaru
