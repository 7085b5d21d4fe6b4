// The rules of the driver and the free-mode screens, without devices.
#include <gtest/gtest.h>

#include <set>

#include "flow/flow_rules.h"
#include "flow/flow_stage.h"
#include "flow/free_mode.h"
#include "flow/free_mode_setting.h"
#include "flow/game_main.h"
#include "flow/part_select.h"
#include "flow/screen_frame.h"
#include "flow/song_select.h"
#include "flow/tests/menu_rig.h"
#include "flow/title_screen.h"

namespace tessaru {
namespace {

TEST(FlowRules, ComSkillForStage) {
  struct Case {
    int16_t Difficulty;
    int Stage;
    int16_t Skill;
  };
  const Case cases[] = {{0, 0, 10}, {0, 1, 10}, {0, 4, 40}, {1, 0, 35}, {1, 2, 40}, {1, 3, 50},
                        {2, 0, 50}, {2, 2, 50}, {2, 3, 60}, {3, 2, 75}, {3, 3, 80}, {4, 0, 93},
                        {4, 4, 98}, {4, 5, 100}, {4, 9, 100}, {0, -1, 0}, {9, 0, 50}};
  for (const Case& c : cases) {
    EXPECT_EQ(ComSkillForStage(c.Difficulty, c.Stage), c.Skill) << c.Difficulty << "/" << c.Stage;
  }
  EXPECT_EQ(OtherSeat(0), 1);
  EXPECT_EQ(OtherSeat(1), 0);
}

TEST(FlowRules, TitleCodesSetMenuChoiceAndSub) {
  using enum TitleCode;
  struct Case {
    TitleCode Code;
    int16_t Sub;
    TitleCode PrevChoice;
    int16_t PrevSub;
    bool Ending;
    TitleCode Choice;
    int16_t MenuSub;
  };
  const Case cases[] = {
      {SingleTourSeat, 1, Config, 0, false, SingleTour, 1},   // single tour with the side that chose
      {SingleTour, 1, Config, 0, false, SingleTour, 0},       // single tour keeps the previous side
      {SessionTour, 0, Config, 0, false, TwoPlayerTour, 1},   // SESSION always sets 1
      {TwoPlayerTour, 0, Config, 1, false, TwoPlayerTour, 1}, // two players keeps the previous style
      {SpecialTour, 1, Config, 0, false, SpecialTour, 1},     // special tour takes the side
      {FreeMode, 1, Config, 3, false, FreeMode, 3},           // free mode leaves MenuSub
      {Ending, 1, Config, 3, true, Config, 3},                // the ending changes nothing
      {Exit, 0, Config, 3, false, Exit, 3},                   // a code without activity ends the loop
      {TitleCode{77}, 0, Config, 3, false, TitleCode{77}, 3}, // any other code is kept as it came
  };
  for (const Case& c : cases) {
    const TitleAction a = ApplyTitleCode(c.Code, c.Sub, c.PrevChoice, c.PrevSub);
    const int code = static_cast<int>(c.Code);
    EXPECT_EQ(a.Ending, c.Ending) << code;
    EXPECT_EQ(a.MenuChoice, c.Choice) << code;
    EXPECT_EQ(a.MenuSub, c.MenuSub) << code;
  }
}

TEST(FlowRules, FrameIntervalFollowsMaxFps) {
  EXPECT_EQ(FrameIntervalMs(60), 17);
  EXPECT_EQ(FrameIntervalMs(0), 17);  // 0 runs at 60
  EXPECT_EQ(FrameIntervalMs(-5), 17);
  EXPECT_EQ(FrameIntervalMs(30), 34);
  EXPECT_EQ(FrameIntervalMs(124), 9);
}

TEST(TitleGrid, EntriesFollowTheirConditions) {
  using enum TitleCode;
  struct Case {
    const char* Name;
    TitleConditions Conditions;
    std::vector<TitleCode> Open;
    std::vector<TitleCode> Closed;
  };
  const std::vector<TitleCode> all = {Ending,      SingleTour, FreeMode,       SpecialTour, Config,
                                      TourRecords, SongRecords, PlayerRank,   SingleTourSeat, SessionTour,
                                      Training,    Tutorial,   Beginner,       SpecialRecords, TwoPlayerTour};
  const Case cases[] = {
      {"everything", {true, true, 1, true, all},
       {Ending, FreeMode, SpecialTour, Config, TourRecords, SongRecords, PlayerRank, SingleTourSeat,
        SessionTour, Training, Tutorial, Beginner, SpecialRecords, TwoPlayerTour, Exit},
       {}},
      {"no tutorial files", {false, true, 1, true, all}, {SingleTourSeat, Training}, {Tutorial, Beginner}},
      {"invalid list", {true, false, 1, true, all}, {FreeMode, TourRecords, SongRecords, PlayerRank, SpecialRecords},
       {SpecialTour, SingleTourSeat, SessionTour, Training, TwoPlayerTour}},
      {"nothing unlocked", {true, true, 0, true, all}, {FreeMode}, {SpecialTour}},
      {"no run finished", {true, true, 1, false, all}, {SingleTourSeat}, {Ending}},
      {"activity missing", {true, true, 1, true, {FreeMode}}, {FreeMode, Exit}, {SingleTourSeat, Config, Tutorial}},
  };
  for (const Case& c : cases) {
    const TitleGrid grid = BuildTitleGrid(c.Conditions);
    std::vector<TitleCode> codes;
    for (const auto& row : grid)
      for (const TitleEntry& e : row)
        if (e.Filled()) codes.push_back(e.Code);
    const auto has = [&](TitleCode code) { return std::find(codes.begin(), codes.end(), code) != codes.end(); };
    for (TitleCode code : c.Open) EXPECT_TRUE(has(code)) << c.Name << " " << static_cast<int>(code);
    for (TitleCode code : c.Closed) EXPECT_FALSE(has(code)) << c.Name << " " << static_cast<int>(code);
  }
}

TEST(FreeModeSetting, RowsShowOnlyAfterTheirModesWerePlayed) {
  const SpecialPlayCounts none{};
  std::vector<int> walk;
  int row = kRowStart;
  for (int i = 0; i < 5; ++i) walk.push_back(row = NextFreeRow(row, 1, none));
  EXPECT_EQ(walk, (std::vector<int>{kRowMode, kRowHandicap, kRowStyle, kRowStart, kRowMode}));
  EXPECT_EQ(NextFreeRow(kRowMode, -1, none), kRowStart);
  EXPECT_FALSE(FreeRowShown(kRowColor, Played({0})));
  EXPECT_TRUE(FreeRowShown(kRowColor, Played({0, 1})));
  EXPECT_FALSE(FreeRowShown(kRowVisibility, Played({4})));
  EXPECT_TRUE(FreeRowShown(kRowVisibility, Played({4, 5})));
  EXPECT_TRUE(FreeRowShown(kRowLane, Played({2})));
  EXPECT_TRUE(FreeRowShown(kRowTiming, Played({3})));
}

TEST(FreeModeSetting, EnterStepsEachRowByItsRule) {
  struct Case {
    const char* Name;
    SpecialPlayCounts Plays;
    int Row, Column;
    int Presses;
    std::vector<int16_t> Seen;  // the value after each press
    size_t Index;
  };
  const Case cases[] = {
      {"mode toggles", {}, kRowMode, 0, 2, {1, 0}, 0},
      {"handicap wraps", {}, kRowHandicap, 1, 5, {1, 2, 3, 4, 0}, 3},
      {"color wraps", {}, kRowColor, 0, 4, {1, 2, 3, 0}, 4},
      {"visibility without vanish", {}, kRowVisibility, 0, 4, {1, 2, 3, 0}, 6},
      {"visibility with vanish", Played({25}), kRowVisibility, 0, 5, {1, 2, 3, 4, 0}, 6},
      {"lane skips hi-speed", {}, kRowLane, 0, 8, {1, 2, 3, 4, 6, 7, 0, 1}, 8},
      {"timing toggles", {}, kRowTiming, 1, 2, {1, 0}, 11},
      {"style without double", {}, kRowStyle, 0, 3, {2, 0, 2}, 12},
      {"style with double", Played({6}), kRowStyle, 0, 3, {1, 2, 0}, 12},
      {"rapid locked", {}, kRowStyle, 1, 2, {0, 0}, 13},
      {"rapid open", Played({22}), kRowStyle, 1, 2, {1, 0}, 13},
  };
  for (const Case& c : cases) {
    FreeSettings s{};
    std::vector<int16_t> seen;
    for (int i = 0; i < c.Presses; ++i) {
      ChangeFreeSetting(s, c.Row, c.Column, c.Plays);
      seen.push_back(s[c.Index]);
    }
    EXPECT_EQ(seen, c.Seen) << c.Name;
  }
}

TEST(FreeModeSetting, HiSpeedHoldsForBothSidesOrNeither) {
  const SpecialPlayCounts open = Played({24, 2});
  FreeSettings s{};
  s[8] = 4;  // side 1 on 2COLORS
  ChangeFreeSetting(s, kRowLane, 0, open);
  EXPECT_EQ(s[8], 5);
  EXPECT_EQ(s[9], 5);
  ChangeFreeSetting(s, kRowLane, 1, open);  // side 2 moves on to PANIC
  EXPECT_EQ(s[9], 6);
  EXPECT_EQ(s[8], 6);
  ChangeFreeSetting(s, kRowLane, 1, open);  // no longer coupled
  EXPECT_EQ(s[9], 7);
  EXPECT_EQ(s[8], 6);
}

TEST(FreeModeSetting, KeepShowsSide2AsComputerAndStartCopiesEverything) {
  StageSetup st;
  st.ComSkill = {-1, -1, 7, 7};
  st.HandicapOpt = {2, 1};
  st.LaneOpt = {3, 1};
  st.TimingOpt = {1, 0};
  st.PlayStyle = 2;
  st.RapidMode = 1;
  const FreeSettings s = FreeSettingsFromState(st);
  EXPECT_EQ(s[0], 0);
  EXPECT_EQ(s[1], 1);
  EXPECT_EQ(s[2], 2);
  EXPECT_EQ(s[9], 1);
  EXPECT_EQ(s[12], 2);
  EXPECT_EQ(s[13], 1);

  StageSetup out;
  out.AssistFlag = {1, 1};
  ApplyFreeSettings(s, out, 3);
  EXPECT_EQ(out.ComSkill[0], -1);
  EXPECT_EQ(out.ComSkill[1], 75);
  EXPECT_EQ(out.ComSkill[2], 75);  // the partner of a pair style
  EXPECT_EQ(out.HandicapOpt, st.HandicapOpt);
  EXPECT_EQ(out.LaneOpt, st.LaneOpt);
  EXPECT_EQ(out.TimingOpt, st.TimingOpt);
  EXPECT_EQ(out.PlayStyle, 2);
  EXPECT_EQ(out.RapidMode, 1);
  EXPECT_EQ(out.AssistFlag, (PerPlayer<int16_t>{0, 0}));
}

TEST(SongCarousel, MovesWrapAndRepeatOnlyAfterASecond) {
  SongCarousel c(3, 0);
  EXPECT_EQ(c.Step(100, true, false, true, false), -1);
  EXPECT_EQ(c.Cursor(), 2);  // Left on the first goes to the last
  EXPECT_EQ(c.Step(150, false, true, false, true), 1);
  EXPECT_EQ(c.Cursor(), 0);  // Right on the last goes to the first
  // Held: nothing until a second after the last move, then one move.
  for (uint32_t t = 151; t < 1150; t += 16) EXPECT_EQ(c.Step(t, false, false, false, true), 0) << t;
  EXPECT_EQ(c.Step(1150, false, false, false, true), 1);
  EXPECT_EQ(c.Step(1166, false, false, false, true), 0);
  EXPECT_EQ(c.Step(2150, false, false, false, true), 1);
  EXPECT_EQ(c.Cursor(), 2);
}

TEST(SongCarousel, InitialCursor) {
  EXPECT_EQ(InitialSongCursor(5, 3, TitleCode::FreeMode), 3);
  EXPECT_EQ(InitialSongCursor(5, 5, TitleCode::FreeMode), 0);  // beyond the list
  EXPECT_EQ(InitialSongCursor(5, -1, TitleCode::FreeMode), 0);
  EXPECT_EQ(InitialSongCursor(1, 0, TitleCode::FreeMode), 0);
  EXPECT_EQ(InitialSongCursor(5, 3, TitleCode::TutorialStages), 0);
}

TEST(PartSelect, ComputerDrawsFromTheConfirmedGroupAndRedrawsTheOtherSidesPart) {
  struct Case {
    int16_t Confirmed;
    int16_t Other;
    std::set<int16_t> Seen;  // every part the draw can give, and only those
  };
  const Case cases[] = {
      {0, 0, {1, 2, 3}},        {3, 1, {0, 2, 3}},     {4, 4, {5, 6, 7}},
      {7, 2, {4, 5, 6, 7}},     {2, 6, {0, 1, 2, 3}},  {10, 5, {4, 6, 7}},  // an extension part: upper group
      {11, 11, {4, 5, 6, 7}},
  };
  Random rng(7);
  for (const Case& c : cases) {
    std::set<int16_t> seen;
    for (int i = 0; i < 400; ++i) seen.insert(ComputerPart(c.Confirmed, c.Other, rng));
    EXPECT_EQ(seen, c.Seen) << c.Confirmed << " vs " << c.Other;
  }
}

TEST(PartSelect, ExtensionPartsNeedTheFlagAFirstSongAndTheSongsOwnFlag) {
  const std::vector<int16_t> base{0, 1, 2, 3, 4, 5, 6, 7};
  struct Case {
    const char* Name;
    PartOffer Offer;
    std::vector<int16_t> Extra;
  };
  const Case cases[] = {
      {"all open", {8251, 3, 9, 2, 10, 2}, {10, 11}},
      {"first song", {8251, 0, 9, 2, 10, 2}, {10, 11}},
      {"last song before the extra songs", {8251, 8, 9, 1, 10, 2}, {10}},
      {"an extra song", {8251, 9, 9, 2, 10, 2}, {}},
      {"no song chosen", {8251, -1, 9, 2, 10, 2}, {}},
      {"flag not earned", {0, 3, 9, 2, 10, 2}, {}},
      {"the ordinary flag marker", {6917, 3, 9, 2, 10, 2}, {}},
      {"song opens none", {8251, 3, 9, 0, 10, 2}, {}},
      {"song opens one", {8251, 3, 9, 1, 10, 2}, {10}},
      {"a third appended part stays closed", {8251, 3, 9, 2, 10, 3}, {10, 11}},
      {"no extension list", {8251, 3, 9, 2, 10, 0}, {}},
      {"list cut short", {8251, 3, 9, 2, 10, 1}, {10}},
  };
  for (const Case& c : cases) {
    std::vector<int16_t> want = base;
    want.insert(want.end(), c.Extra.begin(), c.Extra.end());
    EXPECT_EQ(OfferedParts(c.Offer), want) << c.Name;
  }
}

TEST(FreeMode, SongListFollowsRecordsAndFlags) {
  SongList list;
  list.SongCount = 12;
  list.FirstExtraSong = 9;
  list.SongPaths.assign(12, "");
  list.SongKeys.assign(12, "");
  for (int i = 0; i < 12; ++i) list.SongKeys[static_cast<size_t>(i)] = "s" + std::to_string(i);
  HighScores records;
  records.LoadHighScores(list, TESSARU_SCRATCH);
  EXPECT_EQ(FreeSongList(list, records), (std::vector<int16_t>{9, 10, 11}));
  records.RecordStageResult({3, 5, 100, 80, true, 2});   // song 3 passed with part 5
  records.RecordStageResult({4, 2, 100, 80, false, 2});  // song 4 played, not passed
  records.GameFlags[2] = kGameFlagSet;
  records.GameFlags[1] = kGameFlagSet;
  EXPECT_EQ(FreeSongList(list, records), (std::vector<int16_t>{3, 6, 8, 9, 10, 11}));
}

TEST(FlowStage, PassedMeansRunToTheEndAndNotLost) {
  struct Case {
    const char* Name;
    int16_t Style;
    int16_t EndState;
    int32_t LastStep;
    int32_t StepLimit;
    int16_t Gauge0;
    int16_t KnockedOut0;
    bool Quit;
    bool Passed;
  };
  const Case cases[] = {
      {"ended", 0, 1, 64, 64, 500, 0, false, true},
      {"cut by F1", 0, 1, 30, 64, 500, 0, false, false},
      {"cut by F1 one step short", 0, 1, 63, 64, 500, 0, false, false},
      {"HI-SPEED cut by F1 half way", 0, 1, 64, 128, 500, 0, false, false},
      {"HI-SPEED to the end", 0, 1, 128, 128, 500, 0, false, true},
      {"knocked out", 0, 2, 40, 64, 0, 1, false, false},
      {"quit", 0, 1, 64, 64, 500, 0, true, false},
      {"pair under 1000", 1, 1, 64, 64, 999, 0, false, false},
      {"pair at 1000", 2, 1, 64, 64, 1000, 0, false, true},
      {"survival empty", 3, 2, 40, 64, 0, 0, false, false},
  };
  for (const Case& c : cases) {
    StageSetup st;
    st.PlayStyle = c.Style;
    st.ComSkill = {-1, 50, 99, 99};
    StageOutcome o;
    o.EndState = c.EndState;
    o.LastStep = c.LastStep;
    o.StepLimit = c.StepLimit;
    o.QuitRequested = c.Quit;
    o.Players[0].Gauge = c.Gauge0;
    o.Players[0].KnockedOut = c.KnockedOut0;
    EXPECT_EQ(StagePassed(st, o), c.Passed) << c.Name;
  }
}

}  // namespace
}  // namespace tessaru
