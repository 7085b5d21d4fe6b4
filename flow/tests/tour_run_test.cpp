// Whole tours through the real GameMain on the headless devices: every chip of the human
// part pressed on time, the menus walked with scripted keys.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "content/song_list.h"
#include "flow/free_mode.h"
#include "flow/tests/game_rig.h"
#include "flow/tours/unlocks.h"
#include "persist/high_scores.h"
#include "stage/tempo_map.h"

namespace tessaru::flowtest {
namespace {

// A fresh program folder with the tours' settings (fewer frames keep the runs quick).
fs::path TourFolder(const std::string& name, const std::string& without = {}) {
  return MakeProgramFolder(name, without, "[USER]\r\nMAXFPS=20\r\nDIFFICULTY=2\r\n");
}

HighScores SavedRecords(const GameRun& run) {
  HighScores saved;
  saved.LoadHighScores(run.TheGame->Songs, run.TheGame->ProgramFolder);
  return saved;
}

// How long after a song's last step the next menu is surely up: the result sequence and
// a margin for the stage's own tail.
constexpr double kAfterSongMs = 4500 + 2500;
constexpr double kMenuStepMs = 1500;
// A run that lost its way ends here (Esc) instead of waiting on a menu for ever.
constexpr double kDeadlineMs = 1500000;

std::vector<KeyPress> WithDeadline(std::vector<KeyPress> keys) {
  keys.push_back({kDeadlineMs, kKeyEscape});
  return keys;
}

// Presses the human part's chips of every stage on time; after each stage, `after`
// gives the keys to press (as offsets from when the next menu is up).
struct TourScript {
  std::function<std::vector<KeyPress>(int stage)> After;
  // Whether chip `index` of `count` is pressed at that stage; every chip when unset.
  std::function<bool(int stage, int index, int count)> Press;
  int Stages = 0;
};

// Player 2's lanes 1..4 (M , . /).
inline constexpr uint8_t kLaneKeys2P[5] = {0, 0x4D, 0xBC, 0xBE, 0xBF};

// Each stage's events from its song's start: the human sides' chips on time, then the
// keys after the stage.
std::function<std::vector<ScriptEvent>(const StageContext&)> TourEvents(std::shared_ptr<TourScript> script) {
  return [script](const StageContext& c) {
    const int stage = ++script->Stages;
    std::vector<ScriptEvent> events;
    for (size_t side = 0; side < 2; ++side) {
      if (c.Setup.ComSkill[side] >= 0) continue;
      const PartRecord& part = c.Parts[static_cast<size_t>(c.Setup.PlayerPart[side])];
      const std::vector<int32_t> chips = ChipSteps(c.Song, part);
      const int count = static_cast<int>(chips.size());
      for (int i = 0; i < count; ++i) {
        if (script->Press && !script->Press(stage, i, count)) continue;
        const int32_t s = chips[static_cast<size_t>(i)];
        const uint8_t key = (side == 0 ? kLaneKeys : kLaneKeys2P)[part.StepWords[static_cast<size_t>(s)]];
        events.push_back({StepToTime(c.Song, s) - c.Song.BgmOffset, ScriptAction::Tap, key, {}, 0});
      }
    }
    const double menu = StepToTime(c.Song, int32_t{c.Song.Bars} * kStepsPerBar) + kAfterSongMs;
    for (const KeyPress& k : script->After(stage)) events.push_back({menu + k.AtMs, ScriptAction::Tap, k.Key, {}, 0});
    return events;
  };
}

// The game from start to exit with the keys (and a deadline) and the script's presses.
GameRun RunTour(const fs::path& folder, const std::vector<KeyPress>& keys, std::shared_ptr<TourScript> script) {
  return RunGame(folder, WithDeadline(keys), {.StageEvents = TourEvents(script)});
}

// Song select, part select, match-up.
std::vector<KeyPress> NextStageKeys() {
  return {{0, kKeyEnter}, {kMenuStepMs, kKeyEnter}, {2 * kMenuStepMs, kKeyEnter}};
}
// Ending, name entry and the records screen left with F1, then Esc on the title.
std::vector<KeyPress> RunEndKeys() {
  return {{2000, kKeyF1}, {5000, kKeyF1}, {8000, kKeyF1}, {11000, kKeyEscape}};
}

// Title: Down to ARCADE, decide; then the first stage's menus.
const std::vector<KeyPress> kToArcade = {{1200, kKeyDown}, {1500, kKeyEnter}, {3000, kKeyEnter},
                                         {4500, kKeyEnter}, {6000, kKeyEnter}};
// Title: Right to DOUBLE, Down to SESSION; song, both parts, match-up.
const std::vector<KeyPress> kToSession = {{1000, kKeyRight}, {1200, kKeyDown}, {1500, kKeyEnter}, {3000, kKeyEnter},
                                          {4500, kKeyEnter}, {4700, kKeyDelete}, {6000, kKeyEnter}};
// A session's next stage (song, both parts, match-up), and the run's end after stage 3.
std::vector<KeyPress> SessionAfter(int stage) {
  if (stage == 3) return RunEndKeys();
  return {{0, kKeyEnter}, {kMenuStepMs, kKeyEnter}, {kMenuStepMs + 200, kKeyDelete}, {2 * kMenuStepMs, kKeyEnter}};
}

TEST(Tours, SingleTourOfFourStagesPlayedWell) {
  const auto started = std::chrono::steady_clock::now();
  const fs::path folder = TourFolder("single-tour");
  auto script = std::make_shared<TourScript>();
  script->After = [](int stage) { return stage < 4 ? NextStageKeys() : RunEndKeys(); };
  const GameRun run = RunTour(folder, kToArcade, script);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  ASSERT_EQ(run.Status, kExitOk);
  EXPECT_EQ(script->Stages, 4);
  const Game& game = *run.TheGame;
  EXPECT_FALSE(fs::exists(folder / "error.txt")) << ReadFile(folder / "error.txt");
  const HighScores saved = SavedRecords(run);
  // Songs 0, 3, 6 and 8 (the first of each stage's list), each passed with part 0.
  for (int song : {0, 3, 6, 8}) EXPECT_EQ(saved.HPS(0, song), 1) << song;
  EXPECT_TRUE(FlagMarked(saved, 3));
  EXPECT_TRUE(FlagMarked(saved, 1));   // stage 4 completed
  EXPECT_TRUE(FlagMarked(saved, 5));   // song 8 at stage 4
  EXPECT_FALSE(FlagMarked(saved, 4));  // song 6, not 7, at stage 3
  EXPECT_TRUE(FlagMarked(saved, 8));   // stage 4 at 100
  ASSERT_FALSE(saved.TourMode.empty());
  const RankEntry& top = saved.TourMode[0];
  EXPECT_EQ(top.Score, game.State.Setup.TourTotal[0]);
  EXPECT_GT(top.Score, 0);
  EXPECT_EQ(top.Songs, (std::array<int16_t, 4>{1, 4, 7, 9}));
  EXPECT_EQ(top.Rates, (std::array<int16_t, 4>{100, 100, 100, 100}));
  std::printf("a four-stage single tour (%.0f s of game time) took %.2f s of wall time\n", run.EndMs / 1000,
              seconds);
}

TEST(Tours, FreshProfilePlaysTheTutorialAndSongsAndModesOpen) {
  const fs::path folder = TourFolder("tutorial");
  // Title: FREE MODE, ARCADE, (no SPECIAL yet), BEGINNER, TUTORIAL; then the one-song
  // select and the match-up (the lesson sets both parts).
  const std::vector<KeyPress> keys = {{1000, kKeyDown}, {1200, kKeyDown}, {1400, kKeyDown},
                                      {1600, kKeyEnter}, {3000, kKeyEnter}, {4500, kKeyEnter}};
  auto script = std::make_shared<TourScript>();
  script->After = [](int stage) {
    return stage < 3 ? std::vector<KeyPress>{{0, kKeyEnter}, {kMenuStepMs, kKeyEnter}} : RunEndKeys();
  };
  const GameRun run = RunTour(folder, keys, script);
  ASSERT_EQ(run.Status, kExitOk);
  EXPECT_EQ(script->Stages, 3);
  const Game& game = *run.TheGame;
  EXPECT_FALSE(fs::exists(folder / "error.txt")) << ReadFile(folder / "error.txt");
  // The lesson's plain stages gave the settings back.
  EXPECT_EQ(game.Settings.DRAWDANCE, game.LoadedSettings.DRAWDANCE);
  const HighScores saved = SavedRecords(run);
  EXPECT_EQ(saved.HPS(1, 0), 1);
  EXPECT_FALSE(saved.TourModeTuto.empty());
  EXPECT_GT(saved.TourModeTuto[0].Score, 0);
  // Songs 0..2 are now offered in free mode, and the special tour has a mode.
  const std::vector<int16_t> free = FreeSongList(game.Songs, saved);
  for (const int16_t song : {int16_t{0}, int16_t{1}, int16_t{2}}) EXPECT_NE(std::find(free.begin(), free.end(), song), free.end()) << song;
  EXPECT_EQ(std::find(free.begin(), free.end(), int16_t{3}), free.end());
  EXPECT_EQ(ComputeUnlockedModes(saved, game.Songs, 0).List(), (std::vector<int16_t>{30}));
}

// Exactly the fewest chips that score `rate`, spread evenly over the part.
bool EvenlyForRate(int rate, int index, int count) {
  const int k = (rate * count + 99) / 100;
  return (int64_t{index + 1} * k) / count > (int64_t{index} * k) / count;
}

TEST(Tours, SingleTourEndsAfterStageTwoOnFortyNine) {
  const fs::path folder = TourFolder("single-49");
  auto script = std::make_shared<TourScript>();
  script->Press = [](int stage, int i, int count) { return stage == 1 || EvenlyForRate(49, i, count); };
  script->After = [](int stage) { return stage < 2 ? NextStageKeys() : RunEndKeys(); };
  const GameRun run = RunTour(folder, kToArcade, script);
  ASSERT_EQ(run.Status, kExitOk);
  EXPECT_EQ(script->Stages, 2);
  EXPECT_EQ(run.TheGame->LastStage.Players[0].StageScore, 49);
  const HighScores saved = SavedRecords(run);
  ASSERT_FALSE(saved.TourMode.empty());
  EXPECT_EQ(saved.TourMode[0].Songs, (std::array<int16_t, 4>{1, 4, 0, 0}));
  EXPECT_EQ(saved.TourMode[0].Rates, (std::array<int16_t, 4>{100, 49, 0, 0}));
  EXPECT_TRUE(FlagMarked(saved, 3));
  EXPECT_FALSE(FlagMarked(saved, 1));
}

TEST(Tours, AContinueStartsTheTotalAgainAndReplaysTheStage) {
  // Stage 1 with only the first fifth of its chips pressed: the player is knocked out.
  // A first run learns when the continue prompt comes up.
  const auto losing = [](int stage, int i, int count) { return stage > 1 || i < count / 5; };
  const fs::path learn = TourFolder("continue-learn");
  auto first = std::make_shared<TourScript>();
  first->Press = losing;
  first->After = [](int) { return std::vector<KeyPress>{{40000, kKeyEscape}}; };
  const GameRun probe = RunTour(learn, kToArcade, first);
  ASSERT_EQ(probe.Status, kExitOk);
  ASSERT_TRUE(probe.TheGame->LastStage.Lost);
  {
    // Without a continue the lost stage ends the run (its end flags are written) rather
    // than going on to stage 2.
    const HighScores saved = SavedRecords(probe);
    EXPECT_TRUE(FlagMarked(saved, 3));
    EXPECT_EQ(first->Stages, 1);
  }
  const int32_t lostPoints = probe.TheGame->LastStage.Players[0].StagePoints;
  ASSERT_GT(lostPoints, 0);
  const double prompt = probe.TheGame->LastStage.SequenceStartMs + 4500 + 1000;

  const fs::path folder = TourFolder("continue");
  std::vector<KeyPress> keys = kToArcade;
  for (const KeyPress& k : NextStageKeys()) keys.push_back({prompt + 2500 + k.AtMs, k.Key});
  keys.push_back({prompt, kLaneKeys[1]});  // the continue prompt takes a lane key
  auto script = std::make_shared<TourScript>();
  script->Press = losing;
  // After the replayed stage: Esc on the next song select.
  script->After = [](int stage) { return stage == 2 ? std::vector<KeyPress>{{1000, kKeyEscape}} : std::vector<KeyPress>{}; };
  const GameRun run = RunTour(folder, keys, script);
  ASSERT_EQ(run.Status, kExitOk);
  EXPECT_EQ(script->Stages, 2);
  const Game& game = *run.TheGame;
  EXPECT_EQ(game.LastStage.Players[0].StageScore, 100);
  // The total holds the replayed stage alone.
  EXPECT_EQ(game.State.Setup.TourTotal[0], game.LastStage.Players[0].StagePoints);
  const HighScores saved = SavedRecords(run);
  EXPECT_EQ(saved.HPS(0, 0), 1);
}

TEST(Tours, SessionTourOfTwoPlayers) {
  const fs::path folder = TourFolder("session");
  auto script = std::make_shared<TourScript>();
  script->After = SessionAfter;
  const GameRun run = RunTour(folder, kToSession, script);
  ASSERT_EQ(run.Status, kExitOk);
  EXPECT_EQ(script->Stages, 3);
  const Game& game = *run.TheGame;
  EXPECT_EQ(game.State.Setup.PlayStyle, 2);
  EXPECT_FALSE(fs::exists(folder / "error.txt")) << ReadFile(folder / "error.txt");
  const HighScores saved = SavedRecords(run);
  ASSERT_FALSE(saved.TourModeSession.empty());
  const RankPair& top = saved.TourModeSession[0];
  EXPECT_EQ(top.Player1.Score, game.State.Setup.TourTotal[0] + game.State.Setup.TourTotal[1]);
  EXPECT_EQ(top.Player1.Songs, (std::array<int16_t, 4>{1, 4, 7, 0}));
  EXPECT_EQ(top.Player2.Songs, top.Player1.Songs);
  EXPECT_EQ(top.Player1.Rates[2], 100);
  EXPECT_EQ(top.Player2.Rates[2], 100);
  EXPECT_TRUE(saved.TourModeDouble.empty() || saved.TourModeDouble[0].Player1.Score == 0);
}

// 1P autoplayed (its keys, pressed on time as well, are not its presses): the tour goes on
// by its rules, every stage at 100, but earns 1P no record, flag, play count or place; a
// 2P by hand is recorded as usual.
TEST(Tours, AnAutoplayedSideTourGoesOnButEarnsNothing) {
  struct Case {
    const char* Name;
    std::vector<KeyPress> Keys;
    std::function<std::vector<KeyPress>(int)> After;
    int Stages;
  };
  const Case cases[] = {
      {"single tour", kToArcade, [](int stage) { return stage < 4 ? NextStageKeys() : RunEndKeys(); }, 4},
      {"session", kToSession, SessionAfter, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const fs::path folder = TourFolder(std::string("autoplay-") + c.Name);
    auto script = std::make_shared<TourScript>();
    script->After = c.After;
    Script keys = TapScript(WithDeadline(c.Keys));
    keys.Autoplay[0] = true;
    const GameRun run = RunGame(FoldersOf(folder), keys, {.StageEvents = TourEvents(script)});
    ASSERT_EQ(run.Status, kExitOk);
    EXPECT_EQ(script->Stages, c.Stages);
    const Game& game = *run.TheGame;
    EXPECT_TRUE(game.LastStage.Players[0].Autoplayed);
    EXPECT_EQ(game.LastStage.Players[0].StageScore, 100);
    EXPECT_FALSE(fs::exists(folder / "error.txt")) << ReadFile(folder / "error.txt");
    const HighScores saved = SavedRecords(run);
    for (int flag = 0; flag < kGameFlagCount; ++flag) EXPECT_FALSE(FlagMarked(saved, flag)) << flag;
    EXPECT_TRUE(saved.TourMode.empty() || saved.TourMode[0].Score == 0);
    EXPECT_TRUE(saved.TourModeSession.empty() || saved.TourModeSession[0].Player1.Score == 0);
    // The last stage's parts: 1P's unrecorded, 2P's (by hand in the session) recorded.
    const PerPlayer<int16_t>& parts = game.State.Setup.PlayerPart;
    ASSERT_NE(parts[0], parts[1]);
    const bool session = game.State.Setup.ComSkill[1] < 0;
    EXPECT_EQ(saved.HPS(parts[0], game.State.Setup.SongIndex), 0);
    EXPECT_EQ(saved.HPS(parts[1], game.State.Setup.SongIndex), session ? 1 : 0);
    EXPECT_EQ(saved.HPR(parts[1], game.State.Setup.SongIndex), session ? 100 : 0);
  }
}

// Records written into a fresh program folder before the game starts.
void WriteProfile(const fs::path& folder, const std::function<void(HighScores&, const SongList&)>& fill) {
  SongList list;
  SongRecord song;
  std::vector<PartRecord> parts;
  ErrorLog log;
  ASSERT_TRUE(LoadSongList(list, song, parts, folder.string(), 0, log));
  HighScores records;
  records.LoadHighScores(list, folder.string());
  fill(records, list);
  ASSERT_TRUE(records.SaveHighScores(folder.string()));
  ASSERT_TRUE(records.SaveSpecialRankings(folder.string()));
}

void Pass(HighScores& r, int part, int song, int times = 1, int rate = 90) {
  for (int i = 0; i < times; ++i) r.RecordStageResult({song, part, 1000, rate, true, 2});
}

TEST(Tours, OneSpecialModeOfEachKind) {
  struct Case {
    const char* Name;
    std::function<void(HighScores&, const SongList&)> Profile;
    int Ups;      // on SELECT MODE, from the first entry
    int16_t Mode;
    int Stages;   // played well before Esc on the next song select
    bool MatchUp;
    std::function<void(const Game&)> Check;
  };
  const auto checkFixed = [](int16_t song, int16_t part) {
    return [song, part](const Game& g) {
      EXPECT_EQ(g.LastStage.ResultCode, 0);
      EXPECT_EQ(g.State.Setup.PlayerPart[0], part);
      EXPECT_EQ(g.State.Setup.SongIndex, song);
    };
  };
  const Case cases[] = {
      {"option tour COLOR", [](HighScores& r, const SongList&) { Pass(r, 0, 0); MarkFlag(r, 3); }, 0, 0, 1, true,
       [](const Game& g) { EXPECT_EQ(g.State.Setup.ColorOpt, (std::array<int16_t, 2>{1, 1})); }},
      // Three pairs passed three times: RANKING 1 plays the most passed first.
      {"RANKING 1", [](HighScores& r, const SongList&) { Pass(r, 3, 2, 5); Pass(r, 1, 0, 3); Pass(r, 2, 1, 4); },
       0, 7, 1, true, checkFixed(2, 3)},
      // Part 0 passed on every first song: the first character's mode.
      {"character", [](HighScores& r, const SongList&) { for (int s = 0; s < 9; ++s) Pass(r, 0, s); },
       0, 12, 1, true, checkFixed(0, 0)},
      {"survival EXTRA", [](HighScores& r, const SongList&) { Pass(r, 0, 0); MarkFlag(r, 7); }, 2, 29, 1, false,
       [](const Game& g) {
         EXPECT_EQ(g.State.Setup.PlayStyle, 3);
         EXPECT_EQ(g.State.Setup.SongIndex, 7);
         EXPECT_EQ(g.State.Setup.PlayerPart[0], 6);
         EXPECT_GT(g.State.Setup.RunLife[0], 0);
       }},
      {"ENDLESS for three stages",
       [](HighScores& r, const SongList&) {
         for (int p = 0; p < 8; ++p)
           for (int s = 0; s < 9; ++s) Pass(r, p, s, 3, 10);  // low rates: rank below 14
         for (int f = 0; f <= 6; ++f) MarkFlag(r, f);
         for (int m = 0; m <= 5; ++m) r.SpecialPlays[static_cast<size_t>(m)] = 1;
       },
       3, 23, 3, false, [](const Game& g) { EXPECT_EQ(g.State.Setup.PlayStyle, 3); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const fs::path folder = TourFolder(std::string("special-") + std::to_string(c.Mode));
    WriteProfile(folder, c.Profile);
    // Title: Down twice to SPECIAL; SELECT MODE; then the first stage's menus.
    std::vector<KeyPress> keys = {{1000, kKeyDown}, {1200, kKeyDown}, {1500, kKeyEnter}};
    double t = 3000;
    for (int i = 0; i < c.Ups; ++i, t += 200) keys.push_back({t, 38});
    keys.push_back({t + 300, kKeyEnter});
    const bool fixed = c.Mode >= 7;
    std::vector<KeyPress> stageKeys = {{0, kKeyEnter}};
    if (!fixed) stageKeys.push_back({kMenuStepMs, kKeyEnter});
    if (c.MatchUp) stageKeys.push_back({2 * kMenuStepMs, kKeyEnter});
    for (const KeyPress& k : stageKeys) keys.push_back({t + 1800 + k.AtMs, k.Key});
    auto script = std::make_shared<TourScript>();
    const int stages = c.Stages;
    script->After = [stageKeys, stages](int stage) {
      return stage < stages ? stageKeys : std::vector<KeyPress>{{1000, kKeyEscape}};
    };
    const GameRun run = RunTour(folder, keys, script);
    ASSERT_EQ(run.Status, kExitOk) << c.Name;
    EXPECT_EQ(script->Stages, c.Stages) << c.Name;
    EXPECT_EQ(run.TheGame->LastStage.Players[0].StageScore, 100) << c.Name;
    c.Check(*run.TheGame);
    EXPECT_FALSE(fs::exists(folder / "error.txt")) << c.Name << ReadFile(folder / "error.txt");
    const HighScores saved = SavedRecords(run);
    // The run played a stage to its end: the mode counts as played, though Esc ended it.
    EXPECT_EQ(saved.SpecialPlays[static_cast<size_t>(c.Mode)], 1) << c.Name;
  }
}

// The title with every entry, then SELECT MODE on its second page (Down past the sixth
// entry), in one run: pictures kept for a look.
TEST(Tours, TitleAndSelectModeDrawTheirPictures) {
  const fs::path folder = TourFolder("select-mode");
  WriteProfile(folder, [](HighScores& r, const SongList&) {
    Pass(r, 0, 0);
    for (int f : {1, 3, 4, 5, 6}) MarkFlag(r, f);
  });
  PicturesAt pictures;
  pictures.At = {{1250, "title-grid"}, {4400, "select-mode"}};
  const std::vector<KeyPress> keys = {{1000, kKeyDown}, {1200, kKeyDown}, {1500, kKeyEnter}, {3000, kKeyDown},
                                      {3200, kKeyDown}, {3400, kKeyDown}, {3600, kKeyDown}, {3800, kKeyDown},
                                      {4000, kKeyDown}, {4500, kKeyEscape}};
  const GameRun run = RunGame(folder, WithDeadline(keys), {.Pictures = &pictures});
  EXPECT_EQ(run.Status, kExitOk);
  EXPECT_EQ(run.TheGame->Unlocked.List(), (std::vector<int16_t>{0, 1, 2, 3, 4, 5, 6, 20, 30}));
  EXPECT_EQ(pictures.Drawn, pictures.Names());
  EXPECT_FALSE(fs::exists(folder / "error.txt")) << ReadFile(folder / "error.txt");
}

// A song that fails to load mid-tour ends the game, but the stage already played stays
// recorded.
TEST(Tours, ASongThatFailsMidTourKeepsTheStagesPlayed) {
  const fs::path folder = TourFolder("load-fails", "songs/tidewater/part07.zxp");
  auto script = std::make_shared<TourScript>();
  script->After = [](int) { return std::vector<KeyPress>{{0, kKeyEnter}}; };  // song 3 at stage 2
  const GameRun run = RunTour(folder, kToArcade, script);
  EXPECT_EQ(run.Status, kExitFatal);
  EXPECT_EQ(script->Stages, 1);
  EXPECT_NE(ReadFile(folder / "error.txt").find("tidewater"), std::string::npos);
  const HighScores saved = SavedRecords(run);
  EXPECT_EQ(saved.HPS(0, 0), 1);
}

}  // namespace
}  // namespace tessaru::flowtest
