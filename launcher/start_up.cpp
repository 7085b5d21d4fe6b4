#include "launcher/start_up.h"

#include <cstdio>

#include "launcher/imgui_launcher_ui.h"
#include "launcher/launcher.h"
#include "platform/form_window.h"

namespace tessaru {

std::optional<int16_t> RunStartUpForms(Game& game) {
  const auto window = platform::CreateSdlFormWindow();
  ImGuiLauncherUi ui(*window);
  if (!ui.Open(game.Folders.WindowIcon)) {
    std::fprintf(stderr, "tessaru: the launcher cannot open its window (%s)\n",
                 window->LastError().c_str());
    return std::nullopt;
  }
  const auto decoder = CreateMpg123Decoder();
  const LauncherResult result =
      RunLauncher(ui, *decoder, game.Settings, {game.ProgramFolder, game.DataPath});
  window->Close();
  if (!result.Start) return std::nullopt;
  return result.HideCursor;
}

}  // namespace tessaru
