#include "stage/play/play_stage.h"

#include <cstdlib>
#include <iostream>

#include <gtest/gtest.h>

#include "stage/judgement.h"
#include "stage/play/tests/play_test_rig.h"
#include "stage/tempo_map.h"

namespace tessaru::playtest {
namespace {

TEST(PlayStage, ShiftedPressesLandWhereTheWindowsSay) {
  // 120 BPM, JUDGEMODE 0: early 25 / 50 / 125, late 33 / 108 / 233; each edge from both
  // sides, fractions included.
  const std::vector<ShiftedPress> presses = {
      {0, JudgeJust},      {0.5, JudgeJust},   {-0.5, JudgeJust},  {25, JudgeJust},    {-25, JudgeJust},
      {25.5, JudgeJust},   {-25.5, JudgeEarly}, {26, JudgeJust},   {-26, JudgeEarly},  {33, JudgeJust},
      {33.5, JudgeLate},   {34, JudgeLate},    {-50, JudgeEarly},  {-50.5, JudgeFar},  {-51, JudgeFar},
      {108, JudgeLate},    {108.5, JudgeFar},  {109, JudgeFar},    {-125, JudgeFar},   {-126, JudgeMiss},
      {233, JudgeFar},     {233.5, JudgeMiss}, {234, JudgeMiss},   {-124.5, JudgeFar}};
  SongOptions song;
  for (size_t k = 0; k < presses.size(); ++k) {
    song.Chips.push_back({static_cast<int32_t>(8 * k + 8), static_cast<int16_t>(1 + k % 4)});
  }
  song.Bars = static_cast<int16_t>((8 * presses.size() + 8) / 16 + 2);
  PlayRig rig("shifted", song);
  PressChips(rig, song, LearnStart(rig), Shifts(presses));
  StageContext c = rig.Context();
  EXPECT_EQ(PlayStage(c), 0);
  const double worst = ExpectJudged(c.Outcome.Presses, presses);
  std::cout << "largest |judged d - given d|: " << worst << " ms\n";
  EXPECT_LT(worst, 0.5);
  EXPECT_GT(c.Outcome.FramesDrawn, 0u);
  EXPECT_TRUE(rig.Devices->Errors.Empty()) << rig.Devices->Errors.Text();
}

TEST(PlayStage, ResultCodesFromTheContinueAndGameOverWindows) {
  // PressAfterPromptMs: measured from the continue prompt; < 0: no press.
  struct SequenceCase { const char* Name; int16_t Style; double PressAfterPromptMs; bool Escape; int16_t Result;
                        bool Lost; bool ContinueAllowed = true; };
  SongOptions song;
  song.Bars = 2;
  song.Chips = {{4, 1}, {12, 2}};
  PlayRig rig("sequence", song);
  rig.Settings.MAXFPS = 5;
  StageContext probe = rig.Context();
  probe.Setup.PlayStyle = 2;  // SESSION: the shared gauge never fills without hits
  PlayStage(probe);
  rig.Reopen();
  ASSERT_TRUE(probe.Outcome.Lost);
  const double prompt = probe.Outcome.SequenceStartMs + 4500;
  const SequenceCase cases[] = {
      {"continue at once", 2, 100, false, -2, true},
      {"continue at the last moment", 2, 10900, false, -2, true},
      {"game over too early", 2, 11000 + 2900, false, 0, true},
      {"game over window opens", 2, 11000 + 3100, false, -3, true},
      {"game over window closes", 2, 11000 + 7900, false, -3, true},
      {"after the game over", 2, 11000 + 8100, false, 0, true},
      {"nobody presses", 2, -1, false, 0, true},
      {"escape at the prompt", 2, 500, true, -1, true},
      {"a won stage asks nothing", 0, 100, false, 0, false},
      {"free mode: lost, but no prompt", 2, 100, false, 0, true, false},
  };
  for (const SequenceCase& k : cases) {
    SCOPED_TRACE(k.Name);
    if (k.PressAfterPromptMs >= 0) rig.Key(prompt + k.PressAfterPromptMs, k.Escape ? kEscapeKey : kLaneKeys[1]);
    StageContext c = rig.Context();
    c.Setup.PlayStyle = k.Style;
    c.ContinueAllowed = k.ContinueAllowed;
    EXPECT_EQ(PlayStage(c), k.Result);
    EXPECT_EQ(c.Outcome.Lost, k.Lost);
    EXPECT_EQ(c.Outcome.QuitRequested, k.Result == -1);
    rig.Reopen();
  }
}

TEST(PlayStage, LostStageDefinition) {
  const std::array<bool, 2> p1Human{true, false};
  const std::array<bool, 2> both{true, true};
  EXPECT_TRUE(StageLost(0, 2, p1Human, {1, 0}, 500));
  EXPECT_FALSE(StageLost(0, 1, p1Human, {0, 1}, 0));
  EXPECT_FALSE(StageLost(0, 1, both, {1, 0}, 0));
  EXPECT_TRUE(StageLost(0, 2, both, {1, 1}, 0));
  EXPECT_FALSE(StageLost(0, 1, {false, false}, {0, 0}, 0));
  EXPECT_TRUE(StageLost(1, 1, p1Human, {0, 0}, 999));
  EXPECT_FALSE(StageLost(2, 1, p1Human, {0, 0}, 1000));
  EXPECT_TRUE(StageLost(3, 2, p1Human, {0, 0}, 0));
  EXPECT_FALSE(StageLost(3, 1, p1Human, {0, 0}, 1));
}

// Fills the page pool until only `free` more pages can be made.
void LeavePages(GraphLib& g, int free) {
  while (g.SurfaceCount() < GraphLib::kMaxSurfaces - free) ASSERT_GE(g.NewSurface(0, 0), 0);
}

TEST(PlayStage, SetUpFailuresStopTheStageWithTheirLine) {
  SongOptions song;
  song.Bars = 1;
  song.Chips = {{4, 1}};
  // FreePages -1: no limit; in Line "@" stands for the data folder, "$" for the song path.
  struct Case { const char* Name; FixtureOptions Data; int FreePages; int16_t DrawDance; std::string Line; };
  FixtureOptions noChips;
  noChips.ChipSheets = false;
  const Case cases[] = {
      {"no chip image", noChips, -1, 0, "@\\image\\chip.bmpの読み込みに失敗しました"},
      {"no work page", {}, 0, 0, "$ビデオメモリ不足のため画像保存領域の確保に失敗しました。"},
      {"no page for the dance", {}, 3, 0, "メモリ不足のためキャラダンスの画像保存領域の確保に失敗しました。"},
      {"no page for the animation", {}, 3, 1,
       "@\\songs\\test\\test.z4bの読み込みでメモリ不足のため画像保存領域の確保に失敗しました。"},
  };
  int index = 0;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    PlayRig rig(k.Data.ChipSheets ? "failures" : "failures-nochips" + std::to_string(index++), song, k.Data);
    GraphLib& g = *rig.Devices->Graph;
    if (k.FreePages >= 0) LeavePages(g, k.FreePages);
    const int32_t pagesBefore = g.SurfaceCount();
    rig.Settings.DRAWDANCE = k.DrawDance;
    StageContext c = rig.Context();
    EXPECT_EQ(PlayStage(c), -1);
    EXPECT_TRUE(c.Outcome.QuitRequested);
    std::string line = k.Line;
    if (line[0] == '@') line = rig.Data + line.substr(1);
    if (line[0] == '$') line = rig.Song.SongPath + line.substr(1);
    EXPECT_NE(rig.Devices->Errors.Text().find(line + "\r\n"), std::string::npos) << rig.Devices->Errors.Text();
    EXPECT_EQ(g.SurfaceCount(), pagesBefore);
  }
}

TEST(PlayStage, MissingTrackLeavesTheStageOnTheTickClock) {
  SongOptions song;
  song.Bars = 2;
  song.Chips = {{4, 1}, {12, 2}};
  song.TrackMs = -1;
  PlayRig rig("notrack", song);
  rig.Song.Song.Bgm = "bgm.wav";
  StageContext c = rig.Context();
  EXPECT_EQ(PlayStage(c), 0);
  EXPECT_NE(rig.Devices->Errors.Text().find(rig.Data + "\\songs\\test\\bgm.wavの読み込みに失敗しました\r\n"),
            std::string::npos)
      << rig.Devices->Errors.Text();
  EXPECT_EQ(c.Outcome.EndState, 1);
  EXPECT_EQ(c.Outcome.Players[0].JudgeCount[JudgeMiss], 2);
}

TEST(PlayStage, LowResolutionRunsAt320AndComesBack) {
  SongOptions song;
  song.Bars = 1;
  song.Chips = {{4, 1}};
  PlayRig rig("lowres", song);
  rig.Settings.RESOLUTION = 1;
  int recreated = 0;
  StageContext c = rig.Context();
  c.DisplayRecreated = [&] { ++recreated; };
  EXPECT_EQ(PlayStage(c), 0);
  EXPECT_EQ(recreated, 1);
  EXPECT_EQ(rig.Devices->Graph->ScreenWidth(), 640);
  EXPECT_EQ(rig.Settings.RESOLUTION, 1);
  EXPECT_TRUE(rig.Devices->Errors.Empty()) << rig.Devices->Errors.Text();
}

// Pictures of a stage in progress for the documentation; runs only when asked for.
TEST(PlayStage, ScreenshotsWhenAskedFor) {
  const char* dir = std::getenv("TESSARU_SCREENSHOT_DIR");
  if (dir == nullptr) GTEST_SKIP() << "set TESSARU_SCREENSHOT_DIR to write the screenshots";
  SongOptions song;
  song.Bars = 8;
  for (int32_t s = 2; s < 128; ++s) {
    if (s % 3 != 1) song.Chips.push_back({s, static_cast<int16_t>(1 + (s * 7 / 3) % 4)});
  }
  for (int16_t res : {int16_t{0}, int16_t{1}}) {
    PlayRig rig("screenshot", song);
    rig.Settings.RESOLUTION = res;
    rig.Settings.MAXFPS = 60;
    StageContext c = rig.Context();
    c.Setup.ComSkill = {70, 40, 99, 99};
    c.Setup.PlayerPart = {0, 1};
    const std::string path = std::string(dir) + (res == 1 ? "/stage-320x240.png" : "/stage-640x480.png");
    bool saved = false;
    c.FrameDrawn = [&](int32_t t) {
      if (!saved && t >= 7300) saved = rig.Devices->Headless->SaveLastFramePng(path);
    };
    PlayStage(c);
    EXPECT_TRUE(saved);
  }
}

}  // namespace
}  // namespace tessaru::playtest
