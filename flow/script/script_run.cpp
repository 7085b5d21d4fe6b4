#include "flow/script/script_run.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "flow/game_main.h"
#include "flow/screen_names.h"
#include "flow/script/stage_json.h"
#include "persist/replay_file.h"

namespace tessaru {
namespace {

// A game that has not ended this long after its limit is stuck in a loop that never reads
// the close request; the run is then stopped hard rather than left hanging.
constexpr double kStuckAfterLimitMs = 60'000.0;

// Follows the game through its hooks and plays the script's stretches into the devices.
class ScriptDriver {
 public:
  ScriptDriver(const Script& script, const ScriptRunOptions& options, ScriptRun& run)
      : script_(script), options_(options), run_(run), control_(*run.Control) {}

  void Install(Game& game) {
    Arm(0.0);
    control_.SetClockHook([this](double now) { ClockMoved(now); });
    game.ScreenEntered = [this, &game, chained = game.ScreenEntered](std::string_view name) {
      if (chained) chained(name);
      Entered(game, name);
    };
    game.StageStarting = [this, &game, chained = game.StageStarting](StageContext& c) {
      if (chained) chained(c);
      StageStarting(game, c);
    };
    game.StagePlayed = [this, chained = game.StagePlayed](const StageContext& c) {
      if (chained) chained(c);
      if (run_.Stages.empty()) return;
      run_.Stages.back().Outcome = c.Outcome;
    };
  }

  bool QuitByScript() const { return quitByScript_; }
  bool LimitReached() const { return limitReached_; }

 private:
  // Schedules the next stretch from `anchor`.
  void Arm(double anchor) {
    if (armed_ < script_.Stretches.size()) Schedule(script_.Stretches[armed_++].Events, anchor);
  }

  // Keys go to the devices now; shots and the quit wait for the clock.
  void Schedule(const std::vector<ScriptEvent>& events, double anchor) {
    for (const ScriptEvent& e : events) {
      const double at = anchor + e.AtMs;
      switch (e.Action) {
        case ScriptAction::Press:
        case ScriptAction::Release:
          control_.ScheduleKey({at, e.Key, e.Action == ScriptAction::Press});
          break;
        case ScriptAction::Tap:
          control_.ScheduleKey({at, e.Key, true});
          control_.ScheduleKey({at + kTapHoldMs, e.Key, false});
          break;
        case ScriptAction::Shot:
        case ScriptAction::Quit:
          timed_.emplace(at, e);
          break;
      }
    }
    // A moment already passed (a stage's song clock starts before its first frame) is
    // acted on at once.
    ClockMoved(now_);
  }

  bool NextWaitsFor(std::string_view screen) const {
    return armed_ < script_.Stretches.size() && script_.Stretches[armed_].After == screen;
  }

  void Entered(Game& game, std::string_view name) {
    run_.Screens.push_back({std::string(name), game.Clock().NowMs()});
    // A stage's stretch starts with its song, which only its first frame tells.
    if (name != screen_name::kStage && NextWaitsFor(name)) Arm(game.Clock().NowMs());
  }

  void StageStarting(Game& game, StageContext& c) {
    PlayedStage stage;
    stage.SongPath = RelativeToDataPath(game.DataPath, c.SongPath);
    stage.Title = c.Song.Title;
    stage.Setup = c.Setup;
    run_.Stages.push_back(std::move(stage));
    c.StageEnded = [this, index = run_.Stages.size() - 1, chained = c.StageEnded](const StageOutcome& o) {
      run_.Stages[index].Ended = true;
      if (chained) chained(o);
    };
    auto started = std::make_shared<bool>(false);
    c.FrameDrawn = [this, &game, &c, started, chained = c.FrameDrawn](int32_t songTime) {
      if (chained) chained(songTime);
      if (*started) return;
      *started = true;
      const double songStart = game.Clock().NowMs() - songTime;
      if (!run_.Screens.empty() && run_.Screens.back().Name == screen_name::kStage) {
        run_.Screens.back().AtMs = songStart;
      }
      if (NextWaitsFor(screen_name::kStage)) Arm(songStart);
      if (options_.StageEvents) Schedule(options_.StageEvents(c), songStart);
    };
  }

  void ClockMoved(double now) {
    now_ = std::max(now_, now);
    while (!timed_.empty() && timed_.begin()->first <= now_) {
      const ScriptEvent e = timed_.begin()->second;
      timed_.erase(timed_.begin());
      if (e.Action == ScriptAction::Quit) {
        quitByScript_ = true;
        control_.RequestQuit();
      } else {
        Shot(e);
      }
    }
    if (now_ >= options_.MaxMs && !limitReached_) {
      limitReached_ = true;
      control_.RequestQuit();
    }
    if (limitReached_ && now_ >= options_.MaxMs + kStuckAfterLimitMs) {
      std::fprintf(stderr, "tessaru: the game did not end within %.0f ms of the time limit; stopped\n",
                   kStuckAfterLimitMs);
      std::_Exit(3);
    }
  }

