#include "stage/simulation.h"

#include <gtest/gtest.h>

#include <vector>

#include "stage/tempo_map.h"
#include "stage/tests/stage_fixtures.h"

namespace tessaru {
namespace {

using testing::MakePart;
using testing::MakeSong;
using testing::RegularChips;

TEST(Simulation, ScriptedPressesLandInTheirCategories) {
  const SongRecord tempoMap = testing::MakeTempoMap({{0, 133.0}, {1920 * 3, 171.5}, {1920 * 6, 97.0}}, 10);
  const SongRecord plain = MakeSong(120, 10);  // windows: early 25/50/125, late 33/108/233
  struct Case { const SongRecord* song; double shift; Judgement category; };
  const Case cases[] = {{&tempoMap, 0, JudgeJust}, {&plain, -25, JudgeJust}, {&plain, -26, JudgeEarly},
                        {&plain, -51, JudgeFar},   {&plain, 33, JudgeJust},   {&plain, 34, JudgeLate},
                        {&plain, 109, JudgeFar},   {&plain, 233, JudgeFar}};
  const auto chips = RegularChips(4, 150, 4);
  for (const Case& c : cases) {
    std::vector<ScriptedPress> presses;
    for (auto [step, lane] : chips) presses.push_back({StepToTime(*c.song, step) + c.shift, 0, lane});
    Random random(2);
    StageSetup setup;
    setup.ComSkill = {-1, 100, 99, 99};
    setup.MenuChoice = TitleCode::FreeMode;
    Stage stage(*c.song, {MakePart(10, chips), MakePart(10, RegularChips(0, 159, 4))}, setup, random);
    ASSERT_TRUE(RunSimulation(stage, presses)) << c.shift;
    EXPECT_EQ(stage.EndState(), 1) << c.shift;
    EXPECT_EQ(stage.LastStep(), 160) << c.shift;
    EXPECT_EQ(stage.Player(0).JudgeCount[c.category], static_cast<int16_t>(chips.size())) << c.shift;
    if (c.shift == 0) { EXPECT_EQ(stage.Player(0).StageScore, 100); }
  }
}

TEST(Simulation, GivesUpOnASongThatCannotFinish) {
  Random random(3);
  StageSetup setup;
  setup.MenuChoice = TitleCode::FreeMode;
  Stage stage(MakeSong(0.0001, 8), {MakePart(8, {}), MakePart(8, {})}, setup, random);
  EXPECT_FALSE(RunSimulation(stage, {}, 5000));
  EXPECT_EQ(stage.EndState(), 0);
  EXPECT_GE(stage.SongTime(), 5000);
}

TEST(ParsePressScript, ReadsLinesAndNamesTheBadOne) {
  std::string error;
  const auto presses = ParsePressScript("1000,1\r\n\n 1250.5 , 4\n1250.5,2", error);
  ASSERT_TRUE(error.empty()) << error;
  ASSERT_EQ(presses.size(), 3u);
  EXPECT_DOUBLE_EQ(presses[1].TimeMs, 1250.5);
  EXPECT_EQ(presses[1].Lane, 4);
  EXPECT_EQ(presses[2].Player, 0);
  struct Case { const char* text; const char* error; };
  for (const Case& c : {Case{"100,1\n50,2", "line 2: presses must be in time order"},
                        Case{"100,5", "line 1: lane must be 1 to 4"},
                        Case{"1\n100;1", "line 1: expected \"songTimeMs,lane\""},
                        Case{"100,1x", "line 1: expected \"songTimeMs,lane\""},
                        Case{"-3,1", "line 1: time out of range"},
                        Case{"1e300,1", "line 1: time out of range"}}) {
    EXPECT_TRUE(ParsePressScript(c.text, error).empty());
    EXPECT_EQ(error, c.error) << c.text;
  }
}

}  // namespace
}  // namespace tessaru
