#include "flow/game.h"

#include <utility>

namespace tessaru {

Game::Game(std::unique_ptr<platform::Platform> devices, std::string programFolder)
    : devices_(std::move(devices)),
      Graph(*devices_->video, *devices_->clock, Errors),
      Sound(*devices_->audio, *devices_->clock),
      Input(*devices_->input, *devices_->clock),
      ProgramFolder(std::move(programFolder)),
      DataPath(ProgramFolder) {}

void LoadGameSettings(Game& game) {
  if (!LoadUserSettings(game.Settings, game.DataPath, game.ProgramFolder)) {
    game.Errors.Add(game.ProgramFolder + "\\" + std::string(kUserSettingsFile) +
                    "を読めませんでした。標準の設定で起動します。");
  }
  game.LoadedSettings = game.Settings;
  game.Graph.SetDataPath(game.DataPath);
}

void MakeSharedPages(Game& game) {
  game.FontPage = game.Graph.NewSurface(0, 0);
  if (game.FontPage >= 0) game.Graph.LoadSystemFont(game.FontPage);
  game.FadePage = game.Graph.NewSurface(0, 0);
}

std::string DataFile(const Game& game, std::string_view relative) {
  std::string path = game.DataPath;
  path += relative;
  return path;
}

}  // namespace tessaru
