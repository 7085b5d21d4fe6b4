#include "flow/game_main.h"

#include <cstdio>
#include <optional>

#include "content/data_files.h"
#include "core/file_access.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "flow/config/config_screen.h"
#include "flow/free_mode.h"
#include "flow/menu_sound.h"
#include "flow/results/results_screens.h"
#include "flow/title_screen.h"
#include "flow/tours/tours.h"
#include "flow/tours/unlocks.h"
#include "flow/training/training_screen.h"
#include "persist/key_settings.h"
#include "persist/player_rank.h"

namespace tessaru {
namespace {

enum class LoopEnd { Save, Fatal };

// A data folder with neither the system font nor the title pictures is the wrong folder
// (a DATAPATH that points elsewhere, a program folder without data): nothing could be
// shown, so the game says which folder it read instead of opening a black window.
bool GameDataMissing(const Game& game) {
  for (const std::string_view picture : {data_files::kSystemFont, data_files::kTitleLogo, data_files::kTitlePrompt}) {
    if (FileExists(ReplaceExtension(DataFile(game, picture), ".zxg"))) return false;
  }
  return true;
}

bool StartUp(Game& game) {
  GraphLib& g = game.Graph;
  if (GameDataMissing(game)) {
    game.Errors.Add(game.DataPath + std::string(kNoGameData));
    return false;
  }
  if (!g.InitDirectDraw(game.Settings.FULLSCREEN == 0, 0)) {
    std::string line = "DirectDrawの初期化に失敗しました";
    game.Errors.Add(line);
    return false;
  }
  game.Input.InitInput(true);
  LoadKeySettings(game.Input.KeyMap(), game.ProgramFolder, &game.Errors);
  game.Input.ResetInput();
  game.Input.UpdateFuncState(true);

  MakeSharedPages(game);
  g.ClearSurface(BackIndex);
  const std::string version = "SYSTEM QX9 VER." + NumberText(int64_t{kVersionMajor}) + "." +
                              NumberText(int64_t{kVersionMinor});
  g.DrawSystemText(BackIndex, version, 16, 16, 0);
  g.DrawSystemText(BackIndex, "NOW LOADING", 320 - 11 * 16 / 2, 224, 0);
  g.FlipScreen();

  if (game.Sound.IsSoundOpen()) {
    game.Errors.Add("DirectSoundが、すでにオープンされています");
    return false;
  }
  if (!game.Sound.OpenSound(1)) {
    game.Errors.Add("DirectSoundの初期化に失敗しました");
    return false;
  }
  if (!SetupSoundOutput(game)) return false;

  // A list that could not be fully loaded is still a list: the tours lock themselves and
  // free mode goes on with what was read; the log says which song failed.
  LoadSongList(game.Songs, game.Song, game.Parts, game.DataPath, game.Settings.SCANSONGS,
               game.Errors);
  game.Records.LoadHighScores(game.Songs, game.ProgramFolder);
  LoadMenuSounds(game);
  return true;
}

// The flow a mode code runs (-2 fatal, -1 end the game, else back to the title), or
// none for a single screen or a code without an activity.
std::optional<int16_t> RunFlow(Game& game, TitleCode choice) {
  switch (choice) {
    case TitleCode::SingleTour: return RunSingleTour(game);
    case TitleCode::FreeMode: return RunFreeMode(game);
    case TitleCode::SpecialTour: return RunSpecialTour(game);
    case TitleCode::Tutorial: return RunTutorial(game);
    case TitleCode::Beginner: return RunBeginnerMode(game);
    case TitleCode::TwoPlayerTour: return RunPairTour(game);
    default: return std::nullopt;
  }
}

// The single screens the title reaches (settings, training and records); false for a code that
// names none.
bool RunSingleScreen(Game& game, TitleCode choice) {
  switch (choice) {
    case TitleCode::Config: RunConfig(game); return true;
    case TitleCode::Training: RunTraining(game); return true;
    case TitleCode::TourRecords: ShowTourRecords(game, 0); return true;
    case TitleCode::SongRecords: ShowSongRecords(game); return true;
    case TitleCode::PlayerRank: ShowPlayerRank(game); return true;
    case TitleCode::SpecialRecords: ShowSpecialRecords(game, 0); return true;
    default: return false;
  }
}

void RecomputeUnlocks(Game& game) {
  const int16_t rank = PlayerRankIndex(game.Records, LoadRankThresholds(game.DataPath));
  game.Unlocked = ComputeUnlockedModes(game.Records, game.Songs, rank);
}

LoopEnd MainLoop(Game& game) {
  for (;;) {
    StopMenuBgm(game);
    RecomputeUnlocks(game);
    int16_t sub = 0;
    const TitleCode code = RunTitle(game, sub);
    const TitleAction action =
        ApplyTitleCode(code, sub, game.State.Setup.MenuChoice, game.State.Setup.MenuSub);
    if (action.Ending) {
      game.State.QuitRequested = false;
      ShowEnding(game, 0);
      // Esc ends the game from the ending too.
      if (game.State.QuitRequested) return LoopEnd::Save;
      continue;
    }
    game.State.Setup.MenuChoice = action.MenuChoice;
    game.State.Setup.MenuSub = action.MenuSub;
    game.State.QuitRequested = false;
    if (const std::optional<int16_t> result = RunFlow(game, action.MenuChoice)) {
      if (*result == -2) return LoopEnd::Fatal;
      if (*result == -1 || game.State.QuitRequested) return LoopEnd::Save;
    } else if (RunSingleScreen(game, action.MenuChoice)) {
      if (game.State.QuitRequested) return LoopEnd::Save;
    } else {
      // Esc on the title, the EXIT entry, or a code whose activity this build lacks.
      return LoopEnd::Save;
    }
  }
}

// The driver changes a setting only as a fallback (sound format, display) or to mend a
// frame cap of 0; only then is "user.ini" written, so a player's file is otherwise left
// exactly as it was.
void SaveChangedSettings(Game& game) {
  const UserSettings& now = game.Settings;
  const UserSettings& was = game.LoadedSettings;
  if (!CanSaveUserFiles(game)) return;
  if (now.SNDPLAYQUALITY == was.SNDPLAYQUALITY && now.MAXFPS == was.MAXFPS &&
      now.RESOLUTION == was.RESOLUTION) {
    return;
  }
  if (!SaveUserSettings(now, game.ProgramFolder)) {
    game.Errors.Add(game.ProgramFolder + "\\" + std::string(kUserSettingsFile) + "の保存に失敗しました");
  }
}

void ShutDown(Game& game) {
  SaveChangedSettings(game);
  game.Input.ReleaseInput();
  game.Graph.ReleaseDirectDraw();
  game.Sound.ReleaseAllSounds();
  game.Sound.CloseSound();
  game.Devices().input->Pump();
  if (game.Errors.Empty()) return;
  // Without its data the game never showed a thing: the box itself names the folder.
  const std::string text = GameDataMissing(game) ? game.DataPath + std::string(kNoGameData)
                                                 : std::string(kErrorBoxText);
  game.Devices().dialogs->ShowMessage("Tessaru", text);
  // The report is best effort: a read-only folder must not stop the exit, but the lines
  // still reach the terminal rather than vanish.
  const std::string report = ErrorReportFolder(game) + "\\" + std::string(kErrorFile);
  if (!game.Errors.WriteTo(report)) {
    std::fprintf(stderr, "tessaru: %s could not be written:\n%s", ResolvePath(report).c_str(),
                 game.Errors.Text().c_str());
  }
}

// Said once, before the title: the player then knows why no record will be kept.
void ReportUnsavableFolder(Game& game) {
  if (CanSaveUserFiles(game)) return;
  std::fprintf(stderr, "tessaru: %s\n", game.Folders.Problem.c_str());
  game.Devices().dialogs->ShowMessage("Tessaru", game.Folders.Problem);
}

}  // namespace

TitleAction ApplyTitleCode(TitleCode code, int16_t sub, TitleCode menuChoice, int16_t menuSub) {
  TitleAction a{false, menuChoice, menuSub};
  if (code == TitleCode::Ending) {
    a.Ending = true;
    return a;
  }
  switch (code) {
    case TitleCode::SingleTourSeat: a.MenuSub = sub; code = TitleCode::SingleTour; break;
    case TitleCode::SpecialTour: a.MenuSub = sub; break;
    case TitleCode::SessionTour: a.MenuSub = 1; code = TitleCode::TwoPlayerTour; break;
    default: break;
  }
  a.MenuChoice = code;
  return a;
}

std::string WindowCaption() {
  return "Tessaru " + NumberText(int64_t{kVersionMajor}) + "." + NumberText(int64_t{kVersionMinor});
}

void SaveAllRecords(Game& game) {
  if (!CanSaveUserFiles(game)) return;
  const std::string caption = game.Graph.WindowTitle();
  game.Graph.SetWindowTitle("データをセーブ中です");
  game.Devices().input->Pump();
  const std::string& folder = game.ProgramFolder;
  bool ok = game.Records.SaveHighScores(folder);
  ok = game.Records.SaveSpecialRankings(folder) && ok;
  ok = game.Records.SaveTourRankings(folder) && ok;
  if (!ok) game.Errors.Add(folder + "の記録ファイルの保存に失敗しました");
  game.Graph.SetWindowTitle(caption);
}

bool StartGame(Game& game, int16_t hideCursor) {
  GraphLib& g = game.Graph;
  game.CursorHidden = hideCursor == 1 && game.Settings.FULLSCREEN == 0;
  g.SetCursorHidden(game.CursorHidden);
  g.SetWindowTitle(WindowCaption());
  g.SetWindowIcon(game.Folders.WindowIcon);
  g.SetDataPath(game.DataPath);
  g.SetMessagePump([&game] { game.Devices().input->Pump(); });
  g.SetFrameInput([&game] { game.Input.UpdateFuncState(true); });
  game.Rng.Seed(game.Clock().GetTickCount());
  return StartUp(game);
}

int GameMain(Game& game, int16_t hideCursor) {
  int status = kExitOk;
  if (!StartGame(game, hideCursor)) {
    status = kExitStartFailed;
  } else {
    ReportUnsavableFolder(game);
    if (MainLoop(game) == LoopEnd::Fatal) {
      status = kExitFatal;
    } else {
      SaveAllRecords(game);
    }
  }
  ShutDown(game);
  return status;
}

}  // namespace tessaru
