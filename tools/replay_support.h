#pragma once
// Replays for the commands that play stages: read one to play back, write a capture.
#include <nlohmann/json.hpp>

#include <string>

#include "persist/replay_file.h"
#include "tools/command_support.h"

namespace tessaru {

// {"SongPath", "Part", "Version", "EventCount", "Events": [[tick, lane, judge, step], ...]}.
nlohmann::ordered_json ReplayJson(const ReplayRecord& record);
// The whole replay, or CommandFailure with the file's name and the reason.
ReplayRecord LoadReplayOrFail(const std::string& path);
// Writes the capture as a version-2 file, its song path relative to dataPath.
void SaveReplayOrFail(const std::string& path, const ReplayRecord& capture, const std::string& dataPath);

}  // namespace tessaru
