#include "flow/game.h"

#include <utility>

#include "core/file_access.h"
#include "core/paths.h"

namespace tessaru {

Game::Game(std::unique_ptr<platform::Platform> devices, std::string programFolder)
    : Game(std::move(devices), ProgramFolders{programFolder, programFolder, {}, {},
                                              JoinLogical(programFolder, kWindowIconFile)}) {}

Game::Game(std::unique_ptr<platform::Platform> devices, ProgramFolders folders)
    : devices_(std::move(devices)),
      Graph(*devices_->video, *devices_->clock, Errors),
      Sound(*devices_->audio, *devices_->clock),
      Input(*devices_->input, *devices_->clock),
      Folders(std::move(folders)),
      ProgramFolder(Folders.Program),
      DataPath(Folders.Data) {}

void LoadGameSettings(Game& game) {
  if (!LoadUserSettings(game.Settings, game.DataPath, game.ProgramFolder)) {
    game.Errors.Add(game.ProgramFolder + "\\" + std::string(kUserSettingsFile) +
                    "を読めませんでした。標準の設定で起動します。");
  }
  // Without DATAPATH an installed game reads the data it was installed with.
  if (game.Settings.DATAPATH.empty()) game.DataPath = game.Folders.Data;
  game.LoadedSettings = game.Settings;
  game.Graph.SetDataPath(game.DataPath);
  // Saves interrupted last time (a crash, a power cut) leave their temporary file beside
  // the intact old one; nothing reads them, so they only clutter the folders.
  for (const std::string& folder :
       {game.ProgramFolder, JoinLogical(game.ProgramFolder, "replay"), ErrorReportFolder(game)}) {
    RemoveLeftoverSaves(folder);
  }
}

bool CanSaveUserFiles(const Game& game) { return game.Folders.Problem.empty(); }

std::string ErrorReportFolder(const Game& game) {
  return game.Folders.ErrorReport.empty() ? game.DataPath : game.Folders.ErrorReport;
}

void MakeSharedPages(Game& game) {
  game.FontPage = game.Graph.NewSurface(0, 0);
  if (game.FontPage >= 0) game.Graph.LoadSystemFont(game.FontPage);
  game.FadePage = game.Graph.NewSurface(0, 0);
}

void EnterScreen(Game& game, std::string_view name) {
  if (game.ScreenEntered) game.ScreenEntered(name);
}

std::string DataFile(const Game& game, std::string_view relative) {
  std::string path = game.DataPath;
  path += relative;
  return path;
}

}  // namespace tessaru
