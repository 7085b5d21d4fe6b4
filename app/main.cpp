// tessaru: the game. The original read no command line; a Linux player expects a help
// text, a version and a way to keep the settings elsewhere, and nothing more.
#include <cstdio>
#include <cstring>
#include <string>

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
      "A two-player, four-lane, keysounded rhythm game.\n\n"
      "  --program-dir DIR  the folder holding user.ini, keyset.ini, hsc.ini, hscsp.ini,\n"
      "                     the replays and, unless DATAPATH in user.ini names another,\n"
      "                     the data (default: the folder of this program; an installed\n"
      "                     game, or one whose folder cannot be written, keeps these in\n"
      "                     $XDG_DATA_HOME/tessaru and reads its installed data)\n"
      "  --skip-launcher    start the game at once, without the start-up dialogs and the\n"
      "                     MP3 search\n"
      "  --help             show this text\n"
      "  --version          show the version\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::string programFolder;
  bool skipLauncher = false;
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
    if (arg == "--program-dir" && i + 1 < argc) {
      programFolder = argv[++i];
      continue;
    }
    if (arg.rfind("--program-dir=", 0) == 0) {
      programFolder = arg.substr(std::strlen("--program-dir="));
      continue;
    }
    std::fprintf(stderr, "tessaru: unknown option '%s' (see --help)\n", arg.c_str());
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
    tessaru::platform::ShowFormMessage(true, std::string(tessaru::form_text::kErrorTitle),
                                       std::string(tessaru::form_text::kSecondCopy));
    return 1;
  }

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
