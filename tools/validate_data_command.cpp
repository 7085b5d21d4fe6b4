// validate-data: loads every list, song, part, dance, animation, image and sound that the
// game can name from a data folder and reports each missing or broken file with the reason.
// The fixed files come from the game's own catalogue (content/data_files.h), the rest from
// the songs and lists through the game's loaders.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnull-dereference"
#include <CLI/CLI.hpp>
#pragma GCC diagnostic pop

#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "content/bga_file.h"
#include "content/data_files.h"
#include "content/dance_file.h"
#include "content/packed.h"
#include "content/part_file.h"
#include "content/song_file.h"
#include "content/song_list.h"
#include "core/error_log.h"
#include "core/file_access.h"
#include "core/paths.h"
#include "graphics/bmp_decode.h"
#include "sound/wave_file.h"
#include "tools/commands.h"

namespace tessaru {
namespace {

class DataChecker {
 public:
  explicit DataChecker(std::string root) : root_(std::move(root)) {}

  void Problem(const std::string& path, const std::string& reason) {
    std::cout << path << ": " << reason << "\n";
    ++problems_;
  }

  // An image named as the game names it (".bmp"), read from its packed ".zxg" form.
  void Image(const std::string& logical) {
    const std::string packed = StripExtension(logical) + ".zxg";
    if (!seen_.insert(packed).second) return;
    ++checked_;
    const auto bytes = ReadPackedFile(packed);
    if (!bytes) return Problem(packed, "missing");
    std::string error;
    if (!DecodeBmp(*bytes, 640, 480, &error)) Problem(packed, "not a readable bitmap: " + error);
  }

  // A sound: the packed ".zxw" form when it exists, else the plain WAVE file.
  void Sound(const std::string& logical) {
    const std::string packed = StripExtension(logical) + ".zxw";
    if (!seen_.insert(packed).second) return;
    ++checked_;
    std::optional<std::vector<uint8_t>> bytes = ReadPackedFile(packed);
    std::string shown = packed;
    if (!bytes) {
      bytes = ReadWholeFile(StripExtension(logical) + ".wav");
      shown = StripExtension(logical) + ".wav";
    }
    if (!bytes) return Problem(packed, "missing");
    std::string error;
    if (!ParseWave(*bytes, &error)) Problem(shown, "not a readable WAVE file: " + error);
  }

  // The values of a packed text table, or nothing (reported) when it cannot be unpacked.
  std::optional<std::vector<TextValue>> Table(const std::string& logical, bool required = true) {
    ++checked_;
    const auto bytes = ReadWholeFile(logical);
    if (!bytes) {
      if (required) Problem(logical, "missing");
      return std::nullopt;
    }
    auto values = UnpackValues(*bytes);
    if (!values) Problem(logical, "not a packed text file");
    return values;
  }

  void Song(const std::string& listed, bool listedByTable) {
    const std::string path = root_ + "\\" + listed;
    SongRecord song;
    std::vector<PartRecord> parts;
    ++checked_;
    const std::string folder = FolderOf(path);
    if (!LoadSongFile(song, parts, path, false)) {
      // Name the part that stops it when the song itself reads.
      if (LoadSongFile(song, parts, path, true)) {
        for (size_t i = 0; i < song.PartFiles.size() && i < static_cast<size_t>(song.PartCount); ++i) {
          PartRecord part;
          const std::string partPath = folder + "\\" + song.PartFiles[i];
          if (!LoadPartFile(part, partPath)) {
            return Problem(StripExtension(path) + ".zxs",
                           "its part file " + StripExtension(partPath) + ".zxp is missing or not a part file");
          }
        }
      }
      return Problem(StripExtension(path) + ".zxs", "the song or one of its part files does not load");
    }
    for (size_t i = 0; i < parts.size(); ++i) Part(parts[i], folder, i < song.PartFiles.size() ? song.PartFiles[i] : "");
    if (!song.Bgm.empty()) Sound(folder + "\\" + song.Bgm);
    Image(StripExtension(path) + ".bmp");
    for (const char* suffix : {"", "s"}) {
      const std::string anime = song.Anime.empty() ? StripExtension(path) + suffix + ".z4b"
                                                   : folder + "\\" + StripExtension(song.Anime) + suffix + ".z4b";
      Animation(anime, folder);
    }
    // The mode tables that may sit beside the song.
    if (auto b = Table(folder + "\\beginner.zxt", false)) {
      if (b->size() < 4 || !std::holds_alternative<std::string>((*b)[2])) {
        Problem(folder + "\\beginner.zxt", "needs a part index, a part index, a part file and a bar count");
      } else {
        PartFile(folder + "\\" + std::get<std::string>((*b)[2]), folder);
      }
    }
    if (auto e = Table(folder + "\\extreme.zxt", false)) {
      if (e->size() < 4) Problem(folder + "\\extreme.zxt", "needs two part files and two part indexes");
      for (size_t k = 0; k < 2 && k < e->size(); ++k)
        if (std::holds_alternative<std::string>((*e)[k])) PartFile(folder + "\\" + std::get<std::string>((*e)[k]), folder);
    }
    if (FileExists(folder + "\\rapid.zxt")) {
      ++checked_;
      const auto bytes = ReadWholeFile(folder + "\\rapid.zxt");
      SongRecord rapid;
      std::vector<PartRecord> rapidParts;
      if (!bytes || !LoadSongBytes(rapid, rapidParts, *bytes, folder + "\\rapid.z4s", false))
        Problem(folder + "\\rapid.zxt", "the rapid-mode song or one of its parts does not load");
      else
        for (size_t i = 0; i < rapidParts.size(); ++i) Part(rapidParts[i], folder, rapid.PartFiles[i]);
    }
    (void)listedByTable;
  }

