// tessaru-tool records: what a program folder's records have unlocked, as the game
// computes it on the way back to the title.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "content/song_list.h"
#include "core/error_log.h"
#include "core/file_access.h"
#include "flow/free_mode.h"
#include "flow/tours/unlocks.h"
#include "persist/high_scores.h"
#include "persist/player_rank.h"
#include "persist/user_settings.h"
#include "tools/commands.h"

namespace tessaru {
namespace {

std::string TrimSlashes(std::string path) {
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  return path;
}

nlohmann::ordered_json RecordsJson(const std::string& programDir, const std::string& dataDir, int16_t scanSongs) {
  ErrorLog log;
  SongList songs;
  SongRecord song;
  std::vector<PartRecord> parts;
  LoadSongList(songs, song, parts, dataDir, scanSongs, log);
  HighScores records;
  records.LoadHighScores(songs, programDir);
  const int16_t rank = PlayerRankIndex(records, LoadRankThresholds(dataDir));
  const UnlockedModes unlocked = ComputeUnlockedModes(records, songs, rank);

  nlohmann::ordered_json j;
  j["GameFlags"] = records.GameFlags;
  j["SpecialPlays"] = records.SpecialPlays;
  j["ModeUnlocked"] = unlocked.List();
  j["UnlockedModeCount"] = unlocked.UnlockedModeCount;
  j["TotalPoints"] = TotalPoints(records);
  j["PlayerRankIndex"] = rank;
  j["FreeSongs"] = FreeSongList(songs, records);
  return j;
}

}  // namespace

void RegisterRecordsCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand("records", "What the records of a program folder have unlocked, as JSON");
  auto dir = std::make_shared<std::string>();
  auto data = std::make_shared<std::string>();
  cmd->add_option("PROGRAM_DIR", *dir, "the folder holding hsc.ini and hscsp.ini")->required();
  cmd->add_option("--data", *data, "the data folder (default: as user.ini says, else PROGRAM_DIR)");
  cmd->callback([dir, data] {
    const std::string program = TrimSlashes(*dir);
    if (!FolderExists(program)) throw CommandFailure(program + ": not a folder");
    std::string dataPath = program;
    UserSettings settings;
    LoadUserSettings(settings, dataPath, program);
    if (!data->empty()) dataPath = TrimSlashes(*data);
    if (!FolderExists(dataPath)) throw CommandFailure(dataPath + ": not a folder");
    std::cout << RecordsJson(program, dataPath, settings.SCANSONGS).dump() << "\n";
  });
}

}  // namespace tessaru
