// Draws every launcher dialog once on a real window and writes each frame as a PNG:
//   tessaru-launcher-pictures OUTDIR DATADIR
// It also prints how long the window took from program start to its first frame.
#include <chrono>
#include <cstdio>
#include <string>

#include "flow/game.h"
#include "launcher/imgui_launcher_ui.h"
#include "launcher/launcher.h"
#include "persist/user_settings.h"
#include "platform/form_window.h"

int main(int argc, char** argv) {
  using namespace tessaru;
  using namespace tessaru::form_text;
  const auto start = std::chrono::steady_clock::now();
  if (argc != 3) {
    std::fprintf(stderr, "usage: tessaru-launcher-pictures OUTDIR DATADIR\n");
    return 2;
  }
  const std::string out = argv[1];
  const std::string data = argv[2];
  const auto window = platform::CreateSdlFormWindow();
  ImGuiLauncherUi ui(*window);
  if (!ui.Open(data + "/tessaru.png")) {
    std::fprintf(stderr, "no window: %s\n", window->LastError().c_str());
    return 1;
  }
  const auto opened = std::chrono::steady_clock::now();
  LauncherForms forms;
  forms.Conv.Visible = true;
  forms.Conv.Enabled = false;
  forms.Conv.Progress = std::string(kSearching) + data + "/song/tidewater";
  ui.Repaint(forms);
  const auto firstFrame = std::chrono::steady_clock::now();
  ui.Snapshot(forms, out + "/launcher-search.png");

  forms.Conv.Enabled = true;
  forms.Conv.Files = {data + "/song/tidewater/bgm.mp3", data + "/song/ember/bgm.mp3",
                      data + "/song/extra/夕焼け/bgm.MP3"};
  forms.Conv.Progress = "3" + std::string(kFoundSuffix);
  ui.Snapshot(forms, out + "/launcher-conv.png");

  forms.Conv.Enabled = false;
  forms.Dec.Visible = true;
  forms.Dec.Caption = std::string(kDecCaption) + "(2 / 3)";
  forms.Dec.Status = std::string(kDecoding) + "bgm.mp3";
  ui.Snapshot(forms, out + "/launcher-decode.png");
  forms.Dec.Visible = false;
  forms.Conv.Visible = false;

  forms.Boot.Visible = true;
  forms.Boot.Caption = BootCaption(kVersionMajor, kVersionMinor);
  forms.Boot.BackgroundPath = data + "/image/bootback.bmp";
  ui.Snapshot(forms, out + "/launcher-boot.png");

  UserSettings settings;
  forms.Options = LoadBootOptions(settings);
  forms.Options.Visible = true;
  ui.Snapshot(forms, out + "/launcher-options.png");

  const auto ms = [start](std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(t - start).count();
  };
  std::printf("window open %.1f ms, first frame %.1f ms after start\n", ms(opened), ms(firstFrame));
  return 0;
}
