#include "stage/replay_playback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "stage/lane_options.h"
#include "stage/simulation.h"
#include "stage/stage.h"
#include "stage/tempo_map.h"
#include "stage/tests/stage_fixtures.h"

namespace tessaru {
namespace {

using testing::MakePart;
using testing::MakeSong;
using testing::MakeTempoMap;
using testing::RegularChips;

struct Played { StagePlayer player; int16_t gauge = 0; ReplayRecord capture; };

// Plays one stage for player 1 (a human or a replay) against a computer of skill 60.
Played Play(const SongRecord& song, const std::vector<PartRecord>& parts, StageSetup setup,
            const std::vector<ScriptedPress>& presses) {
  Random random(11);
  setup.ComSkill = {-1, 60, 99, 99};
  setup.MenuChoice = TitleCode::FreeMode;
  Stage stage(song, parts, setup, random);
  EXPECT_TRUE(RunSimulation(stage, presses));
  return {stage.Player(0), stage.Gauge(0), stage.Capture(0)};
}

ReplayRecord AsVersion(ReplayRecord r, int16_t version) {
  r.Version = version;
  if (version < 2) std::fill(r.EvStep.begin(), r.EvStep.end(), int16_t{0});
  return r;
}

TEST(ReplayPlayback, APlayedStageIsRepeatedExactly) {
  struct Case { const char* name; SongRecord song; int16_t judgeOffset; };
  // 137.3 BPM puts steps on fractions of a millisecond; an offset of 40 makes the early
  // just window negative, so only a forced category can repeat the early hits.
  const std::vector<Case> cases = {
      {"120 BPM", MakeSong(120, 8, 1), 0},
      {"tempo change", MakeTempoMap({{0, 137.3}, {3840, 91.7}}, 8), 0},
      {"offset 40", MakeSong(150, 8, 1), 40},
  };
  for (const Case& c : cases) {
    SongRecord song = c.song;
    song.IntroBars = 1;
    const std::vector<PartRecord> parts = {MakePart(8, RegularChips(16, 120, 2)), MakePart(8, RegularChips(16, 127, 1))};
    StageSetup setup;
    setup.Settings.JudgeOffset = c.judgeOffset;
    std::vector<ScriptedPress> presses = {{300.5, 0, 3}};  // in the intro, at nothing
    const PartRecord& chart = parts[0];
    for (int32_t s = 16; s < 120; s += 2) {
      const double at = StepToTime(song, s);
      const int16_t lane = chart.StepWords[static_cast<size_t>(s)];
      const int kind = s % 14;  // just, early, late, far, missed, blank beside a chip, two at once
      if (kind == 8) continue;
      const double offset =
          kind == 2 ? -45.25 : kind == 4 ? 70.5 : kind == 6 ? 150 : kind == 10 ? -5.5 : kind == 12 ? -190 : 3.75;
      presses.push_back({at + offset, 0, lane});
      if (kind == 10) presses.push_back({at + 20, 0, static_cast<int16_t>(lane % 4 + 1)});
    }
    std::stable_sort(presses.begin(), presses.end(),
                     [](const ScriptedPress& a, const ScriptedPress& b) { return a.TimeMs < b.TimeMs; });
    const Played live = Play(song, parts, setup, presses);
    ASSERT_EQ(live.capture.EventCount, static_cast<int32_t>(presses.size())) << c.name;
    EXPECT_EQ(live.capture.EvJudge[0], kReplayNoJudgement) << c.name;
    for (Judgement category : {JudgeJust, JudgeEarly, JudgeLate, JudgeFar, JudgeMiss}) {
      EXPECT_GT(live.player.JudgeCount[category], 0) << c.name << " " << static_cast<int>(category);
    }

    for (int16_t version : {int16_t{2}, int16_t{1}}) {
      StageSetup replay = setup;
      replay.ReplayPlayback = {true, false};
      replay.Replays[0] = AsVersion(live.capture, version);
      const Played back = Play(song, parts, replay, {});
      const auto& [a, b] = std::tie(live.player, back.player);
      EXPECT_EQ(std::tuple(b.JudgeCount, b.StagePoints, b.MaxCombo, b.ComboCount, b.StageScore, back.gauge),
                std::tuple(a.JudgeCount, a.StagePoints, a.MaxCombo, a.ComboCount, a.StageScore, live.gauge))
          << c.name << " v" << version << ": counts, points, max combo, combo, score, gauge";
      EXPECT_EQ(back.capture.EventCount, 0) << "a replay is not captured again";
    }
  }
}

TEST(ReplayPlayback, CaptureKeepsFiveThousandPressesAndCodes) {
  SongRecord song = MakeSong(120, 8, 1);
  const std::vector<PartRecord> parts = {MakePart(8, {{20, 1}, {24, 2}}), MakePart(8, {})};
  std::vector<ScriptedPress> presses = {{100, 0, 4}, {20 * 125.0 - 10, 0, 1}, {24 * 125.0 + 40, 0, 2}};
  for (int i = 0; i < kReplayMaxEvents - 2; ++i) presses.push_back({6000.0 + i, 0, 4});
  const Played live = Play(song, parts, {}, presses);
  ASSERT_EQ(presses.size(), static_cast<size_t>(kReplayMaxEvents) + 1);
  EXPECT_EQ(live.capture.EventCount, kReplayMaxEvents);
  // The 5001st press was still judged: a blank press like the ones before it.
  EXPECT_EQ(live.player.JudgeCount[JudgeMiss], kReplayMaxEvents - 2);
  EXPECT_EQ(std::vector<int16_t>(live.capture.EvJudge.begin(), live.capture.EvJudge.begin() + 4),
            (std::vector<int16_t>{kReplayNoJudgement, kReplayJust, kReplayLate, kReplayBlank}));
  EXPECT_EQ(std::vector<int16_t>(live.capture.EvStep.begin(), live.capture.EvStep.begin() + 3),
            (std::vector<int16_t>{0, 20, 24}));
  EXPECT_EQ(live.capture.EvTick[1], TimeToTick(song, 20 * 125 - 10));
  EXPECT_EQ(live.capture.Part, 0);
}

TEST(ReplayPlayback, EventTimeIsTheFirstMillisecondOfTheTick) {
  struct Case { double bpm; int32_t tick; int32_t ms; };
  const std::vector<Case> cases = {{120, 0, 0}, {120, 1, 2}, {120, 960, 1000}, {60, 1, 3}, {300, 3, 2}, {300, 5, 3}};
  for (const Case& c : cases) {
    const SongRecord song = MakeSong(c.bpm, 8);
    const int32_t at = ReplayEventTime(song, c.tick);
    EXPECT_EQ(at, c.ms) << c.bpm << " " << c.tick;
    EXPECT_GE(TimeToTick(song, at), c.tick);
    if (at > 0) {
      EXPECT_LT(TimeToTick(song, at - 1), c.tick);
    }
  }
  EXPECT_EQ(ReplayEventTime(MakeSong(10, 8), 2'000'000'000), INT32_MAX);  // never due
}

TEST(ReplayPlayback, ReplaysThatDoNotFitTheChartAreRefused) {
  const PartRecord chart = MakePart(2, {{4, 1}});
  ReplayRecord r;
  r.Part = 3;
  r.Append(10, 1, 31, kReplayJust);
  std::string reason;
  EXPECT_TRUE(ReplayFitsChart(r, 3, chart, reason)) << reason;
  EXPECT_FALSE(ReplayFitsChart(r, 2, chart, reason));
  EXPECT_NE(reason.find("part 3"), std::string::npos);
  r.Append(20, 1, 32, kReplayFar);
  EXPECT_FALSE(ReplayFitsChart(r, 3, chart, reason));
  EXPECT_NE(reason.find("outside the chart"), std::string::npos);
  r.EvJudge.back() = kReplayBlank;  // a blank press names no chip to judge
  EXPECT_TRUE(ReplayFitsChart(r, 3, chart, reason));
  r.EventCount = 3;  // a count the arrays do not hold
  EXPECT_FALSE(ReplayFitsChart(r, 3, chart, reason));
}

TEST(ReplayPlayback, AReplayDrivenPlayerIsNeverInDanger) {
  // A tour stage (knock-outs on) where the replay misses everything.
  Random random(3);
  StageSetup setup;
  setup.ComSkill = {50, 100, 99, 99};  // a computer side taken over by the replay
  setup.ReplayPlayback = {true, false};
  Stage stage(MakeSong(120, 24), {MakePart(24, RegularChips(0, 380, 1)), MakePart(24, RegularChips(0, 380, 1))},
              setup, random);
  ASSERT_TRUE(RunSimulation(stage, {}));
  EXPECT_EQ(stage.Player(0).KnockedOut, 0);
  EXPECT_EQ(stage.Player(0).DangerTime, 0);
  EXPECT_EQ(stage.Player(0).JudgeCount[JudgeJust], 0);  // it does not strike as a computer
  EXPECT_EQ(stage.Gauge(0), 0);
}

TEST(ReplayPlayback, PerfectReplayStrikesEveryChipPlayedJustOnItsTick) {
  // steps: the chips expected, in order.
  struct Case { const char* name; int16_t songBars; int32_t startStep, endStep; std::map<int32_t, int16_t> chips;
                std::vector<int32_t> steps; };
  // Chips on the first and the last step of 2 bars; lane words outside 1..4 carry none.
  const std::map<int32_t, int16_t> edges = {{0, 1}, {5, 7}, {17, 4}, {31, 2}};
  const std::vector<Case> cases = {
      {"whole song", 2, 0, 0, edges, {0, 17, 31}},
      {"from a later step", 2, 17, 0, edges, {17, 31}},
      {"a negative start is the first step", 2, -5, 0, edges, {0, 17, 31}},
      {"the end step is not played", 2, 0, 31, edges, {0, 17}},
      {"the song's bars end the chart", 1, 0, 0, edges, {0}},
      {"an end beyond the chart", 2, 0, 900, edges, {0, 17, 31}},
      {"no chips", 2, 0, 0, {}, {}},
  };
  for (const Case& c : cases) {
    const SongRecord song = MakeSong(120, c.songBars);
    const ReplayRecord r = PerfectReplay(song, MakePart(2, c.chips), 6, c.startStep, c.endStep);
    EXPECT_EQ(r.Part, 6) << c.name;
    EXPECT_EQ(r.Version, kReplayVersion) << c.name;
    ASSERT_EQ(r.EventCount, static_cast<int32_t>(c.steps.size())) << c.name;
    ASSERT_EQ(PlayableEvents(r), c.steps.size()) << c.name;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      EXPECT_EQ(r.EvStep[i], c.steps[i]) << c.name;
      EXPECT_EQ(r.EvTick[i], c.steps[i] * kTicksPerStep) << c.name;
      EXPECT_EQ(r.EvLane[i], c.chips.at(c.steps[i])) << c.name;
      EXPECT_EQ(r.EvJudge[i], kReplayJust) << c.name;
    }
  }
}

TEST(ReplayPlayback, AnAutoplayedSideScoresEveryChipJustAndIgnoresItsKeys) {
  // replaySide: the side already plays a replay back.
  struct Case { const char* name; int side; int16_t laneOpt; PerPlayer<int16_t, 4> skills; bool replaySide;
                bool autoplayed; };
  const std::vector<Case> cases = {
      {"1P by hand", 0, LaneNone, {-1, 60, 99, 99}, false, true},
      {"2P by hand", 1, LaneNone, {60, -1, 99, 99}, false, true},
      {"with its lane option", 0, LaneMirror, {-1, 60, 99, 99}, false, true},
      {"on HI-SPEED's doubled song", 0, LaneHiSpeed, {-1, 60, 99, 99}, false, true},
      {"1P in a tour, 2P by hand too", 0, LaneNone, {-1, -1, 99, 99}, false, true},
      {"a computer side stays a computer", 1, LaneNone, {-1, 60, 99, 99}, false, false},
      {"a replay side plays its replay", 0, LaneNone, {-1, 60, 99, 99}, true, false},
  };
  const SongRecord song = MakeSong(150, 8, 1);
  const std::vector<PartRecord> parts = {MakePart(8, RegularChips(0, 127, 3)), MakePart(8, RegularChips(2, 126, 2))};
  for (const Case& c : cases) {
    StageSetup setup;
    setup.ComSkill = c.skills;
    setup.MenuChoice = TitleCode::SingleTour;
    setup.LaneOpt[c.side] = c.laneOpt;
    setup.Autoplay[c.side] = true;
    setup.ReplayPlayback[c.side] = c.replaySide;  // an empty replay: no press at all
    Random random(5);
    Stage stage(song, parts, setup, random);
    // Keys of that side past the intro, on every lane near its chips, are not its presses.
    std::vector<ScriptedPress> keys;
    for (int16_t lane = 1; lane <= 4; ++lane) keys.push_back({StepToTime(song, 40) + 45, c.side, lane});
    ASSERT_TRUE(RunSimulation(stage, keys)) << c.name;
    const StagePlayer& player = stage.Player(c.side);
    EXPECT_EQ(stage.Autoplayed(c.side), c.autoplayed) << c.name;
    EXPECT_FALSE(stage.Autoplayed(1 - c.side)) << c.name;
    if (!c.autoplayed) continue;
    EXPECT_FALSE(stage.IsComputer(c.side)) << c.name;
    EXPECT_EQ(player.JudgeCount[JudgeJust], stage.Chart(c.side).ChipTotal) << c.name;
    EXPECT_EQ(player.JudgeCount[JudgeMiss], 0) << c.name;
    EXPECT_EQ(player.StageScore, 100) << c.name;
    EXPECT_EQ(player.MaxCombo, stage.Chart(c.side).ChipTotal) << c.name;
    EXPECT_EQ(player.TourTotal, player.StagePoints) << c.name << ": added to the tour as a player's";
    EXPECT_TRUE(player.PressDeltas.empty()) << c.name;
    EXPECT_EQ(stage.Capture(c.side).EventCount, 0) << c.name;
  }
}

TEST(ReplayPlayback, OnlyAHandPlayedChartAsWrittenMayBeSaved) {
  struct Case { const char* name; void (*change)(StageSetup&); bool allowed; };
  const std::vector<Case> cases = {
      {"free mode", [](StageSetup&) {}, true},
      {"lane option", [](StageSetup& s) { s.LaneOpt[0] = 1; }, false},
      {"other side's lane option", [](StageSetup& s) { s.LaneOpt[1] = 5; }, true},
      {"computer", [](StageSetup& s) { s.ComSkill[0] = 0; }, false},
      {"played back", [](StageSetup& s) { s.ReplayPlayback[0] = true; }, false},
      {"autoplayed", [](StageSetup& s) { s.Autoplay[0] = true; }, false},
      {"other side autoplayed", [](StageSetup& s) { s.Autoplay[1] = true; }, true},
      {"special run", [](StageSetup& s) { s.RapidMode = -1; }, false},
      {"tutorial", [](StageSetup& s) { s.MenuChoice = TitleCode::TutorialStages; }, false},
      {"beginner", [](StageSetup& s) { s.MenuChoice = TitleCode::Beginner; }, false},
  };
  for (const Case& c : cases) {
    StageSetup setup;
    setup.ComSkill = {-1, 50, 99, 99};
    setup.MenuChoice = TitleCode::FreeMode;
    c.change(setup);
    EXPECT_EQ(ReplaySaveAllowed(setup, 0), c.allowed) << c.name;
  }
}

}  // namespace
}  // namespace tessaru
