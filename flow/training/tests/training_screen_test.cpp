// Training mode through the real driver on the headless devices: the title's TRAINING
// entry, the menu, and practice runs of the first song.
#include <gtest/gtest.h>

#include "flow/tests/game_rig.h"
#include "stage/judgement.h"

namespace tessaru::flowtest {
namespace {

struct Step {
  uint8_t Key;
  double WaitAfterMs = 200;
};

// From the title grid (FREE MODE, across to DOUBLE, down past SESSION to TRAINING) into
// the menu, which fades in, then the script's keys.
std::vector<KeyPress> Keys(const std::vector<Step>& script) {
  std::vector<Step> all = {{kKeyRight}, {kKeyDown}, {kKeyDown}, {kKeyEnter, 1000}};
  all.insert(all.end(), script.begin(), script.end());
  std::vector<KeyPress> keys;
  double at = 1000;
  for (const Step& s : all) {
    keys.push_back({at, s.Key});
    at += s.WaitAfterMs;
  }
  return keys;
}

int ChipsInBars(const PartRecord& part, int firstBar, int endBar) {
  int chips = 0;
  for (int s = firstBar * 16; s < endBar * 16 && s < static_cast<int>(part.StepWords.size()); ++s) {
    if (part.StepWords[static_cast<size_t>(s)] >= 1 && part.StepWords[static_cast<size_t>(s)] <= 4) ++chips;
  }
  return chips;
}

// START 5, END 7 (as shown), AUTOPLAY ON.
const std::vector<Step> kBarsFiveAndSixAutoplay = {
    {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyRight}, {kKeyRight}, {kKeyUp}, {kKeyRight}, {kKeyRight},
    {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyRight}};

TEST(TrainingScreen, AutoplayScoresEveryChipOfTheSectionJust) {
  const fs::path folder = MakeProgramFolder("training-autoplay");
  std::vector<Step> script = kBarsFiveAndSixAutoplay;
  script.push_back({kKeyTab, 20000});  // the section, then back on the menu
  script.push_back({kKeyEscape});
  const GameRun run = RunGame(folder, Keys(script));
  const Game& game = *run.TheGame;
  EXPECT_EQ(run.Status, 0);
  EXPECT_FALSE(game.LastStage.QuitRequested) << "the pass ended on its own, before Esc on the menu";
  const int chips = ChipsInBars(game.Parts[0], 4, 6);
  ASSERT_GT(chips, 0);
  EXPECT_EQ(game.LastStage.Players[0].JudgeCount[JudgeJust], chips);
  for (int k = 1; k < kJudgeCategories; ++k) EXPECT_EQ(game.LastStage.Players[0].JudgeCount[static_cast<size_t>(k)], 0) << k;
  EXPECT_TRUE(game.Errors.Empty()) << game.Errors.Text();
}

TEST(TrainingScreen, MenuAndRunPictures) {
  fs::create_directories(fs::path(TESSARU_SCRATCH) / "screens");
  struct Case {
    const char* Name;
    std::vector<Step> Script;
  };
  const Case cases[] = {
      // END raised to 5, SPEED lowered to 95% (the track goes off).
      {"menu", {{kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyRight}, {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyLeft}, {kKeyEscape}}},
      {"run", {}},
  };
  for (const Case& c : cases) {
    for (const int resolution : {0, 1}) {
      const std::string name = std::string("training-") + c.Name + "-" + std::to_string(resolution);
      const fs::path folder = MakeProgramFolder(name);
      WriteFile(folder / "user.ini", "[USER]\r\nRESOLUTION=" + std::to_string(resolution) + "\r\n");
      std::vector<Step> script = c.Script;
      if (script.empty()) {
        script = kBarsFiveAndSixAutoplay;
        script.push_back({kKeyTab, 3000});
        script.push_back({kKeyEscape});
      }
      const GameRun run = RunGame(folder, Keys(script));
      run.Control->SaveLastFramePng((fs::path(TESSARU_SCRATCH) / "screens" / (name + ".png")).string());
      EXPECT_TRUE(LooksDrawn(*run.Control)) << name;
      EXPECT_TRUE(run.TheGame->State.QuitRequested) << name;
      EXPECT_TRUE(run.TheGame->Errors.Empty()) << name << ": " << run.TheGame->Errors.Text();
    }
  }
}

// After a section played by hand, F2 lays the press-timing panel over the menu; without
// it the menu is drawn as before.
TEST(TrainingScreen, F2ShowsTheTimingPanelOfTheLastPass) {
  fs::create_directories(fs::path(TESSARU_SCRATCH) / "screens");
  std::string frames[2];
  for (const bool panel : {false, true}) {
    const std::string name = std::string("training-timing-") + (panel ? "shown" : "hidden");
    const fs::path folder = MakeProgramFolder(name);
    std::vector<Step> script = {{kKeyTab, 20000}};
    if (panel) script.push_back({kKeyF2, 1000});
    else script.back().WaitAfterMs += 1000;
    script.push_back({kKeyEscape});
    const GameRun run = RunGame(folder, Keys(script));
    const fs::path png = fs::path(TESSARU_SCRATCH) / "screens" / (name + ".png");
    run.Control->SaveLastFramePng(png.string());
    EXPECT_FALSE(run.TheGame->LastStage.QuitRequested) << name << ": the pass ended before Esc";
    frames[panel ? 1 : 0] = ReadFile(png);
  }
  EXPECT_FALSE(frames[0].empty());
  EXPECT_NE(frames[0], frames[1]);
}

}  // namespace
}  // namespace tessaru::flowtest
