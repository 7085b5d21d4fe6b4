// The part select's replay dialog in a whole free-mode game: a stored replay of the song
// is listed, chosen for 1P, and drives that side's stage.
#include <gtest/gtest.h>

#include "content/song_file.h"
#include "core/paths.h"
#include "flow/free_mode.h"
#include "flow/tests/game_rig.h"
#include "persist/high_scores.h"
#include "persist/replay_file.h"
#include "stage/simulation.h"
#include "stage/tempo_map.h"

namespace tessaru::flowtest {
namespace {

const std::string kUserIni = "[USER]\r\nMAXFPS=20\r\nDIFFICULTY=2\r\n";

struct StoredReplay {
  std::string SongPath;
  int32_t Chips = 0;
};

// Plays part 1 of the first free song with every chip on time, as a replay in the
// program folder, plus one replay of another song.
StoredReplay StoreReplay(const fs::path& folder) {
  platform::HeadlessPlatform probe = platform::CreateHeadlessPlatform();
  Game g(std::move(probe.platform), folder.string());
  LoadGameSettings(g);
  StoredReplay stored;
  if (!LoadSongList(g.Songs, g.Song, g.Parts, g.DataPath, 0, g.Errors)) return stored;
  const std::vector<int16_t> offered = FreeSongList(g.Songs, g.Records);
  if (offered.empty()) return stored;
  stored.SongPath = g.Songs.SongPaths[static_cast<size_t>(offered[0])];
  SongRecord song;
  std::vector<PartRecord> parts;
  if (!LoadSongFile(song, parts, stored.SongPath, false)) return stored;
  std::vector<ScriptedPress> presses;
  for (const int32_t s : ChipSteps(song, parts[0])) {
    presses.push_back({StepToTime(song, s), 0, parts[0].StepWords[static_cast<size_t>(s)]});
  }
  StageSetup setup;
  setup.PlayerPart = {0, 1};
  setup.ComSkill = {-1, 50, 99, 99};
  setup.MenuChoice = TitleCode::FreeMode;
  Random random(1);
  Stage stage(song, parts, setup, random);
  RunSimulation(stage, presses);
  ReplayRecord capture = stage.Capture(0);
  capture.SongPath = stored.SongPath;
  std::string reason;
  if (SaveReplay(g.ProgramFolder, g.DataPath, capture, reason).empty()) return stored;
  capture.SongPath = g.DataPath + "\\songs\\elsewhere\\elsewhere.z4s";
  SaveReplay(g.ProgramFolder, g.DataPath, capture, reason);
  stored.Chips = static_cast<int32_t>(presses.size());
  return stored;
}

TEST(ReplayGame, ChosenInThePartSelectItDrivesTheStage) {
  const fs::path folder = MakeProgramFolder("replay-game", {}, kUserIni);
  const StoredReplay stored = StoreReplay(folder);
  ASSERT_GT(stored.Chips, 0);

  // Tab on the part select (the dialog's picture is kept), Enter on the first entry of the
  // 1P column, the match-up, the stage the replay plays, and Esc on the results screen.
  PicturesAt pictures;
  pictures.At = {{5900, "replay-dialog"}};
  const GameRun run = RunGame(
      folder,
      {{1500, kKeyEnter}, {3000, kKeyEnter}, {4500, kKeyEnter}, {5600, kKeyTab}, {6000, kKeyEnter}, {8000, kKeyEnter},
       {400000, kKeyEscape}},
      {.Pictures = &pictures});
  EXPECT_EQ(pictures.Drawn, pictures.Names());
  ASSERT_EQ(run.Status, kExitOk);
  const Game& game = *run.TheGame;
  EXPECT_TRUE(game.State.Setup.ReplayPlayback[0]);
  EXPECT_FALSE(game.State.Setup.ReplayPlayback[1]);
  EXPECT_EQ(FileNameOf(game.State.ReplayFiles[0]), StripExtension(FileNameOf(stored.SongPath)) + "1-000.zxr");
  EXPECT_EQ(game.LastStage.Players[0].JudgeCount[JudgeJust], stored.Chips);
  EXPECT_EQ(game.LastStage.Players[0].StageScore, 100);
  EXPECT_FALSE(fs::exists(folder / "error.txt")) << ReadFile(folder / "error.txt");
  // A played-back stage is nobody's record.
  HighScores saved;
  saved.LoadHighScores(game.Songs, folder.string());
  EXPECT_EQ(saved.HPS(0, game.State.Setup.SongIndex), 0);
}

}  // namespace
}  // namespace tessaru::flowtest
