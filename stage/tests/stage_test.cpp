#include "stage/stage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "stage/lane_options.h"
#include "stage/tempo_map.h"
#include "stage/tests/stage_fixtures.h"

namespace tessaru {
namespace {

using testing::MakePart;
using testing::MakeSong;
using testing::RegularChips;

// 120 BPM: one step is 125 ms.
constexpr double kStepMs = 125.0;

struct Rig {
  explicit Rig(uint64_t seed = 7) : random(seed) {}
  Random random;
  testing::RecordingSink sink;
  std::unique_ptr<Stage> stage;

  Stage& Build(SongRecord song, std::vector<PartRecord> parts, const StageSetup& setup) {
    stage = std::make_unique<Stage>(std::move(song), std::move(parts), setup, random, &sink);
    stage->Update(0);
    return *stage;
  }
  PressResult PressAt(int p, int16_t lane, double t) {
    stage->Update(static_cast<int32_t>(std::floor(t)));
    return stage->Press(p, lane, t);
  }
  void RunTo(int32_t t) {
    for (int32_t ms = stage->SongTime(); ms <= t; ++ms) stage->Update(ms);
  }
  void RunToEnd() {
    for (int32_t ms = stage->SongTime(); stage->EndState() == 0 && ms < 10'000'000; ++ms) stage->Update(ms);
  }
};

StageSetup HumanVersusIdle() {
  StageSetup setup;
  setup.ComSkill = {-1, -1, 99, 99};
  return setup;
}

TEST(Stage, FourConsecutiveJustHitsScoreAndBonus) {
  for (int16_t judgeStyle : {int16_t{0}, int16_t{1}}) {
    Rig rig;
    StageSetup setup;
    setup.ComSkill = {-1, 100, 99, 99};
    setup.Settings.JudgeStyle = judgeStyle;
    setup.TourTotal = {1000, 0};
    Stage& stage = rig.Build(MakeSong(120, 4),
                             {MakePart(4, {{8, 1}, {10, 1}, {12, 1}, {14, 1}, {16, 1}}), MakePart(4, {{30, 2}})},
                             setup);
    for (int32_t s : {8, 10, 12, 14, 16}) {
      EXPECT_EQ(rig.PressAt(0, 1, s * kStepMs).Category, JudgeJust) << s;
    }
    const auto& p0 = stage.Player(0);
    EXPECT_EQ(p0.StagePoints, 200 + 400 + 600 + 800 + 800);
    EXPECT_EQ(p0.TourTotal, 1000 + 2800);
    EXPECT_EQ(p0.ComboCount, 5);
    EXPECT_EQ(p0.JudgeCount[JudgeJust], 5);
    std::vector<JudgeDisplayCode> codes;
    for (int i = 0; i < 5; ++i) codes.push_back(stage.JudgeDisplay().Entries(0)[static_cast<size_t>(i)].Code);
    const std::vector<JudgeDisplayCode> expected = {DisplayJust4, DisplayJust3, DisplayJust2, DisplayJust9,
                                                    judgeStyle == 0 ? DisplayJust9 : DisplayJust1};
    EXPECT_EQ(codes, expected);
    // Five chips in the block: each just costs the rival 15, the fourth is a bonus (x 0.95).
    EXPECT_EQ(stage.Gauge(1), 892);
    EXPECT_EQ(stage.Gauge(0), 1000);
    rig.RunTo(2400);
    EXPECT_EQ(stage.Damage(1).Count(), 4);  // floor(108 / 25)
    EXPECT_EQ(stage.Damage(0).Count(), 0);
  }
}

TEST(Stage, BlankPressesForgivenInTheIntroCountedAfterUnlessAssisted) {
  struct Case { int16_t assist; int16_t gaugeAfter; };
  for (const Case& c : {Case{0, 1000 - 5 - 13}, Case{1, 1000}}) {
    Rig rig;
    StageSetup setup = HumanVersusIdle();
    setup.AssistFlag = {c.assist, 0};
    // Two intro bars; chips in the intro still count.
    Stage& stage = rig.Build(MakeSong(120, 4, 2), {MakePart(4, {{4, 1}, {6, 2}, {40, 3}, {44, 4}}),
                                                  MakePart(4, {{33, 1}, {60, 1}})},
                             setup);
    rig.PressAt(0, 1, 4 * kStepMs);
    rig.PressAt(0, 2, 6 * kStepMs);
    EXPECT_EQ(rig.PressAt(0, 4, 10 * kStepMs).ReplayCode, 0);  // a blank press in the intro
    EXPECT_EQ(stage.Player(0).ComboCount, 2);
    EXPECT_EQ(stage.Player(0).JudgeCount[JudgeMiss], 0);
    rig.RunTo(static_cast<int32_t>(34 * kStepMs));
    const int16_t before = stage.Gauge(0);
    ASSERT_EQ(before, 1000);
    const PressResult blank = rig.PressAt(0, 4, 35 * kStepMs);
    EXPECT_EQ(blank.ReplayCode, 5);
    EXPECT_EQ(stage.Player(0).JudgeCount[JudgeMiss], 1);
    EXPECT_EQ(stage.Player(0).ComboCount, 0);
    EXPECT_EQ(stage.Player(0).MaxCombo, 2);
    rig.RunTo(static_cast<int32_t>(42 * kStepMs));  // the chip at 40 passes unhit
    EXPECT_EQ(stage.Player(0).JudgeCount[JudgeMiss], 2);
    EXPECT_EQ(stage.Gauge(0), c.gaugeAfter) << c.assist;
  }
}

TEST(Stage, ChipsBecomeMissesTwoStepsLateAndStaySettled) {
  Rig rig;
  Stage& stage = rig.Build(MakeSong(120, 4), {MakePart(4, {{8, 1}}), MakePart(4, {{9, 1}})}, HumanVersusIdle());
  rig.RunTo(static_cast<int32_t>(10 * kStepMs) - 1);
  EXPECT_EQ(stage.Player(0).JudgeCount[JudgeMiss], 0);
  rig.RunTo(static_cast<int32_t>(10 * kStepMs));
  EXPECT_EQ(stage.Player(0).JudgeCount[JudgeMiss], 1);
  EXPECT_EQ(stage.Gauge(0), 987);
  // Even with a window reaching past two steps, a passed chip is not struck as well.
  EXPECT_EQ(rig.PressAt(0, 1, 10 * kStepMs).Step, -1);
  EXPECT_EQ(stage.Player(0).JudgeCount[JudgeMiss], 2);
}

TEST(Stage, EveryStepPassedInOneIterationIsProcessedInOrder) {
  Rig rig;
  StageSetup setup;
  setup.ComSkill = {-1, 100, 99, 99};
  PartRecord automatic = MakePart(4, RegularChips(8, 12, 1));
  for (int32_t s = 8; s <= 12; ++s) automatic.ChipSounds[static_cast<size_t>(s) * 4] = static_cast<int16_t>(s - 8);
  setup.SoundSlots = {{1}, {2}, {20, 21, 22, 23, 24}};
  Stage& stage = rig.Build(MakeSong(120, 4), {MakePart(4, RegularChips(8, 10, 1)), MakePart(4, RegularChips(8, 12, 1)),
                                              automatic},
                           setup);
  stage.Update(static_cast<int32_t>(13 * kStepMs));  // one slow frame over six steps
  EXPECT_EQ(stage.LastStep(), 13);
  EXPECT_EQ(stage.Player(0).JudgeCount[JudgeMiss], 3);   // steps 8, 9, 10
  EXPECT_EQ(stage.Player(1).JudgeCount[JudgeJust], 5);   // the computer struck 8..12
  EXPECT_EQ(stage.Player(1).StagePoints, 200 + 400 + 600 + 800 + 800);
  const std::vector<int16_t> played = rig.sink.Played();
  const std::vector<int16_t> automaticSounds(played.end() - 5, played.end());
  EXPECT_EQ(automaticSounds, (std::vector<int16_t>{20, 21, 22, 23, 24}));
  EXPECT_EQ(std::count(played.begin(), played.end(), 2), 5);
}

TEST(Stage, ComputerSkillDecidesJudgementsAndNeverTouchesTheTour) {
  struct Case { int16_t skill; };
  for (const Case& c : {Case{100}, Case{0}}) {
    Rig rig(c.skill + 11);
    StageSetup setup;
    setup.ComSkill = {-1, c.skill, 99, 99};
    setup.TourTotal = {0, 4321};
    setup.MenuChoice = TitleCode::FreeMode;  // free mode: the idle human is never knocked out
    Stage& stage = rig.Build(MakeSong(120, 40), {MakePart(40, {{600, 1}}), MakePart(40, RegularChips(0, 639, 1))},
                             setup);
    rig.RunToEnd();
    const auto& com = stage.Player(1);
    EXPECT_EQ(com.TourTotal, 4321);
    EXPECT_EQ(com.JudgeCount[JudgeMiss], 0);
    if (c.skill == 100) {
      EXPECT_EQ(com.JudgeCount[JudgeJust], 640);
      EXPECT_EQ(com.StagePoints, 1200 + 800 * 637);
      EXPECT_EQ(com.StageScore, 100);
    } else {
      EXPECT_EQ(com.JudgeCount[JudgeJust], 0);
      for (Judgement category : {JudgeEarly, JudgeLate, JudgeFar}) {
        EXPECT_NEAR(com.JudgeCount[category], 640 / 3, 45) << static_cast<int>(category);
      }
    }
  }
}

TEST(Stage, KnockOutAfterExactlySixBarsBelowAQuarterButNotInFreeModeOrTutorial) {
  for (TitleCode menu : {TitleCode::SingleTour, TitleCode::FreeMode, TitleCode::TutorialStages}) {
    Rig rig;
    StageSetup setup;
    setup.ComSkill = {-1, 100, 99, 99};
    setup.MenuChoice = menu;
    const auto every = RegularChips(0, 16 * 40 - 1, 1);
    Stage& stage = rig.Build(MakeSong(120, 40), {MakePart(40, every), MakePart(40, every)}, setup);
    if (menu != TitleCode::SingleTour) {
      rig.RunToEnd();
      EXPECT_EQ(stage.EndState(), 1) << static_cast<int>(menu);
      EXPECT_EQ(stage.Player(0).KnockedOut, 0) << static_cast<int>(menu);
      EXPECT_LT(stage.Gauge(0), 250) << static_cast<int>(menu);
      continue;
    }
    int32_t dangerStart = 0;
    bool sawKnockOut = false;
    for (int32_t ms = 0; ms < 60000 && !sawKnockOut; ++ms) {
      stage.Update(ms);
      const auto& p0 = stage.Player(0);
      if (dangerStart == 0 && p0.DangerTime > 0) dangerStart = p0.DangerTime;
      if (dangerStart == 0) continue;
      ASSERT_LT(stage.Gauge(0), 250);
      const bool due = stage.CurTick() - dangerStart >= kKnockOutTicks;
      ASSERT_EQ(p0.KnockedOut != 0, due) << "tick " << stage.CurTick();
      sawKnockOut = due;
    }
    ASSERT_TRUE(sawKnockOut);
    EXPECT_EQ(stage.EndState(), 2);  // the only human is out
    const int16_t missesAtKnockOut = stage.Player(0).JudgeCount[JudgeMiss];
    EXPECT_EQ(stage.Press(0, 1, stage.SongTime()).Judged, false);
    while (stage.CurTick() - dangerStart < kKnockOutShownTicks) {
      EXPECT_EQ(stage.Player(0).DangerTime, dangerStart);
      stage.Update(stage.SongTime() + 1);
    }
    EXPECT_EQ(stage.Player(0).DangerTime, -1);
    EXPECT_EQ(stage.Player(0).JudgeCount[JudgeMiss], missesAtKnockOut);
  }
}

TEST(Stage, HiSpeedDoublesStepsButKeepsTimesAndWindows) {
  struct Case { PerPlayer<int16_t> laneOpt; int32_t limit; int32_t chipStep; };
  for (const Case& c : {Case{{LaneHiSpeed, 0}, 128, 16}, Case{{0, LaneHiSpeed}, 64, 8}}) {
    Rig rig;
    StageSetup setup = HumanVersusIdle();
    setup.LaneOpt = c.laneOpt;
    Stage& stage = rig.Build(MakeSong(120, 4), {MakePart(4, {{8, 1}}), MakePart(4, {{8, 2}})}, setup);
    EXPECT_EQ(stage.StepLimit(), c.limit);
    const JudgeWindows expected = SetJudgeWindows(120, 0, 0, 0);
    EXPECT_EQ(stage.Windows().WinFarLate, expected.WinFarLate);
    EXPECT_EQ(stage.Windows().WinNearLate, expected.WinNearLate);
    const PressResult press = rig.PressAt(0, 1, 1000 + 20);
    EXPECT_EQ(press.Step, c.chipStep);
    EXPECT_EQ(press.Category, JudgeJust);
    EXPECT_DOUBLE_EQ(press.Delta, 20.0);
  }
}

TEST(Stage, SeededStagesRepeatExactly) {
  auto play = [](uint64_t seed) {
    Rig rig(seed);
    StageSetup setup;
    setup.ComSkill = {60, 40, 99, 99};
    setup.LaneOpt = {LaneRandom, LanePanic};
    const auto chips = RegularChips(0, 16 * 16 - 1, 1);
    Stage& stage = rig.Build(MakeSong(150, 16), {MakePart(16, chips), MakePart(16, chips)}, setup);
    rig.RunToEnd();
    std::vector<int32_t> out;
    for (int p = 0; p < 2; ++p) {
      const auto& pl = stage.Player(p);
      out.insert(out.end(), pl.JudgeCount.begin(), pl.JudgeCount.end());
      out.insert(out.end(), {pl.StagePoints, pl.MaxCombo, stage.Gauge(p)});
      out.insert(out.end(), stage.Chart(p).StepWords.begin(), stage.Chart(p).StepWords.end());
    }
    return out;
  };
  EXPECT_EQ(play(3), play(3));
  EXPECT_NE(play(3), play(4));
}

TEST(Stage, EndsAtTheLastBarOrWhenCutWithScoresAndMaxCombo) {
  for (const bool cut : {true, false}) {
    Rig rig;
    StageSetup setup = HumanVersusIdle();
    setup.MenuChoice = TitleCode::FreeMode;
    setup.SoundSlots = {{5}, {6}};
    Stage& stage = rig.Build(MakeSong(120, 2), {MakePart(2, RegularChips(0, 12, 2)), MakePart(2, {})}, setup);
    for (int32_t s : {0, 2, 4}) rig.PressAt(0, stage.Chart(0).StepWords[static_cast<size_t>(s)], s * kStepMs);
    if (cut) {
      stage.Cut();  // ends at once, with the normal score
    } else {
      rig.RunTo(static_cast<int32_t>(32 * kStepMs) - 1);
      EXPECT_EQ(stage.EndState(), 0);
      rig.RunTo(static_cast<int32_t>(32 * kStepMs));
    }
    EXPECT_EQ(stage.EndState(), 1) << cut;
    EXPECT_EQ(stage.Player(0).StageScore, 42) << cut;  // 3 of 7
    EXPECT_EQ(stage.Player(1).StageScore, 0) << cut;   // no chips: no score, no division
    EXPECT_EQ(stage.Player(0).MaxCombo, 3) << cut;
    // After the end presses are no longer judged, but they still sound.
    const size_t plays = rig.sink.Played().size();
    EXPECT_FALSE(stage.Press(0, stage.Chart(0).StepWords[4], 4100).Judged) << cut;
    EXPECT_EQ(rig.sink.Played().size(), plays + 1) << cut;
    if (!cut) { EXPECT_EQ(stage.Player(0).JudgeCount[JudgeMiss], 4); }
  }
}

TEST(Stage, SurvivalStyleFailsWhenTheGaugeRunsOut) {
  Rig rig;
  StageSetup setup = HumanVersusIdle();
  setup.PlayStyle = 3;
  setup.ComSkill[2] = 100;
  setup.RunLife = {150, 0};
  Stage& stage = rig.Build(MakeSong(120, 4), {MakePart(4, {{4, 1}, {6, 1}}), MakePart(4, {})}, setup);
  EXPECT_EQ(stage.Gauge(0), 150);
  rig.RunTo(static_cast<int32_t>(7 * kStepMs));
  EXPECT_EQ(stage.Gauge(0), 50);
  EXPECT_EQ(stage.EndState(), 0);
  rig.RunTo(static_cast<int32_t>(8 * kStepMs));
  EXPECT_EQ(stage.EndState(), 2);
  EXPECT_EQ(stage.RunLife()[0], 0);
}

TEST(Stage, EndlessRunCarriesTheCombo) {
  Rig rig;
  StageSetup setup = HumanVersusIdle();
  setup.RapidMode = -2;
  setup.RunLife = {1000, 6};
  Stage& stage = rig.Build(MakeSong(120, 2), {MakePart(2, {{4, 1}, {6, 1}}), MakePart(2, {})}, setup);
  rig.PressAt(0, 1, 4 * kStepMs);
  rig.PressAt(0, 1, 6 * kStepMs);
  EXPECT_EQ(stage.Player(0).StagePoints, 70 + 80);
  EXPECT_EQ(stage.JudgeDisplay().Entries(0)[1].Code, DisplayJust9);  // the 8th of the run
  rig.RunToEnd();
  EXPECT_EQ(stage.RunLife()[1], 8);
}

TEST(Stage, SongFourteenForgivesBlankPressesInItsStretches) {
  struct Case { int16_t songIndex; int32_t step; int16_t counted; };
  for (const Case& c : {Case{14, 100, 0}, Case{14, 300, 1}, Case{14, 1700, 0}, Case{3, 100, 1}}) {
    Rig rig;
    StageSetup setup = HumanVersusIdle();
    setup.SongIndex = c.songIndex;
    setup.MenuChoice = TitleCode::FreeMode;
    Stage& stage = rig.Build(MakeSong(120, 120), {MakePart(120, {}), MakePart(120, {})}, setup);
    rig.PressAt(0, 2, c.step * kStepMs);
    EXPECT_EQ(stage.Player(0).JudgeCount[JudgeMiss], c.counted) << c.songIndex << " " << c.step;
  }
}

TEST(Stage, PlayersOnOnePartKeepTheirOwnOptions) {
  Rig rig;
  StageSetup setup = HumanVersusIdle();
  setup.PlayerPart = {0, 0};
  setup.LaneOpt = {LaneMirror, 0};
  Stage& stage = rig.Build(MakeSong(120, 1), {MakePart(1, {{0, 1}, {1, 2}})}, setup);
  EXPECT_EQ(stage.Chart(0).StepWords[0], 4);
  EXPECT_EQ(stage.Chart(1).StepWords[0], 1);
  EXPECT_EQ(stage.Parts()[0].StepWords[0], 1);
}

TEST(Stage, PressSoundsTheLanesLastChipEvenWhenBlank) {
  Rig rig;
  StageSetup setup = HumanVersusIdle();
  setup.SoundSlots = {{5}, {6}};
  Stage& stage = rig.Build(MakeSong(120, 4), {MakePart(4, {{8, 3}}), MakePart(4, {})}, setup);
  rig.PressAt(0, 3, 100);  // nothing struck on lane 3 yet: silent
  EXPECT_TRUE(rig.sink.Played().empty());
  rig.PressAt(0, 3, 8 * kStepMs);
  rig.PressAt(0, 3, 20 * kStepMs);  // blank: replays the lane's last chip
  EXPECT_EQ(rig.sink.Played(), (std::vector<int16_t>{5, 5}));
  EXPECT_EQ(stage.Player(0).LastLaneStep[3], 8);
}

TEST(Stage, ReplayPressesForceTheirJudgement) {
  Rig rig;
  StageSetup setup = HumanVersusIdle();
  setup.ReplayPlayback = {true, false};
  Stage& stage = rig.Build(MakeSong(120, 4), {MakePart(4, {{8, 1}, {12, 2}}), MakePart(4, {})}, setup);
  EXPECT_FALSE(stage.Press(0, 1, 1000).Judged);  // live keys do not drive a replay
  stage.Update(1000);
  ReplayInput late{0, 1, 960, 8, kReplayLate};
  EXPECT_EQ(stage.ReplayPress(late).Category, JudgeLate);
  ReplayInput again{0, 1, 960, 8, kReplayJust};  // the chip is taken: blank
  EXPECT_EQ(stage.ReplayPress(again).ReplayCode, 5);
  stage.Update(1500);
  ReplayInput measured{0, 2, 1440, std::nullopt, std::nullopt};
  EXPECT_EQ(stage.ReplayPress(measured).Category, JudgeJust);
}

TEST(Stage, TrainingStartsPartWayWithoutMissingEarlierChips) {
  Rig rig;
  StageSetup setup = HumanVersusIdle();
  setup.StartStep = 32;
  setup.MenuChoice = TitleCode::FreeMode;
  Stage& stage = rig.Build(MakeSong(120, 4), {MakePart(4, RegularChips(0, 40, 1)), MakePart(4, {})}, setup);
  EXPECT_EQ(stage.SongTime(), 4000);
  rig.RunTo(static_cast<int32_t>(36 * kStepMs));
  EXPECT_EQ(stage.Player(0).JudgeCount[JudgeMiss], 3);  // 32, 33, 34 only
}

TEST(Stage, BadChartsAndPartIndicesDoNotBreakTheStage) {
  Rig rig;
  StageSetup setup = HumanVersusIdle();
  setup.PlayerPart = {7, -1};  // no such parts: empty charts
  PartRecord broken = MakePart(2, {{3, 9}, {4, -2}, {5, 2}});
  broken.ChipSounds.resize(3);  // slot tables shorter than the step table
  setup.SoundSlots = {{1}};
  Stage& stage = rig.Build(MakeSong(120, 2), {broken}, setup);
  EXPECT_EQ(stage.Parts()[0].StepWords[3], 0);
  EXPECT_EQ(stage.Parts()[0].StepWords[4], 0);
  EXPECT_FALSE(stage.Press(0, 1, 10).Step >= 0);
  rig.RunToEnd();
  EXPECT_EQ(stage.EndState(), 1);
}

}  // namespace
}  // namespace tessaru