  void PartFile(const std::string& path, const std::string& folder) {
    PartRecord part;
    ++checked_;
    if (!LoadPartFile(part, path)) return Problem(StripExtension(path) + ".zxp", "missing or not a part file");
    Part(part, folder, FileNameOf(path));
  }

  void Part(const PartRecord& part, const std::string& folder, const std::string& name) {
    const std::string where = folder + "\\" + name;
    const int chips = CountChipSteps(part);
    if (part.ChipTotal != chips)
      Problem(where, "ChipTotal is " + std::to_string(part.ChipTotal) + " but the chart has " + std::to_string(chips) + " chips");
    for (size_t k = 0; k < part.ChipSounds.size(); ++k)
      if (part.ChipSounds[k] >= part.SoundCount) {
        Problem(where, "a chip names sound " + std::to_string(part.ChipSounds[k]) + " of " + std::to_string(part.SoundCount));
        break;
      }
    for (int16_t i = 0; i < part.SoundCount && static_cast<size_t>(i) < part.SoundFiles.size(); ++i)
      Sound(folder + "\\" + part.SoundFiles[static_cast<size_t>(i)]);
  }

  void Animation(const std::string& path, const std::string& folder) {
    BgaRecord bga;
    ++checked_;
    if (!LoadBga(bga, path)) return Problem(StripExtension(path) + ".zxb", "missing or not a background animation");
    for (int i = 0; i < bga.PictureCount; ++i) Image(folder + "\\" + bga.Pictures[static_cast<size_t>(i)]);
    for (int i = 0; i < bga.ProgCount; ++i) {
      const BgaProg& p = bga.Progs[static_cast<size_t>(i)];
      if (p.LinePeriod() == 0 || p.SwingPeriod() == 0)
        Problem(StripExtension(path) + ".zxb", "program entry " + std::to_string(i) + " has a zero period");
    }
  }

  void Dances() {
    for (int resolution : {0, 1}) {
      DanceList list;
      ++checked_;
      if (!LoadDanceList(list, root_, resolution)) {
        Problem(JoinLogical(root_, data_files::kDanceListTable), resolution ? "a small dance file (\"s\") does not load" : "the list or a dance file does not load");
        continue;
      }
      for (const DanceRecord& d : list.Dances)
        for (int i = 0; i < d.PictureCount; ++i) Image(root_ + "\\dance\\" + d.Pictures[static_cast<size_t>(i)]);
    }
  }

