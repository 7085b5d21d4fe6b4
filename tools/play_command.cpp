// tessaru-tool play: plays one stage on the real devices (or the headless ones) and
// prints the stage's results and player 1's judged presses as JSON.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>

#include "content/song_file.h"
#include "core/file_access.h"
#include "core/program_folders.h"
#include "platform/headless.h"
#include "sound/wave_file.h"
#include "stage/play/play_devices.h"
#include "stage/play/play_stage.h"
#include "stage/replay_playback.h"
#include "stage/simulation.h"
#include "tools/commands.h"
#include "tools/replay_support.h"
#include "flow/script/stage_json.h"

namespace tessaru {
namespace {

struct PlayOptions {
  std::string Song;
  std::string Data;
  int Part = 0;
  int OpponentPart = 1;
  int ComSkill = 100;
  bool Autoplay = false;
  bool Windowed = false;
  bool Headless = false;
  int Resolution = 0;
  int Style = 0;
  std::string Screenshot;
  int ScreenshotAt = 10000;
  std::string Record;
  std::string Presses;
  std::string Replay;
  std::string SaveReplay;
};

// Player 1's default lane keys (Z X C V).
constexpr uint8_t kLaneKeys[5] = {0, 0x5A, 0x58, 0x43, 0x56};

// Schedules the presses as key events on the headless clock, once the song clock's
// origin is known; each key is let go halfway to the next press of its lane (30 ms at most).
void ScheduleLaneKeys(platform::HeadlessControl& control, const std::vector<ScriptedPress>& presses, double originMs) {
  for (size_t i = 0; i < presses.size(); ++i) {
    const ScriptedPress& p = presses[i];
    double hold = 30;
    for (size_t j = i + 1; j < presses.size(); ++j) {
      if (presses[j].Lane != p.Lane) continue;
      hold = std::min(hold, (presses[j].TimeMs - p.TimeMs) / 2);
      break;
    }
    const uint8_t key = kLaneKeys[p.Lane];
    control.ScheduleKey({originMs + p.TimeMs, key, true});
    control.ScheduleKey({originMs + p.TimeMs + hold, key, false});
  }
}

void RunPlay(const PlayOptions& o) {
  SongRecord song;
  std::vector<PartRecord> parts;
  if (!LoadSongFile(song, parts, o.Song, false)) throw CommandFailure("cannot load the song " + o.Song);
  const auto partCount = static_cast<int>(parts.size());
  if (o.Part < 0 || o.Part >= partCount || o.OpponentPart < 0 || o.OpponentPart >= partCount) {
    throw CommandFailure("the song has parts 0.." + std::to_string(partCount - 1));
  }
  if (!o.Screenshot.empty() && !o.Headless) throw CommandFailure("--screenshot needs --headless");
  if (!o.Record.empty() && !o.Headless) throw CommandFailure("--record needs --headless");
  if (!o.Presses.empty() && !o.Headless) throw CommandFailure("--presses needs --headless");
  if (!o.Presses.empty() && !o.Replay.empty()) throw CommandFailure("--presses and --replay cannot both drive player 1");
  const std::vector<ScriptedPress> script = o.Presses.empty() ? std::vector<ScriptedPress>{} : ReadPressScript(o.Presses);
  if (!o.Replay.empty()) {
    std::string reason;
    if (!ReplayFitsChart(LoadReplayOrFail(o.Replay), static_cast<int16_t>(o.Part), parts[static_cast<size_t>(o.Part)],
                         reason)) {
      throw CommandFailure(o.Replay + ": " + reason);
    }
  }
  const std::string data = o.Data.empty() ? DefaultDataFolder(ExecutableFolder()) : o.Data;
  std::string error;
  auto devices = OpenPlayDevices(o.Headless, !o.Windowed && !o.Headless, data, error);
  if (!devices) throw CommandFailure(error);
  if (devices->Headless) devices->Headless->SetPumpAdvanceMs(1.0);
  UserSettings settings;
  settings.RESOLUTION = static_cast<int16_t>(o.Resolution);
  settings.FULLSCREEN = o.Windowed || o.Headless ? 1 : 0;
  StageContext c(*devices->Graph, *devices->Sound, *devices->Input, *devices->Platform->clock, devices->Errors,
                 settings, data, o.Song, song, parts);
  c.Setup.PlayerPart = {static_cast<int16_t>(o.Part), static_cast<int16_t>(o.OpponentPart)};
  c.Setup.PlayStyle = static_cast<int16_t>(o.Style);
  const bool byHand = !o.Presses.empty() || !o.Replay.empty() || (!o.Autoplay && !o.Headless);
  c.Setup.ComSkill = {static_cast<int16_t>(byHand ? -1 : 100), static_cast<int16_t>(o.ComSkill), 99, 99};
  // Replays are a free-mode matter: nobody is knocked out.
  if (!o.Replay.empty() || !o.SaveReplay.empty()) c.Setup.MenuChoice = TitleCode::FreeMode;
  if (!o.Replay.empty()) {
    c.Setup.ReplayPlayback[0] = true;
    c.ReplayFiles[0] = o.Replay;
  }
  if (!o.SaveReplay.empty() && !ReplaySaveAllowed(c.Setup, 0)) {
    throw CommandFailure("--save-replay: player 1 must play by hand (not --autoplay or --replay)");
  }
  c.WindowClosed = [&devices] { return devices->Platform->input->QuitRequested(); };
  bool shot = false;
  bool scheduled = script.empty();
  if (devices->Headless) {
    c.FrameDrawn = [&](int32_t songTime) {
      if (!scheduled) {
        ScheduleLaneKeys(*devices->Headless, script, devices->Platform->clock->NowMs() - songTime);
        scheduled = true;
      }
      if (!o.Screenshot.empty() && !shot && songTime >= o.ScreenshotAt) {
        shot = devices->Headless->SaveLastFramePng(o.Screenshot);
      }
    };
  }
  if (devices->Headless && !o.Record.empty()) devices->Headless->RecordAudio(true);
  PlayStage(c);
  if (devices->Headless && !o.Record.empty()) {
    // The whole mix as the device received it, so it can be measured from outside.
    const std::optional<platform::AudioFormat> format = devices->Headless->CurrentAudioFormat();
    const int rate = format ? format->Rate : 44100;
    const std::vector<uint8_t> wave = BuildWave(devices->Headless->RecordedAudio(), 2, rate, 16);
    if (!WriteWholeFileAtomic(o.Record, std::string(wave.begin(), wave.end()))) {
      throw CommandFailure("cannot write " + o.Record);
    }
  }
  const StageOutcome& out = c.Outcome;
  if (!o.SaveReplay.empty()) SaveReplayOrFail(o.SaveReplay, out.Captures[0], data);
  nlohmann::json presses = nlohmann::json::array();
  for (const JudgedPress& p : out.Presses) {
    presses.push_back({p.SongTimeMs, p.Lane, p.Category == JudgeMiss ? nlohmann::json(nullptr) : nlohmann::json(p.Delta)});
  }
  nlohmann::json j = {{"players", {OutcomePlayerJson(out.Players[0]), OutcomePlayerJson(out.Players[1])}},
                      {"EndState", out.EndState},
                      {"LastStep", out.LastStep},
                      {"ResultCode", out.ResultCode},
                      {"Presses", presses},
                      {"PressCount", out.PressCount}};
  std::cout << j.dump() << "\n";
  if (!devices->Errors.Empty()) std::cerr << devices->Errors.Text();
  // A picture asked for and not written is a failure, not a quiet success.
  if (!o.Screenshot.empty() && !shot) {
    throw CommandFailure("no frame at song time " + std::to_string(o.ScreenshotAt) + " ms could be saved to " +
                         o.Screenshot);
  }
}

}  // namespace

void RegisterPlayCommand(CLI::App& app) {
  auto options = std::make_shared<PlayOptions>();
  CLI::App* cmd = app.add_subcommand("play", "play one stage in the game window and print its results as JSON");
  cmd->add_option("song", options->Song, "song file (.z4s/.zxs)")->required();
  cmd->add_option("--part", options->Part, "player 1's part");
  cmd->add_option("--opponent-part", options->OpponentPart, "player 2's part");
  cmd->add_option("--com-skill", options->ComSkill, "player 2's skill (-1: an idle human)");
  cmd->add_option("--style", options->Style, "play style 0..3");
  cmd->add_option("--data", options->Data, "data folder (default: the program folder, or the installed data)");
  cmd->add_option("--resolution", options->Resolution, "0: 640x480, 1: 320x240");
  cmd->add_flag("--autoplay", options->Autoplay, "the computer plays player 1's part");
  cmd->add_flag("--windowed", options->Windowed, "a window instead of the full screen");
  cmd->add_flag("--headless", options->Headless, "no devices: a virtual clock, autoplay");
  cmd->add_option("--screenshot", options->Screenshot, "with --headless: save a frame as PNG");
  cmd->add_option("--screenshot-at", options->ScreenshotAt, "song time of the screenshot (ms)");
  cmd->add_option("--record", options->Record, "with --headless: write the whole mix as a WAVE file");
  cmd->add_option("--presses", options->Presses, "with --headless: player 1 presses its lane keys at these song times (lines \"songTimeMs,lane\")");
  cmd->add_option("--replay", options->Replay, "player 1 plays back this replay file (recorded on --part)");
  cmd->add_option("--save-replay", options->SaveReplay, "write player 1's presses to this replay file");
  cmd->callback([options] { RunPlay(*options); });
}

}  // namespace tessaru
