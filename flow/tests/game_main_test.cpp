// Whole games through the real GameMain on the headless devices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <utility>

#include "content/song_file.h"
#include "core/file_access.h"
#include "flow/free_mode.h"
#include "flow/part_select.h"
#include "flow/tests/game_rig.h"
#include "persist/high_scores.h"
#include "stage/tempo_map.h"

namespace tessaru::flowtest {
namespace {

// Title -> FREE MODE -> START -> the first song -> part 1 -> match-up (skipped).
constexpr double kTitleEnter = 1500;
constexpr double kSettingStart = 3000;
constexpr double kSongEnter = 4500;
constexpr double kPartEnter = 6000;
constexpr double kMatchUpSkip = 8000;
const std::vector<KeyPress> kToTheStage = {{kTitleEnter, kKeyEnter},
                                           {kSettingStart, kKeyEnter},
                                           {kSongEnter, kKeyEnter},
                                           {kPartEnter, kKeyEnter},
                                           {kMatchUpSkip, kKeyEnter}};
// Fewer frames keep the test quick; the file itself must come out untouched.
const std::string kUserIni = "[USER]\r\nMAXFPS=20\r\nDIFFICULTY=2\r\n";

// A free-mode stage with every chip of part 1 struck on time, by hand or by the scripted
// runs' autoplay (whose side plays as a perfect player but leaves no record, which the
// result display and the results screen say): then F1 on the results menu and Esc on the
// title. A second run leaves with Esc during the result display: a stage that ended is
// in the records saved on the way out.
TEST(GameMain, FreeModeStagePlayedWellIsRecordedUnlessAutoplayed) {
  struct Case {
    const char* Name;
    bool Autoplay;
    double QuitAtMs;  // in the result display, from its start (the hand run: still counting up)
  };
  const Case cases[] = {{"hand", false, 1500}, {"autoplay", true, 3000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto started = std::chrono::steady_clock::now();
    const fs::path folder = MakeProgramFolder(std::string("play-") + c.Name, {}, kUserIni);
    SongRecord song;
    std::vector<PartRecord> parts;
    ASSERT_TRUE(LoadFirstFreeSong(folder, song, parts));
    int chips = 0;
    const std::string taps = ChipTaps(song, parts[0], 0, chips);
    ASSERT_GT(chips, 0);
    std::string script = std::string(c.Autoplay ? "autoplay 1 on\n" : "") + kToTheStageScript + "after stage\n";
    // Lane keys of an autoplayed side are not its presses.
    if (!c.Autoplay) script += taps;
    for (int at = 3000; c.Autoplay && at < 20000; at += 450) script += "at " + std::to_string(at) + " tap z\n";
    const std::string shot = std::string("free-results-") + c.Name;
    const GameRun run = PlayScript(folder, script + "after results\nat 1000 shot " + shot +
                                               "\nat 1500 tap F1\nafter title\nat 2000 tap Escape\n");
    ASSERT_EQ(run.Status, kExitOk);
    EXPECT_EQ(run.Exit, ScriptExit::Ended);
    const Game& game = *run.TheGame;
    std::vector<std::string> screens;
    for (const VisitedScreen& v : run.Screens) screens.push_back(v.Name);
    EXPECT_EQ(screens, (std::vector<std::string>{"title", "free-mode-setting", "song-select", "part-select",
                                                 "match-up", "stage", "results", "title"}));
    EXPECT_EQ(run.Screens[5].AtMs, game.LastStage.StartMs);
    // Only the release of the final Esc is left: the game ended on its press.
    EXPECT_EQ(run.Control->PendingKeyCount(), 1u);
    ASSERT_EQ(run.Stages.size(), 1u);
    const StagePlayerOutcome& side1 = run.Stages[0].Outcome.Players[0];
    EXPECT_EQ(side1.Autoplayed, c.Autoplay);
    EXPECT_FALSE(run.Stages[0].Outcome.Players[1].Autoplayed);  // a computer
    EXPECT_EQ(side1.JudgeCount[JudgeJust], chips);
    EXPECT_EQ(side1.JudgeCount[JudgeMiss], 0);
    EXPECT_EQ(side1.StageScore, 100);
    EXPECT_TRUE(run.Problems.empty());
    EXPECT_TRUE(fs::exists(fs::path(TESSARU_SCRATCH) / "screens" / (shot + ".png")));
    EXPECT_EQ(ReadFile(folder / "user.ini"), kUserIni);
    EXPECT_FALSE(fs::exists(folder / "error.txt")) << ReadFile(folder / "error.txt");
    EXPECT_TRUE(run.Control->Messages().empty());

    HighScores saved;
    saved.LoadHighScores(game.Songs, folder.string());
    const int songIndex = game.State.Setup.SongIndex;
    EXPECT_EQ(saved.HPS(0, songIndex), c.Autoplay ? 0 : 1);
    EXPECT_EQ(saved.HPR(0, songIndex), c.Autoplay ? 0 : 100);
    if (c.Autoplay) {
      // No pass count (HPS) or rate (HPR) of any part was written.
      std::string hsc = ReadFile(folder / "hsc.ini");
      std::transform(hsc.begin(), hsc.end(), hsc.begin(), [](unsigned char ch) { return std::tolower(ch); });
      EXPECT_EQ(hsc.find("hp"), std::string::npos) << hsc;
    } else {
      EXPECT_EQ(saved.SongRecords(DifficultyGroup(2), 0, songIndex).Rate, 100);
      EXPECT_GT(game.LastStage.Players[0].StagePoints, 0);
      EXPECT_EQ(saved.SongRecords(DifficultyGroup(2), 0, songIndex).Score, game.LastStage.Players[0].StagePoints);
    }

    const fs::path quit = MakeProgramFolder(std::string("quit-at-result-") + c.Name, {}, kUserIni);
    const std::string at = "at " + std::to_string(game.LastStage.SequenceStartMs - game.LastStage.StartMs + c.QuitAtMs);
    const GameRun quitRun = PlayScript(quit, std::string(c.Autoplay ? "autoplay 1 on\n" : "") + kToTheStageScript +
                                                 "after stage\n" + at + " shot result-display-" + c.Name + "\n" + at +
                                                 " tap Escape\n");
    ASSERT_EQ(quitRun.Status, kExitOk);
    ASSERT_GT(quitRun.TheGame->LastStage.SequenceStartMs, 0.0);
    ASSERT_EQ(quitRun.Stages.size(), 1u);
    EXPECT_TRUE(quitRun.Stages[0].Ended);
    EXPECT_EQ(quitRun.Stages[0].Outcome.Players[0].Autoplayed, c.Autoplay);
    EXPECT_LT(quitRun.EndMs, quitRun.TheGame->LastStage.SequenceStartMs + c.QuitAtMs + 1000);
    HighScores kept;
    kept.LoadHighScores(quitRun.TheGame->Songs, quit.string());
    EXPECT_EQ(kept.HPS(0, quitRun.TheGame->State.Setup.SongIndex), c.Autoplay ? 0 : 1);

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("two whole games with a %.1f s song took %.2f s\n",
                StepToTime(song, int32_t{song.Bars} * kStepsPerBar) / 1000, seconds);
  }
}

// The menus up to the match-up in one run, Esc on the match-up: each screen, once it is
// up, must be a drawn picture (kept in the scratch folder), and what is heard on it,
// sampled at every frame, is its own music alone.
TEST(GameMain, MenusDrawTheirPicturesAndPlayOnlyTheirOwnMusic) {
  const fs::path folder = MakeProgramFolder("menus");
  struct Case {
    const char* Screen;
    double From, To;  // a stretch well inside the screen; its picture is taken at To
    std::set<std::string> Music;  // empty: not checked
  };
  const Case cases[] = {
      {"title", 200, kTitleEnter - 300, {"titlebg.wav"}},
      {"free-mode-setting", kTitleEnter + 700, kSettingStart - 300, {"selbg.wav"}},
      {"song-select", kSettingStart + 700, kSongEnter - 300, {"selbg.wav"}},
      {"part-select", kSongEnter + 700, kPartEnter - 400, {"selbg.wav"}},
      {"match-up", kPartEnter + 2000, kMatchUpSkip + 400, {}},
  };
  std::vector<std::pair<double, std::set<std::string>>> heard;  // per frame (sound effects left out)
  PicturesAt pictures;
  for (const Case& c : cases) pictures.At.emplace_back(c.To, c.Screen);
  const std::vector<KeyPress> keys = {{kTitleEnter, kKeyEnter}, {kSettingStart, kKeyEnter}, {kSongEnter, kKeyEnter},
                                      {kPartEnter, kKeyEnter}, {kMatchUpSkip + 500, kKeyEscape}};
  const GameRun run = RunGame(folder, keys, {.Setup = [&](Game& g, platform::HeadlessControl& c) {
    c.SetPresentHook([&] {
      std::set<std::string> music;
      for (const std::string& path : g.Sound.PlayingSoundNames()) {
        const std::string name = path.substr(path.find_last_of("\\/") + 1);
        if (name.find("bg") != std::string::npos) music.insert(name);
      }
      heard.emplace_back(g.Clock().NowMs(), music);
      pictures.Take(g.Clock().NowMs(), c);
    });
  }});
  ASSERT_EQ(run.Status, kExitOk);
  EXPECT_FALSE(fs::exists(folder / "error.txt")) << ReadFile(folder / "error.txt");
  EXPECT_EQ(pictures.Drawn, pictures.Names());
  for (const Case& c : cases) {
    if (c.Music.empty()) continue;
    int frames = 0;
    for (const auto& [at, music] : heard) {
      if (at < c.From || at > c.To) continue;
      ++frames;
      EXPECT_EQ(music, c.Music) << c.Screen << " at " << at << " ms";
    }
    EXPECT_GT(frames, 5) << c.Screen;
  }
}

// Esc ends the game from every moment, the waits and holds of the screens included; the
// game must end right there, not run on to the next screen. The caption shows the
// version, and the save on the way out.
TEST(GameMain, EscEndsTheGameAtOnceAndTheCaptionFollows) {
  struct Case {
    const char* Name;
    size_t Steps;  // how many of the keys to the stage are pressed first
    double EscapeAt;
  };
  const Case cases[] = {
      {"title", 0, 800},
      {"part select's hold on the final choice", 4, kPartEnter + 300},
  };
  for (const Case& c : cases) {
    const fs::path folder = MakeProgramFolder("escape");
    std::vector<KeyPress> keys(kToTheStage.begin(), kToTheStage.begin() + static_cast<ptrdiff_t>(c.Steps));
    keys.push_back({c.EscapeAt, kKeyEscape});
    // A later Esc keeps a run that missed the first one from playing on for ever.
    keys.push_back({c.EscapeAt + 5000, kKeyEscape});
    const GameRun run = RunGame(folder, keys);
    EXPECT_EQ(run.Status, kExitOk) << c.Name;
    EXPECT_LT(run.TheGame->Clock().NowMs(), c.EscapeAt + 1000) << c.Name;
    EXPECT_EQ(run.TheGame->LastStage.Iterations, 0u) << c.Name;
    const std::vector<std::string> captions = {WindowCaption(), "データをセーブ中です", WindowCaption()};
    EXPECT_EQ(run.Control->WindowTitles(), captions) << c.Name;
  }
  EXPECT_EQ(WindowCaption(), "Tessaru 0.1");
}

// A DATAPATH that names a folder without the game's data: no black window, but a box
// and a line that name the folder read.
TEST(GameMain, AFolderWithoutTheGameDataSaysSoAndEnds) {
  const fs::path folder = fs::path(TESSARU_SCRATCH) / "nodata";
  fs::remove_all(folder);
  fs::create_directories(folder / "elsewhere");
  const std::string elsewhere = (folder / "elsewhere").string();
  WriteFile(folder / "user.ini", "[USER]\r\nDATAPATH=" + elsewhere + "\r\n");
  const GameRun run = RunGame(folder, {});
  EXPECT_EQ(run.Status, kExitStartFailed);
  const std::string line = elsewhere + std::string(kNoGameData);
  EXPECT_EQ(run.Control->Messages(), (std::vector<std::string>{line}));
  EXPECT_EQ(ReadFile(folder / "elsewhere" / "error.txt"), line + "\r\n[EOF]\r\n");
  EXPECT_TRUE(run.Control->WindowTitles().empty()) << "no window was opened";
  EXPECT_FALSE(fs::exists(folder / "hsc.ini"));
}

// Two computer sides on COM PART AUTO: both parts drawn from all eight, nothing shown.
TEST(PartSelect, TwoComputersOnAutoDrawAllEightPartsWithoutAFrame) {
  for (const uint64_t seed : {1u, 2u, 3u, 99u}) {
    platform::HeadlessPlatform devices = platform::CreateHeadlessPlatform();
    platform::HeadlessControl* control = devices.control;
    Game game(std::move(devices.platform), TESSARU_SCRATCH);
    game.Settings.SELCOM = 0;
    game.State.Setup.ComSkill = {0, 100, 99, 99};
    game.Rng.Seed(seed);
    Random twin(seed);
    const int16_t first = static_cast<int16_t>(twin.Draw(8));
    const int16_t second = static_cast<int16_t>(twin.Draw(8));
    EXPECT_EQ(SelectParts(game), 1) << seed;
    EXPECT_EQ(game.State.Setup.PlayerPart[0], first) << seed;
    EXPECT_EQ(game.State.Setup.PlayerPart[1], second) << seed;
    EXPECT_EQ(control->PresentCount(), 0u) << seed;
  }
}

// The sound device at start-up: a refused format steps down and is saved; no device at
// all ends the start with the line and saves nothing.
TEST(GameMain, SoundDeviceFallbackIsSavedAndNoDeviceEndsTheStart) {
  struct Case {
    const char* Name;
    std::function<bool(const platform::AudioFormat&)> Accepts;
    int Status;
    const char* WantIniLine;  // nullptr: nothing saved
    std::string ErrorTxt;
  };
  const Case cases[] = {
      // 22050 Hz 16-bit refused: -1 steps on to 0 and stays there.
      {"sound-format", [](const platform::AudioFormat& f) { return f.Rate != 22050 || f.Bits != 16; }, kExitOk,
       "SNDPLAYQUALITY=0", ""},
      {"nosound", [](const platform::AudioFormat&) { return false; }, kExitStartFailed, nullptr,
       "DirectSoundの初期化に失敗しました\r\n[EOF]\r\n"},
  };
  for (const Case& c : cases) {
    const fs::path folder = MakeProgramFolder(c.Name, {}, "[USER]\r\nSNDPLAYQUALITY=-1\r\n");
    const GameRun run = RunGame(folder, {{kTitleEnter, kKeyEscape}},
                                {.Prepare = [&](platform::HeadlessControl& h) { h.SetAudioAccepts(c.Accepts); }});
    EXPECT_EQ(run.Status, c.Status) << c.Name;
    EXPECT_EQ(ReadFile(folder / "error.txt"), c.ErrorTxt) << c.Name;
    EXPECT_EQ(fs::exists(folder / "hsc.ini"), c.WantIniLine != nullptr) << c.Name;
    if (c.WantIniLine) {
      EXPECT_NE(ReadFile(folder / "user.ini").find(c.WantIniLine), std::string::npos) << c.Name;
    }
  }
}

// An installed game whose data lack the match-up's background: the game goes on, the
// problem is named in a box and in the player's error.txt, and the data folder gets nothing.
TEST(GameMain, AMissingImageIsReportedInThePlayersFolderAndTheGameGoesOn) {
  const fs::path data = MakeProgramFolder("installed-data", "image/selback2.zxg");
  const fs::path user = fs::path(TESSARU_SCRATCH) / "installed-user";
  fs::remove_all(user);
  fs::create_directories(user);
  const ProgramFolders folders{user.string(), data.string(), user.string(), {}, {}};
  std::vector<KeyPress> keys(kToTheStage.begin(), kToTheStage.end() - 1);
  keys.push_back({kMatchUpSkip - 500, kKeyEscape});
  const GameRun run = RunGame(folders, keys);
  EXPECT_EQ(run.Status, kExitOk);
  EXPECT_EQ(run.TheGame->DataPath, data.string());
  EXPECT_EQ(ReadFile(user / "error.txt"),
            data.string() + "\\image\\selback2.bmp" + std::string(kLoadFailedSuffix) + "\r\n[EOF]\r\n");
  ASSERT_EQ(run.Control->Messages().size(), 1u);
  EXPECT_EQ(run.Control->Messages()[0], kErrorBoxText);
  EXPECT_EQ(run.Control->MessageTitles()[0], "Tessaru");
  // Esc saves the records on the way out.
  EXPECT_TRUE(fs::exists(user / "hsc.ini"));
  EXPECT_FALSE(fs::exists(data / "error.txt"));
  EXPECT_FALSE(fs::exists(data / "hsc.ini"));
}

TEST(GameMain, AFolderThatCannotBeWrittenIsNamedOnceAndNothingSavedIsTouched) {
  const fs::path folder = MakeProgramFolder("unsavable");
  // MAXFPS 0 would normally be written back as 60, and the exit always writes hsc.ini.
  const std::string userIni = "[USER]\r\nMAXFPS=0\r\n";
  const std::string records = "[VERSION]\r\nVER=1000\r\n[GAMEFLAG]\r\nFLAG1=7\r\n";
  WriteFile(folder / "user.ini", userIni);
  WriteFile(folder / "hsc.ini", records);
  const std::string notice = UnsavableFolderNotice(folder.string());
  const ProgramFolders folders{folder.string(), folder.string(), {}, notice, {}};
  const GameRun run = RunGame(folders, std::vector<KeyPress>{{kTitleEnter, kKeyEscape}});
  EXPECT_EQ(run.Status, kExitOk);
  EXPECT_EQ(run.Control->Messages(), std::vector<std::string>{notice});
  EXPECT_EQ(ReadFile(folder / "user.ini"), userIni);
  EXPECT_EQ(ReadFile(folder / "hsc.ini"), records);
  EXPECT_FALSE(fs::exists(folder / "hscsp.ini"));
  EXPECT_FALSE(fs::exists(folder / "error.txt"));
}

// A crash during a save leaves its temporary file; the next start clears it away. A key
// file that exists but cannot be read is reported as the settings file is. MAXFPS 0 is
// mended to 60 and saved.
TEST(GameMain, StartClearsInterruptedSavesMendsMaxFpsAndReportsAnUnreadableKeyFile) {
  const fs::path folder = MakeProgramFolder("interrupted", {}, "[USER]\r\nMAXFPS=0\r\n");
  const std::string tmp(kSaveTempSuffix);
  const std::string records = "[VERSION]\r\nVER=1000\r\n";
  WriteFile(folder / "hsc.ini", records);
  WriteFile(folder / ("hsc.ini" + tmp), "[VERS");
  fs::create_directories(folder / "replay");
  WriteFile(folder / "replay" / ("song1-000.zxr" + tmp), "");
  fs::create_directory(folder / "keyset.ini");
  const GameRun run = RunGame(folder, {{kTitleEnter, kKeyEscape}});
  EXPECT_EQ(run.Status, kExitOk);
  EXPECT_FALSE(fs::exists(folder / ("hsc.ini" + tmp)));
  EXPECT_FALSE(fs::exists(folder / "replay" / ("song1-000.zxr" + tmp)));
  EXPECT_EQ(ReadFile(folder / "hsc.ini").substr(0, records.size()), records);
  EXPECT_NE(ReadFile(folder / "user.ini").find("MAXFPS=60\r\n"), std::string::npos);
  EXPECT_EQ(ReadFile(folder / "error.txt"), run.TheGame->ProgramFolder + "\\keyset.ini" +
                                                "を読めませんでした。標準のキー設定で起動します。\r\n[EOF]\r\n");
}

}  // namespace
}  // namespace tessaru::flowtest