  void Shot(const ScriptEvent& e) {
    const std::string path = (std::filesystem::path(options_.FramesFolder) / e.ShotName).string();
    const std::string line = "line " + std::to_string(e.Line) + ": shot " + e.ShotName;
    if (control_.PresentCount() == 0) {
      run_.Problems.push_back(line + ": no frame had been shown yet");
    } else if (!control_.SaveLastFramePng(path)) {
      run_.Problems.push_back(line + ": " + path + " could not be written");
    }
  }

  const Script& script_;
  const ScriptRunOptions& options_;
  ScriptRun& run_;
  platform::HeadlessControl& control_;
  size_t armed_ = 0;
  double now_ = 0;
  // Shots and the quit of the armed stretches, by game time (equal times in script order).
  std::multimap<double, ScriptEvent> timed_;
  bool quitByScript_ = false;
  bool limitReached_ = false;
};

ScriptExit ExitOf(const ScriptRun& run, const ScriptDriver& driver) {
  if (run.Status == kExitStartFailed) return ScriptExit::StartFailed;
  if (run.Status == kExitFatal) return ScriptExit::Fatal;
  if (driver.QuitByScript()) return ScriptExit::Quit;
  if (driver.LimitReached()) return ScriptExit::TimeLimit;
  return ScriptExit::Ended;
}

std::string_view SideName(const StageSetup& setup, int p) {
  if (setup.PlayerPart[p] < 0) return "none";
  if (setup.ReplayPlayback[p]) return "replay";
  return setup.ComSkill[p] >= 0 ? "computer" : "human";
}

}  // namespace

std::string_view ExitName(ScriptExit exit) {
  switch (exit) {
    case ScriptExit::Quit:
      return "quit";
    case ScriptExit::TimeLimit:
      return "time-limit";
    case ScriptExit::Ended:
      return "ended";
    case ScriptExit::StartFailed:
      return "start-failed";
    case ScriptExit::Fatal:
      return "fatal";
  }
  return "ended";
}

ScriptRun RunScript(const Script& script, const ScriptRunOptions& options) {
  platform::HeadlessPlatform devices = platform::CreateHeadlessPlatform();
  ScriptRun run;
  run.Control = devices.control;
  // Every poll moves time on, as a real loop's work would, so a screen that waits by
  // polling still sees time pass.
  run.Control->SetPumpAdvanceMs(1.0);
  if (options.PrepareDevices) options.PrepareDevices(*run.Control);
  run.TheGame = std::make_unique<Game>(std::move(devices.platform), options.Folders);
  Game& game = *run.TheGame;
  LoadGameSettings(game);
  game.Autoplay = script.Autoplay;
  if (options.PrepareGame) options.PrepareGame(game);
  ScriptDriver driver(script, options, run);
  driver.Install(game);
  run.Status = GameMain(game, 0);
  run.Control->SetClockHook(nullptr);
  run.EndMs = game.Clock().NowMs();
  run.Exit = ExitOf(run, driver);
  return run;
}

nlohmann::ordered_json ScriptRunJson(const ScriptRun& run) {
  nlohmann::ordered_json json;
  json["Exit"] = ExitName(run.Exit);
  json["Status"] = run.Status;
  json["GameMs"] = run.EndMs;
  nlohmann::ordered_json screens = nlohmann::ordered_json::array();
  for (const VisitedScreen& s : run.Screens) screens.push_back({{"Name", s.Name}, {"AtMs", s.AtMs}});
  json["Screens"] = screens;
  nlohmann::ordered_json stages = nlohmann::ordered_json::array();
  for (const PlayedStage& stage : run.Stages) {
    nlohmann::ordered_json s;
    s["Song"] = stage.Title;
    s["SongPath"] = stage.SongPath;
    s["SongIndex"] = stage.Setup.SongIndex;
    s["Ended"] = stage.Ended;
    s["StartMs"] = stage.Outcome.StartMs;
    nlohmann::ordered_json players = nlohmann::ordered_json::array();
    for (int p = 0; p < 2; ++p) {
      nlohmann::ordered_json player;
      player["Side"] = SideName(stage.Setup, p);
      player["Part"] = stage.Setup.PlayerPart[p];
      player["Autoplayed"] = stage.Outcome.Players[p].Autoplayed;
      player.update(OutcomePlayerJson(stage.Outcome.Players[p]));
      players.push_back(std::move(player));
    }
    s["Players"] = std::move(players);
    stages.push_back(std::move(s));
  }
  json["Stages"] = stages;
  json["Problems"] = run.Problems;
  return json;
}

}  // namespace tessaru
