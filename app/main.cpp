// tessaru: the game. The original read no command line; a Linux player expects a help
// text, a version and a way to keep the settings elsewhere, and nothing more.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "app/scripted_run.h"
#include "core/file_access.h"
#include "core/program_folders.h"
#include "flow/game.h"
#include "flow/game_main.h"
#include "launcher/forms.h"
#include "launcher/single_instance.h"
#include "launcher/start_up.h"
#include "platform/form_window.h"
#include "platform/platform.h"

namespace {

void PrintHelp() {
  std::printf(
      "Usage: tessaru [--program-dir DIR] [--skip-launcher]\n"
      "       tessaru --headless --script FILE [--frames DIR] [--max-ms MS] [--program-dir DIR]\n"
      "A two-player, four-lane, keysounded rhythm game.\n\n"
      "  --program-dir DIR  the folder holding user.ini, keyset.ini, hsc.ini, hscsp.ini,\n"
      "                     the replays and, unless DATAPATH in user.ini names another,\n"
      "                     the data (default: the folder of this program; an installed\n"
      "                     game, or one whose folder cannot be written, keeps these in\n"
      "                     $XDG_DATA_HOME/tessaru and reads its installed data)\n"
      "  --skip-launcher    start the game at once, without the start-up dialogs and the\n"
      "                     MP3 search\n"
      "  --headless         no window and no sound device: the game runs on a virtual\n"
      "                     clock as fast as the machine allows, its keys read from\n"
      "                     --script, and prints one JSON line of what happened at exit\n"
      "  --script FILE      the keys of a headless run: one command a line\n"
      "                     (at MS press|release|tap KEY, at MS shot NAME, at MS quit,\n"
      "                     autoplay 1|2 on|off, after SCREEN; see README.md)\n"
      "  --frames DIR       where a headless run writes its shots (made when missing)\n"
      "  --max-ms MS        game time after which a headless run is ended (default\n"
      "                     3600000, one hour)\n"
      "  --help             show this text\n"
      "  --version          show the version\n");
}

// An option's value, from "--name VALUE" or "--name=VALUE"; nothing when arg is not it.
std::optional<std::string> OptionValue(int argc, char** argv, int& i, std::string_view name) {
  const std::string_view arg = argv[i];
  if (arg == name) {
    if (i + 1 >= argc) {
      std::fprintf(stderr, "tessaru: %s needs a value (see --help)\n", argv[i]);
      std::exit(2);
    }
    return std::string(argv[++i]);
  }
  if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
    return std::string(arg.substr(name.size() + 1));
  }
  return std::nullopt;
}

std::optional<double> PositiveMs(const std::string& text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value <= 0) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  std::string programFolder;
  bool skipLauncher = false;
  bool headless = false;
  tessaru::ScriptedRunArgs scripted;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      PrintHelp();
      return 0;
    }
    if (arg == "--version") {
      std::printf("tessaru %d.%d\n", tessaru::kVersionMajor, tessaru::kVersionMinor);
      return 0;
    }
    if (arg == "--skip-launcher") {
      skipLauncher = true;
      continue;
    }
    if (arg == "--headless") {
      headless = true;
      continue;
    }
    if (auto value = OptionValue(argc, argv, i, "--program-dir")) {
      programFolder = *value;
    } else if (auto script = OptionValue(argc, argv, i, "--script")) {
      scripted.ScriptPath = *script;
    } else if (auto frames = OptionValue(argc, argv, i, "--frames")) {
      scripted.FramesFolder = *frames;
    } else if (auto maxMs = OptionValue(argc, argv, i, "--max-ms")) {
      const auto ms = PositiveMs(*maxMs);
      if (!ms) {
        std::fprintf(stderr, "tessaru: --max-ms '%s' is not a positive number of milliseconds\n", maxMs->c_str());
        return 2;
      }
      scripted.MaxMs = *ms;
    } else {
      std::fprintf(stderr, "tessaru: unknown option '%s' (see --help)\n", arg.c_str());
      return 2;
    }
  }
  if (headless && scripted.ScriptPath.empty()) {
    std::fprintf(stderr, "tessaru: --headless needs --script FILE (see --help)\n");
    return 2;
  }
  if (!headless && (!scripted.ScriptPath.empty() || !scripted.FramesFolder.empty() || scripted.MaxMs > 0)) {
    std::fprintf(stderr, "tessaru: --script, --frames and --max-ms go with --headless (see --help)\n");
    return 2;
  }
  if (!programFolder.empty() && !tessaru::FolderExists(programFolder)) {
    std::fprintf(stderr, "tessaru: the program folder '%s' does not exist\n", programFolder.c_str());
    return 2;
  }

  const tessaru::ProgramFolders folders =
      tessaru::ChooseProgramFolders(tessaru::CurrentFolderInputs(programFolder));
  // A second copy would fight the first over the settings and records files.
  tessaru::SingleInstanceLock lock;
  if (lock.Acquire(folders.Program) == tessaru::SingleInstanceLock::Result::HeldByAnother) {
    // A headless run may have no display to show a box on.
    if (headless) {
      std::fprintf(stderr, "tessaru: %s (%s)\n", std::string(tessaru::form_text::kSecondCopy).c_str(),
                   folders.Program.c_str());
    } else {
      tessaru::platform::ShowFormMessage(true, std::string(tessaru::form_text::kErrorTitle),
                                         std::string(tessaru::form_text::kSecondCopy));
    }
    return 1;
  }

  if (headless) return tessaru::RunScriptedGame(scripted, folders);

  tessaru::Game game(tessaru::platform::CreateSdlPlatform(), folders);
  tessaru::LoadGameSettings(game);
  int16_t hideCursor = 1;
  if (!skipLauncher) {
    const auto start = tessaru::RunStartUpForms(game);
    if (!start) return 0;
    hideCursor = *start;
  }
  return tessaru::GameMain(game, hideCursor);
}