  int Run() {
    // The song list, each song, and songs only the folder scan finds.
    std::vector<std::string> listed;
    const std::string songList = JoinLogical(root_, data_files::kSongListTable);
    if (auto list = Table(songList)) {
      const auto& v = *list;
      if (v.empty() || v[0] != TextValue(std::string("<KWSONGFILENAME>"))) {
        Problem(songList, "does not start with <KWSONGFILENAME>");
      } else {
        size_t i = 1;
        while (i < v.size() && v[i] != TextValue(std::string("<EOF>"))) {
          if (i + 2 >= v.size() || !std::holds_alternative<std::string>(v[i])) {
            Problem(songList, "an entry is cut short");
            break;
          }
          listed.push_back(std::get<std::string>(v[i]));
          i += 3;
        }
      }
    }
    // Songs only the folder scan finds, found by the game's own scan so the two agree.
    SongList scanned;
    for (const auto& s : listed) {
      Song(s, true);
      scanned.SongPaths.push_back(root_ + "\\" + s);
      scanned.SongKeys.push_back(s);
    }
    const size_t firstScanned = scanned.SongPaths.size();
    SongRecord header;
    std::vector<PartRecord> headerParts;
    std::vector<std::string> skipped;
    ScanSongFolder(scanned, header, headerParts, root_, root_, &skipped);
    for (size_t i = firstScanned; i < scanned.SongKeys.size(); ++i) Song(scanned.SongKeys[i], false);
    for (const std::string& path : skipped) Problem(path, "found by the folder scan but does not load");
    // The first song's tutorial.
    if (!listed.empty()) {
      const std::string folder = FolderOf(root_ + "\\" + listed[0]);
      PartFile(folder + "\\tuto1p.z4p", folder);
      PartFile(folder + "\\tuto2p.z4p", folder);
      Animation(folder + "\\tutorial.z4b", folder);
    }
    // Beginner mode and the tutorial's later stages read "beginner.zxt" beside songs 0..7.
    for (size_t i = 0; i < listed.size() && i < 8; ++i) {
      const std::string table = FolderOf(root_ + "\\" + listed[i]) + "\\beginner.zxt";
      if (!FileExists(table)) Problem(table, "missing (beginner mode plays this song)");
    }
    Dances();
    Catalogue(static_cast<int>(listed.size()));
    std::cout << checked_ << " files checked, " << problems_ << " problem" << (problems_ == 1 ? "" : "s") << "\n";
    return problems_ == 0 ? 0 : 1;
  }

  // Every fixed file of the game's catalogue: images and sounds must decode, tables must
  // unpack and hold what their readers need.
  void Catalogue(int songCount) {
    using data_files::Kind;
    for (const data_files::Entry& entry : data_files::DataFileCatalogue()) {
      const std::string path = JoinLogical(root_, entry.path);
      switch (entry.kind) {
        case Kind::Image: Image(path); break;
        case Kind::Sound: Sound(path); break;
        case Kind::Table: TableFile(entry.path, path, songCount); break;
      }
    }
  }

  void TableFile(std::string_view name, const std::string& path, int songCount) {
    // The song and dance lists are read with the songs and the dances.
    if (name == data_files::kSongListTable || name == data_files::kDanceListTable) return;
    const auto values = Table(path);
    if (!values) return;
    if (name == data_files::kKeyboardTable && values->size() < 257 * 2) {
      Problem(path, "holds " + std::to_string(values->size()) + " values, not 257 pairs");
    } else if (name == data_files::kRankTable && values->size() < 29) {
      Problem(path, "holds fewer than 29 thresholds");
    } else if (name == data_files::kCharacterTable) {
      if (values->size() < 32) Problem(path, "holds fewer than 8 rows of 4 songs");
      for (const TextValue& v : *values) {
        const int16_t* n = std::get_if<int16_t>(&v);
        if (!n || *n < 1 || *n > songCount) {
          Problem(path, "names a song outside the song list");
          break;
        }
      }
    }
  }

 private:
  std::string root_;
  std::set<std::string> seen_;
  int checked_ = 0;
  int problems_ = 0;
};

}  // namespace

void RegisterValidateDataCommand(CLI::App& app) {
  auto* cmd = app.add_subcommand("validate-data", "Check every file the game can name in a data folder");
  auto dir = std::make_shared<std::string>();
  cmd->add_option("DIR", *dir, "the data folder")->required();
  cmd->callback([dir] {
    std::string root = *dir;
    while (root.size() > 1 && (root.back() == '/' || root.back() == '\\')) root.pop_back();
    if (!FolderExists(root)) throw CommandFailure(root + ": not a folder");
    const int status = DataChecker(root).Run();
    if (status != 0) throw CommandFailure("the data folder has problems (listed above)");
  });
}

}  // namespace tessaru
