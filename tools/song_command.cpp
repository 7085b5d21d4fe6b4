#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "content/part_file.h"
#include "content/song_file.h"
#include "core/paths.h"
#include "tools/command_support.h"
#include "tools/json_records.h"

namespace tessaru {
namespace {

struct SongOptions {
  std::string path;
  bool headerOnly = false;
};

void ShowSong(const SongOptions& options) {
  const std::string songFile = ReplaceExtension(options.path, ".zxs");
  RequireFile(songFile, "song file");
  SongRecord song;
  std::vector<PartRecord> parts;
  if (!LoadSongFile(song, parts, options.path, true)) {
    throw CommandFailure(songFile + ": not a readable song file");
  }
  if (!options.headerOnly && !LoadSongFile(song, parts, options.path, false)) {
    // Name the part that stopped the load.
    const std::string folder = FolderOf(options.path);
    for (const auto& name : song.PartFiles) {
      PartRecord part;
      const std::string partPath = JoinLogical(folder, name);
      if (!LoadPartFile(part, partPath)) {
        throw CommandFailure(ReplaceExtension(partPath, ".zxp") + ": part file cannot be loaded");
      }
    }
    throw CommandFailure(songFile + ": song cannot be loaded");
  }
  auto json = SongJson(song);
  if (!options.headerOnly) {
    auto partsJson = nlohmann::ordered_json::array();
    for (size_t i = 0; i < parts.size() && i < static_cast<size_t>(std::max<int16_t>(song.PartCount, 0)); ++i) {
      partsJson.push_back(PartJson(parts[i], false));
    }
    json["Parts"] = partsJson;
  }
  std::cout << JsonText(json) << "\n";
}

}  // namespace

void RegisterSongCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand("song", "Show a song file (and its parts) as JSON");
  auto options = std::make_shared<SongOptions>();
  cmd->add_option("PATH", options->path, "song file; its parts are found beside it")->required();
  cmd->add_flag("--header-only", options->headerOnly, "read the song file only, not its parts");
  cmd->callback([options] { ShowSong(*options); });
}

}  // namespace tessaru
