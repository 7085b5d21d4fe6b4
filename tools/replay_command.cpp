// tessaru-tool replay FILE: a replay file as JSON, so shared replays can be looked into;
// and the replay and press-script helpers of the commands that play stages.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <string>

#include "core/file_access.h"
#include "persist/replay_file.h"
#include "tools/commands.h"
#include "tools/replay_support.h"

namespace tessaru {

nlohmann::ordered_json ReplayJson(const ReplayRecord& r) {
  nlohmann::ordered_json events = nlohmann::ordered_json::array();
  for (size_t i = 0; i < r.EvTick.size(); ++i) events.push_back({r.EvTick[i], r.EvLane[i], r.EvJudge[i], r.EvStep[i]});
  nlohmann::ordered_json json;
  json["SongPath"] = r.SongPath;
  json["Part"] = r.Part;
  json["Version"] = r.Version;
  json["EventCount"] = r.EventCount;
  json["Events"] = std::move(events);
  return json;
}

std::vector<ScriptedPress> ReadPressScript(const std::string& path) {
  const auto bytes = ReadWholeFile(path, 64ull << 20);
  if (!bytes) throw CommandFailure(path + ": presses file not found or not readable");
  std::string error;
  auto presses = ParsePressScript(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), error);
  if (!error.empty()) throw CommandFailure(path + ": " + error);
  return presses;
}

ReplayRecord LoadReplayOrFail(const std::string& path) {
  ReplayRecord record;
  std::string reason;
  if (!LoadReplay(path, record, false, &reason)) throw CommandFailure(path + ": " + reason);
  return record;
}

void SaveReplayOrFail(const std::string& path, const ReplayRecord& capture, const std::string& dataPath) {
  std::string reason;
  const std::string text = EncodeReplay(capture, dataPath, reason);
  if (text.empty()) throw CommandFailure(path + ": " + reason);
  WriteOrFail(path, text);
}

void RegisterReplayCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand("replay", "Show a replay file (.zxr) as JSON");
  auto path = std::make_shared<std::string>();
  cmd->add_option("FILE", *path, "replay file")->required();
  cmd->callback([path] { std::cout << ReplayJson(LoadReplayOrFail(*path)).dump(2) << "\n"; });
}

}  // namespace tessaru
