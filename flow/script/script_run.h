#pragma once
// Scripted runs: the whole game on the headless devices (no window, no sound device, a
// virtual clock that runs as fast as the machine allows), its keys read from a script,
// and a report of what happened: the screens visited, each stage's song, parts and
// results, and how the run ended. The whole-game tests run the game this way too.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/program_folders.h"
#include "flow/game.h"
#include "flow/script/script_file.h"
#include "platform/headless.h"

namespace tessaru {

// A run that never quits ends after an hour of game time unless told otherwise.
inline constexpr double kDefaultScriptMaxMs = 3'600'000.0;

struct ScriptRunOptions {
  ProgramFolders Folders;
  // Where shots are written; it must exist when the script takes any.
  std::string FramesFolder;
  double MaxMs = kDefaultScriptMaxMs;
  // Test aids: set the devices up before the start (a refused sound format), and the game
  // after its settings are loaded, before it starts.
  std::function<void(platform::HeadlessControl&)> PrepareDevices;
  std::function<void(Game&)> PrepareGame;
  // Test aid: more events for each stage, timed from when its song's clock reads 0 (the
  // presses of a chart the test only learns as the stage starts).
  std::function<std::vector<ScriptEvent>(const StageContext&)> StageEvents;
};

struct VisitedScreen {
  std::string Name;
  double AtMs = 0;  // game time of its opening; for a stage, when the song's clock read 0
};

struct PlayedStage {
  std::string SongPath;  // relative to the data folder
  std::string Title;
  StageSetup Setup;      // who played which part, as the stage was told
  StageOutcome Outcome;  // as it ended (empty until it has)
  // It reached its end (F1 cuts it short to its end), rather than being left by Esc or a
  // quit during play; a quit during its result display leaves it ended.
  bool Ended = false;
};

// How the run ended.
enum class ScriptExit {
  Quit,         // the script's quit
  TimeLimit,    // the script ran past its time limit
  Ended,        // the game ended as a player ends it (Esc, EXIT on the title)
  StartFailed,  // the game could not start (the reason is in error.txt)
  Fatal,        // the game ended on an error
};
std::string_view ExitName(ScriptExit exit);

struct ScriptRun {
  int Status = -1;  // GameMain's exit status
  ScriptExit Exit = ScriptExit::Ended;
  double EndMs = 0;  // game time at the end
  std::vector<VisitedScreen> Screens;
  std::vector<PlayedStage> Stages;
  // Shots that could not be written, one line each.
  std::vector<std::string> Problems;
  platform::HeadlessControl* Control = nullptr;
  std::unique_ptr<Game> TheGame;
};

// Runs the game from start to exit. Records and settings are saved as in a normal run.
ScriptRun RunScript(const Script& script, const ScriptRunOptions& options);

// The report printed at the end of a scripted run.
nlohmann::ordered_json ScriptRunJson(const ScriptRun& run);

}  // namespace tessaru
