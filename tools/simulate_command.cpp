// tessaru-tool simulate SONG: plays one stage with no device and no real time and prints
// the players' results as JSON, so charts and rules can be checked from outside.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <string>

#include "content/song_file.h"
#include "core/file_access.h"
#include "core/paths.h"
#include "core/random.h"
#include "stage/replay_playback.h"
#include "stage/simulation.h"
#include "stage/stage.h"
#include "tools/command_support.h"
#include "tools/commands.h"
#include "tools/replay_support.h"
#include "flow/script/stage_json.h"

namespace tessaru {
namespace {

struct SimulateOptions {
  std::string path;
  int part = 0;
  int opponentPart = 1;
  int comSkill = 100;
  int player1Skill = -1;
  int style = 0;
  int laneOpt = 0;
  int handicap = 0;
  int judgeMode = 0;
  int judgeOffset = 0;
  int judgeStyle = 0;
  int bgPartOffset = 20;
  uint64_t seed = 1;
  std::string pressesFile;
  bool assist = false;
  bool freeMode = false;
  std::string replayFile;
  std::string saveReplay;
};

void CheckPart(int index, size_t partCount, const char* option) {
  if (index < 0 || static_cast<size_t>(index) >= partCount) {
    throw CommandFailure(std::string(option) + " " + std::to_string(index) + ": the song has parts 0 to " +
                         std::to_string(static_cast<int>(partCount) - 1));
  }
}

nlohmann::ordered_json PlayerJson(const Stage& stage, int p) {
  const StagePlayer& player = stage.Player(p);
  nlohmann::ordered_json json;
  json["JudgeCount"] = player.JudgeCount;
  json["StagePoints"] = player.StagePoints;
  json["TourTotal"] = player.TourTotal;
  json["StageScore"] = player.StageScore;
  json["Gauge"] = stage.Gauge(p);
  json["MaxCombo"] = player.MaxCombo;
  json["ComboCount"] = player.ComboCount;
  json["KnockedOut"] = player.KnockedOut;
  json["Timing"] = TimingJson(player.PressDeltas);
  return json;
}

void Simulate(const SimulateOptions& options) {
  RequireFile(ReplaceExtension(options.path, ".zxs"), "song file");
  SongRecord song;
  std::vector<PartRecord> parts;
  if (!LoadSongFile(song, parts, options.path, false)) {
    throw CommandFailure(ReplaceExtension(options.path, ".zxs") + ": song or one of its parts cannot be loaded");
  }
  const size_t partCount = std::min(parts.size(), static_cast<size_t>(std::max<int16_t>(song.PartCount, 0)));
  parts.resize(partCount);
  CheckPart(options.part, partCount, "--part");
  CheckPart(options.opponentPart, partCount, "--opponent-part");
  const auto presses = options.pressesFile.empty() ? std::vector<ScriptedPress>{} : ReadPressScript(options.pressesFile);

  StageSetup setup;
  setup.PlayerPart = {static_cast<int16_t>(options.part), static_cast<int16_t>(options.opponentPart)};
  setup.PlayStyle = static_cast<int16_t>(options.style);
  setup.ComSkill = {static_cast<int16_t>(options.player1Skill), static_cast<int16_t>(options.comSkill), 99, 99};
  setup.LaneOpt = {static_cast<int16_t>(options.laneOpt), 0};
  setup.HandicapOpt = {static_cast<int16_t>(options.handicap), 0};
  setup.AssistFlag = {static_cast<int16_t>(options.assist ? 1 : 0), 0};
  setup.Settings.JudgeMode = static_cast<int16_t>(options.judgeMode);
  setup.Settings.JudgeOffset = static_cast<int16_t>(options.judgeOffset);
  setup.Settings.JudgeStyle = static_cast<int16_t>(options.judgeStyle);
  setup.Settings.BgPartOffset = options.bgPartOffset;
  setup.MenuChoice = options.freeMode ? TitleCode::FreeMode : TitleCode::SingleTour;
  if (!options.replayFile.empty()) {
    if (!presses.empty()) throw CommandFailure("--presses and --replay cannot both drive player 1");
    ReplayRecord replay = LoadReplayOrFail(options.replayFile);
    std::string reason;
    if (!ReplayFitsChart(replay, setup.PlayerPart[0], parts[static_cast<size_t>(options.part)], reason)) {
      throw CommandFailure(options.replayFile + ": " + reason);
    }
    setup.ComSkill[0] = -1;
    setup.ReplayPlayback[0] = true;
    setup.LaneOpt[0] = 0;
    setup.Replays[0] = std::move(replay);
  }
  if (!options.saveReplay.empty() && !ReplaySaveAllowed(setup, 0)) {
    throw CommandFailure("--save-replay: player 1 must play by hand, with no lane option");
  }
  Random random(options.seed);
  Stage stage(std::move(song), std::move(parts), setup, random);
  if (!RunSimulation(stage, presses)) {
    throw CommandFailure(options.path + ": the stage did not end (tempo map too slow to play)");
  }
  if (!options.saveReplay.empty()) {
    ReplayRecord capture = stage.Capture(0);
    capture.SongPath = options.path;
    SaveReplayOrFail(options.saveReplay, capture, "");
  }
  nlohmann::ordered_json json;
  json["players"] = {PlayerJson(stage, 0), PlayerJson(stage, 1)};
  json["EndState"] = stage.EndState();
  json["LastStep"] = stage.LastStep();
  std::cout << json.dump(2) << "\n";
}

}  // namespace

void RegisterSimulateCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand("simulate", "Play one stage without devices and print the results as JSON");
  auto o = std::make_shared<SimulateOptions>();
  cmd->add_option("SONG", o->path, "song file; its parts are found beside it")->required();
  cmd->add_option("--part", o->part, "player 1's part")->capture_default_str();
  cmd->add_option("--opponent-part", o->opponentPart, "player 2's part")->capture_default_str();
  cmd->add_option("--com-skill", o->comSkill, "player 2's computer skill; -1 = an idle human")
      ->check(CLI::Range(-1, 100))->capture_default_str();
  cmd->add_option("--player1-skill", o->player1Skill, "player 1 as a computer of this skill; -1 = human")
      ->check(CLI::Range(-1, 100))->capture_default_str();
  cmd->add_option("--style", o->style, "play style: 0 VERSUS, 1 DOUBLE, 2 SESSION, 3 survival")
      ->check(CLI::Range(0, 3))->capture_default_str();
  cmd->add_option("--lane-opt", o->laneOpt, "player 1's lane option 0..7 (5 = HI-SPEED)")
      ->check(CLI::Range(0, 7))->capture_default_str();
  cmd->add_option("--handicap", o->handicap, "player 1's handicap")->check(CLI::Range(0, 100));
  cmd->add_option("--judgemode", o->judgeMode, "JUDGEMODE")->check(CLI::Range(-32768, 32767));
  cmd->add_option("--judgeoffset", o->judgeOffset, "JUDGEOFFSET in ms")->check(CLI::Range(-32768, 32767));
  cmd->add_option("--judgestyle", o->judgeStyle, "JUDGESTYLE")->check(CLI::Range(-32768, 32767));
  cmd->add_option("--bgpartoffset", o->bgPartOffset, "BGPARTOFFSET in ms")->capture_default_str();
  cmd->add_option("--seed", o->seed, "seed of the random draws")->capture_default_str();
  cmd->add_option("--presses", o->pressesFile, "player 1's presses: lines \"songTimeMs,lane\" in time order");
  cmd->add_flag("--assist", o->assist, "player 1 plays with the beginner assist");
  cmd->add_flag("--free-mode", o->freeMode, "free mode: nobody is knocked out");
  cmd->add_option("--replay", o->replayFile, "player 1 plays back this replay file (recorded on --part)");
  cmd->add_option("--save-replay", o->saveReplay, "write player 1's presses to this replay file");
  cmd->callback([o] { Simulate(*o); });
}

}  // namespace tessaru
