#pragma once
// What drives player 1 in the commands that play stages: a press script, a replay to play
// back; and the capture written as a replay.
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "persist/replay_file.h"
#include "stage/simulation.h"
#include "tools/command_support.h"

namespace tessaru {

// Player 1's presses from a script file (lines "songTimeMs,lane"), or CommandFailure.
std::vector<ScriptedPress> ReadPressScript(const std::string& path);
// {"SongPath", "Part", "Version", "EventCount", "Events": [[tick, lane, judge, step], ...]}.
nlohmann::ordered_json ReplayJson(const ReplayRecord& record);
// The whole replay, or CommandFailure with the file's name and the reason.
ReplayRecord LoadReplayOrFail(const std::string& path);
// Writes the capture as a version-2 file, its song path relative to dataPath.
void SaveReplayOrFail(const std::string& path, const ReplayRecord& capture, const std::string& dataPath);

}  // namespace tessaru
