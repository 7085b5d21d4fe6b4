#pragma once
// `tessaru --headless --script FILE`: the whole game on the headless devices, its keys
// read from FILE, one JSON line of what happened printed at the end.
#include <string>

#include "core/program_folders.h"

namespace tessaru {

struct ScriptedRunArgs {
  std::string ScriptPath;
  std::string FramesFolder;  // empty: none given
  double MaxMs = 0;          // <= 0: the default
};

// Returns the process's exit status: the game's own, 2 for a script that cannot be read,
// 3 when the run was ended at its time limit, 4 when a shot could not be written.
int RunScriptedGame(const ScriptedRunArgs& args, const ProgramFolders& folders);

}  // namespace tessaru
