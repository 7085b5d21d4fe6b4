#include "app/scripted_run.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "flow/game_main.h"
#include "flow/script/script_run.h"

namespace tessaru {

int RunScriptedGame(const ScriptedRunArgs& args, const ProgramFolders& folders) {
  ScriptError error;
  const std::optional<Script> script = LoadScript(args.ScriptPath, error);
  if (!script) {
    if (error.Line > 0) {
      std::fprintf(stderr, "tessaru: %s:%d: %s\n", args.ScriptPath.c_str(), error.Line, error.Reason.c_str());
    } else {
      std::fprintf(stderr, "tessaru: the script %s %s\n", args.ScriptPath.c_str(), error.Reason.c_str());
    }
    return 2;
  }
  if (const int shot = FirstShotLine(*script); shot > 0 && args.FramesFolder.empty()) {
    std::fprintf(stderr, "tessaru: %s:%d: a shot needs --frames DIR to be written into\n", args.ScriptPath.c_str(),
                 shot);
    return 2;
  }
  if (!args.FramesFolder.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(args.FramesFolder, ec);
    if (!std::filesystem::is_directory(args.FramesFolder)) {
      std::fprintf(stderr, "tessaru: the frames folder '%s' cannot be made\n", args.FramesFolder.c_str());
      return 2;
    }
  }

  ScriptRunOptions options;
  options.Folders = folders;
  options.FramesFolder = args.FramesFolder;
  if (args.MaxMs > 0) options.MaxMs = args.MaxMs;
  const ScriptRun run = RunScript(*script, options);
  std::cout << ScriptRunJson(run).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
            << std::endl;
  // The message boxes the game would have shown.
  for (const std::string& message : run.Control->Messages()) std::fprintf(stderr, "tessaru: %s\n", message.c_str());
  for (const std::string& problem : run.Problems) {
    std::fprintf(stderr, "tessaru: %s: %s\n", args.ScriptPath.c_str(), problem.c_str());
  }
  if (run.Exit == ScriptExit::TimeLimit) {
    std::fprintf(stderr, "tessaru: %s did not quit within %.0f ms of game time; the run was ended there\n",
                 args.ScriptPath.c_str(), options.MaxMs);
    return 3;
  }
  if (run.Status == kExitOk && !run.Problems.empty()) return 4;
  return run.Status;
}

}  // namespace tessaru
