// Whole tours through the real GameMain on the headless devices: every chip of the human
// part pressed on time, the menus walked with scripted keys.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "flow/free_mode.h"
#include "flow/tests/game_rig.h"
#include "flow/tours/unlocks.h"
#include "persist/high_scores.h"
#include "stage/tempo_map.h"

namespace tessaru::flowtest {
namespace {

constexpr uint8_t kKeyRight = 39;
const std::string kUserIni = "[USER]\r\nMAXFPS=20\r\nDIFFICULTY=2\r\n";

// How long after a song's last step the next menu is surely up: the result sequence and
// a margin for the stage's own tail.
constexpr double kAfterSongMs = 4500 + 2500;
constexpr double kMenuStepMs = 1500;

// Presses the human part's chips of every stage on time; after each stage, `after`
// gives the keys to press (as offsets from when the next menu is up).
struct TourScript {
  std::function<std::vector<KeyPress>(int stage)> After;
  int Stages = 0;
  double LastSongEndMs = 0;
};

void Install(Game& game, platform::HeadlessControl& control, std::shared_ptr<TourScript> script) {
  game.StageStarting = [&game, &control, script](StageContext& c) {
    const int stage = ++script->Stages;
    auto scheduled = std::make_shared<bool>(false);
    c.FrameDrawn = [&game, &control, &c, script, stage, scheduled](int32_t songTime) {
      if (*scheduled) return;
      *scheduled = true;
      const double start = game.Clock().NowMs() - songTime;
      const size_t side = c.Setup.ComSkill[0] < 0 ? 0 : 1;
      const PartRecord& part = c.Parts[static_cast<size_t>(c.Setup.PlayerPart[side])];
      const int32_t steps = int32_t{c.Song.Bars} * kStepsPerBar;
      for (int32_t s = 0; s < steps && s < static_cast<int32_t>(part.StepWords.size()); ++s) {
        const int16_t lane = part.StepWords[static_cast<size_t>(s)];
        if (lane < 1 || lane > 4) continue;
        const double at = start + StepToTime(c.Song, s) - c.Song.BgmOffset;
        control.ScheduleKey({at, kLaneKeys[lane], true});
        control.ScheduleKey({at + 30, kLaneKeys[lane], false});
      }
      const double menu = start + StepToTime(c.Song, steps) + kAfterSongMs;
      script->LastSongEndMs = menu;
      for (const KeyPress& k : script->After(stage)) {
        control.ScheduleKey({menu + k.AtMs, k.Key, true});
        control.ScheduleKey({menu + k.AtMs + 40, k.Key, false});
      }
    };
  };
}

// Song select, part select, match-up.
std::vector<KeyPress> NextStageKeys() {
  return {{0, kKeyEnter}, {kMenuStepMs, kKeyEnter}, {2 * kMenuStepMs, kKeyEnter}};
}
// Ending, name entry and the records screen left with F1, then Esc on the title.
std::vector<KeyPress> RunEndKeys() {
  return {{2000, kKeyF1}, {5000, kKeyF1}, {8000, kKeyF1}, {11000, kKeyEscape}};
}

TEST(Tours, SingleTourOfFourStagesPlayedWell) {
  const auto started = std::chrono::steady_clock::now();
  const fs::path folder = MakeProgramFolder("single-tour");
  WriteFile(folder / "user.ini", kUserIni);
  // Title: Down to ARCADE, decide; then the first stage's menus.
  const std::vector<KeyPress> keys = {{1200, kKeyDown}, {1500, kKeyEnter}, {3000, kKeyEnter},
                                      {4500, kKeyEnter}, {6000, kKeyEnter}};
  auto script = std::make_shared<TourScript>();
  script->After = [](int stage) { return stage < 4 ? NextStageKeys() : RunEndKeys(); };
  const GameRun run = RunGame(
      folder, keys, [](platform::HeadlessControl&) {},
      [script](Game& g, platform::HeadlessControl& c) { Install(g, c, script); });
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  ASSERT_EQ(run.Status, kExitOk);
  EXPECT_EQ(script->Stages, 4);
  const Game& game = *run.TheGame;
  EXPECT_FALSE(fs::exists(folder / "error.txt")) << ReadFile(folder / "error.txt");
  HighScores saved;
  saved.LoadHighScores(game.Songs, folder.string());
  // Songs 0, 3, 6 and 8 (the first of each stage's list), each passed with part 0.
  for (int song : {0, 3, 6, 8}) EXPECT_EQ(saved.HPS(0, song), 1) << song;
  EXPECT_TRUE(FlagMarked(saved, 3));
  EXPECT_TRUE(FlagMarked(saved, 1));   // stage 4 completed
  EXPECT_TRUE(FlagMarked(saved, 5));   // song 8 at stage 4
  EXPECT_FALSE(FlagMarked(saved, 4));  // song 6, not 7, at stage 3
  EXPECT_TRUE(FlagMarked(saved, 8));   // stage 4 at 100
  ASSERT_FALSE(saved.TourMode.empty());
  const RankEntry& top = saved.TourMode[0];
  EXPECT_EQ(top.Score, game.State.TourTotal[0]);
  EXPECT_GT(top.Score, 0);
  EXPECT_EQ(top.Songs, (std::array<int16_t, 4>{1, 4, 7, 9}));
  EXPECT_EQ(top.Rates, (std::array<int16_t, 4>{100, 100, 100, 100}));
  std::printf("a four-stage single tour (%.0f s of songs) took %.2f s of wall time\n",
              script->LastSongEndMs / 1000, seconds);
}

TEST(Tours, FreshProfilePlaysTheTutorialAndSongsAndModesOpen) {
  const fs::path folder = MakeProgramFolder("tutorial");
  WriteFile(folder / "user.ini", kUserIni);
  // Title: FREE MODE, ARCADE, (no SPECIAL yet), BEGINNER, TUTORIAL; then the one-song
  // select and the match-up (the lesson sets both parts).
  const std::vector<KeyPress> keys = {{1000, kKeyDown}, {1200, kKeyDown}, {1400, kKeyDown},
                                      {1600, kKeyEnter}, {3000, kKeyEnter}, {4500, kKeyEnter}};
  auto script = std::make_shared<TourScript>();
  script->After = [](int stage) {
    return stage < 3 ? std::vector<KeyPress>{{0, kKeyEnter}, {kMenuStepMs, kKeyEnter}} : RunEndKeys();
  };
  const GameRun run = RunGame(
      folder, keys, [](platform::HeadlessControl&) {},
      [script](Game& g, platform::HeadlessControl& c) { Install(g, c, script); });
  ASSERT_EQ(run.Status, kExitOk);
  EXPECT_EQ(script->Stages, 3);
  const Game& game = *run.TheGame;
  EXPECT_FALSE(fs::exists(folder / "error.txt")) << ReadFile(folder / "error.txt");
  // The lesson's plain stages gave the settings back.
  EXPECT_EQ(game.Settings.DRAWDANCE, game.LoadedSettings.DRAWDANCE);
  HighScores saved;
  saved.LoadHighScores(game.Songs, folder.string());
  EXPECT_EQ(saved.HPS(1, 0), 1);
  EXPECT_FALSE(saved.TourModeTuto.empty());
  EXPECT_GT(saved.TourModeTuto[0].Score, 0);
  // Songs 0..2 are now offered in free mode, and the special tour has a mode.
  const std::vector<int16_t> free = FreeSongList(game.Songs, saved);
  for (int16_t song : {0, 1, 2}) EXPECT_NE(std::find(free.begin(), free.end(), song), free.end()) << song;
  EXPECT_EQ(std::find(free.begin(), free.end(), int16_t{3}), free.end());
  EXPECT_EQ(ComputeUnlockedModes(saved, game.Songs, 0).List(), (std::vector<int16_t>{30}));
}

}  // namespace
}  // namespace tessaru::flowtest
