#pragma once
// Replay files: one player's judged presses in one stage, kept as small text files in the
// "replay" folder of the program folder and shared between players. Written as version 2;
// versions 0 and 1 of older games are read too. Everything read is checked, so a damaged
// or hostile file is refused with a reason instead of driving a stage.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaru {

// A stage keeps at most this many presses per player; longer files are refused.
inline constexpr int32_t kReplayMaxEvents = 5000;
// Far above the longest file a stage can write (5000 short lines), far below trouble.
inline constexpr uint64_t kReplayMaxFileBytes = 1u << 20;
inline constexpr int16_t kReplayVersion = 2;

// Judgement codes of an event.
inline constexpr int16_t kReplayNoJudgement = 0;  // a press at nothing that cost nothing
inline constexpr int16_t kReplayJust = 1;
inline constexpr int16_t kReplayLate = 2;
inline constexpr int16_t kReplayEarly = 3;
inline constexpr int16_t kReplayFar = 4;
inline constexpr int16_t kReplayBlank = 5;

struct ReplayRecord {
  // The song file: the full path while a stage plays, relative to the data folder in files.
  std::string SongPath;
  int16_t Part = 0;
  int32_t EventCount = 0;
  std::vector<int32_t> EvTick;   // CurTick of the press
  std::vector<int16_t> EvLane;   // 1..4
  std::vector<int16_t> EvStep;   // the chip judged (0 in versions 0 and 1)
  std::vector<int16_t> EvJudge;  // kReplayNoJudgement..kReplayBlank (0 in version 0)
  int16_t Version = kReplayVersion;

  // Appends one event (the arrays grow together).
  void Append(int32_t tick, int16_t lane, int16_t step, int16_t judge);
};

// The text of a version-2 file, lines ended by CR LF, the song path made relative to
// dataPath. Empty, with the reason, when the record cannot be written faithfully.
std::string EncodeReplay(const ReplayRecord& record, std::string_view dataPath, std::string& reason);

// Reads the text of a file of any version. headerOnly stops after the song path, the part,
// the version and the count. On failure the record is left empty and reason says why.
bool DecodeReplay(std::string_view text, ReplayRecord& record, bool headerOnly, std::string& reason);

// Reads a replay file (a logical path). False, with the reason, when it is missing,
// unreadable, too large or malformed.
bool LoadReplay(std::string_view path, ReplayRecord& record, bool headerOnly, std::string* reason = nullptr);

// Writes the record into programFolder\replay\ (made when missing) as the song's base name
// + (Part + 1) + "-" + the first free three-digit counter + ".zxr". Returns the logical
// path written; empty, with the reason, when nothing could be written.
std::string SaveReplay(std::string_view programFolder, std::string_view dataPath, const ReplayRecord& record,
                       std::string& reason);

struct ReplayEntry {
  std::string Name;  // the file name, without folder
  int16_t Part = 0;
};

// The replay files of one song, in folder-listing order: those whose song path, relative
// to dataPath, equals songPath's without regard to letter case.
std::vector<ReplayEntry> FindReplays(std::string_view programFolder, std::string_view dataPath,
                                     std::string_view songPath);

// The path without dataPath and the separator after it; a path outside dataPath is kept
// whole, so it never matches a song inside it.
std::string RelativeToDataPath(std::string_view dataPath, std::string_view path);

// programFolder\replay\name.
std::string ReplayPath(std::string_view programFolder, std::string_view name);

}  // namespace tessaru
