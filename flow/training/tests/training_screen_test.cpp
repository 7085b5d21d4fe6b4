// Training mode through the real driver on the headless devices: the title's TRAINING
// entry, the menu, and practice runs of the first song.
#include <gtest/gtest.h>

#include <algorithm>

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

// START 5, END 7 (as shown), AUTOPLAY ON.
const std::vector<Step> kBarsFiveAndSixAutoplay = {
    {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyRight}, {kKeyRight}, {kKeyUp}, {kKeyRight}, {kKeyRight},
    {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyRight}};

// When the (first) key `key` of the run is pressed.
double TimeOf(const std::vector<KeyPress>& keys, uint8_t key) {
  return std::find_if(keys.begin(), keys.end(), [key](const KeyPress& k) { return k.Key == key; })->AtMs;
}

// At both resolutions: the autoplayed section (its picture a moment in), back on the menu
// by itself, then Esc.
TEST(TrainingScreen, AutoplayScoresEveryChipOfTheSectionJust) {
  for (const int resolution : {0, 1}) {
    const std::string name = "training-run-" + std::to_string(resolution);
    const fs::path folder = MakeProgramFolder(name, {}, "[USER]\r\nRESOLUTION=" + std::to_string(resolution) + "\r\n");
    std::vector<Step> script = kBarsFiveAndSixAutoplay;
    script.push_back({kKeyTab, 20000});  // the section, then back on the menu
    script.push_back({kKeyEscape});
    const std::vector<KeyPress> keys = Keys(script);
    PicturesAt pictures;
    pictures.At = {{TimeOf(keys, kKeyTab) + 3000, name}};
    const GameRun run = RunGame(folder, keys, {.Pictures = &pictures});
    const Game& game = *run.TheGame;
    EXPECT_EQ(run.Status, 0) << name;
    EXPECT_FALSE(game.LastStage.QuitRequested) << name << ": the pass ended on its own, before Esc on the menu";
    EXPECT_TRUE(game.State.QuitRequested) << name;
    EXPECT_EQ(pictures.Drawn, pictures.Names());
    const std::vector<int32_t> steps = ChipSteps(game.Song, game.Parts[0]);
    const auto chips = std::count_if(steps.begin(), steps.end(),
                                     [](int32_t st) { return st >= 4 * kStepsPerBar && st < 6 * kStepsPerBar; });
    ASSERT_GT(chips, 0);
    EXPECT_EQ(game.LastStage.Players[0].JudgeCount[JudgeJust], chips) << name;
    for (int k = 1; k < kJudgeCategories; ++k) {
      EXPECT_EQ(game.LastStage.Players[0].JudgeCount[static_cast<size_t>(k)], 0) << name << " " << k;
    }
    EXPECT_TRUE(game.Errors.Empty()) << name << ": " << game.Errors.Text();
  }
}

// END raised to 5, SPEED lowered to 95% (the track goes off), at both resolutions.
TEST(TrainingScreen, MenuPictures) {
  for (const int resolution : {0, 1}) {
    const std::string name = "training-menu-" + std::to_string(resolution);
    const fs::path folder = MakeProgramFolder(name, {}, "[USER]\r\nRESOLUTION=" + std::to_string(resolution) + "\r\n");
    const GameRun run = RunGame(folder, Keys({{kKeyDown}, {kKeyDown}, {kKeyDown}, {kKeyRight}, {kKeyDown}, {kKeyDown},
                                              {kKeyDown}, {kKeyLeft}, {kKeyEscape}}));
    EXPECT_TRUE(KeepPicture(*run.Control, name)) << name;
    EXPECT_TRUE(run.TheGame->State.QuitRequested) << name;
    EXPECT_TRUE(run.TheGame->Errors.Empty()) << name << ": " << run.TheGame->Errors.Text();
  }
}

// After a section played by hand, F2 lays the press-timing panel over the menu; before it
// the menu is drawn as before.
TEST(TrainingScreen, F2ShowsTheTimingPanelOfTheLastPass) {
  const fs::path folder = MakeProgramFolder("training-timing");
  const std::vector<KeyPress> keys = Keys({{kKeyTab, 20000}, {kKeyF2, 1000}, {kKeyEscape}});
  PicturesAt pictures;
  pictures.At = {{TimeOf(keys, kKeyF2) - 200, "training-timing-hidden"},
                 {TimeOf(keys, kKeyF2) + 800, "training-timing-shown"}};
  const GameRun run = RunGame(folder, keys, {.Pictures = &pictures});
  EXPECT_FALSE(run.TheGame->LastStage.QuitRequested) << "the pass ended before Esc";
  ASSERT_EQ(pictures.Drawn, pictures.Names());
  const fs::path screens = fs::path(TESSARU_SCRATCH) / "screens";
  EXPECT_NE(ReadFile(screens / "training-timing-hidden.png"), ReadFile(screens / "training-timing-shown.png"));
}

}  // namespace
}  // namespace tessaru::flowtest
