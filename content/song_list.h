#pragma once
// The table of selectable songs: read from "songfn.zxt" in the data folder, or the
// built-in eleven rows when that file is missing or unusable, optionally extended by a
// scan of the data folder. Every song's header is loaded to learn its tempo and level.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "content/data_files.h"
#include "content/song_record.h"
#include "core/error_log.h"

namespace tessaru {

inline constexpr std::string_view kSongListFile = data_files::kSongListTable;
inline constexpr std::string_view kSongListHeader = "<KWSONGFILENAME>";
inline constexpr std::string_view kSongListEnd = "<EOF>";
inline constexpr std::string_view kRapidSongText = "rapid.zxt";
inline constexpr std::string_view kRapidSongName = "rapid.z4s";
// Songs from this index on are outside the base set the tours walk through.
inline constexpr int16_t kFirstExtraSong = 9;
inline constexpr int kBuiltInSongCount = 11;
// The SCANSONGS setting must hold this value for the data folder to be scanned.
inline constexpr int16_t kScanSongsEnabled = 9261;
// Follows the full path of a listed song whose header cannot be loaded.
inline constexpr std::string_view kListedSongFailed = "がロードＡできません。";
// The whole line when a built-in song cannot be loaded.
inline constexpr std::string_view kBuiltInSongFailed = "曲データの定義がロードＢできません。";

// Parallel columns, one row per song.
struct SongList {
  std::vector<std::string> SongPaths;  // DataPath + "\" + the listed relative path
  std::vector<std::string> SongKeys;   // the relative path: the song's section in the records
  std::vector<std::string> SongNames;
  std::vector<int16_t> SongFlags;      // 0..2: how many extra part choices the song opens
  std::vector<double> SongBpms;
  std::vector<int16_t> SongLevels;
  int16_t SongCount = 0;
  int16_t FirstExtraSong = kFirstExtraSong;
  bool SongListValid = false;  // the tours run only while this holds
};

// Builds the list from "songfn.zxt" (scanning the data folder afterwards when scanSongs
// is 9261); falls back to LoadDefaultSongList, and returns its result, when the file is
// missing, unreadable or names a song whose header cannot be loaded. Each header load
// overwrites song and parts.
bool LoadSongList(SongList& list, SongRecord& song, std::vector<PartRecord>& parts,
                  std::string_view dataPath, int16_t scanSongs, ErrorLog& log);

// The eleven built-in rows. False (with SongListValid false) at the first row whose
// header cannot be loaded; the rows after it keep tempo and level 0.
bool LoadDefaultSongList(SongList& list, SongRecord& song, std::vector<PartRecord>& parts,
                         std::string_view dataPath, ErrorLog& log);

// Adds every song file under folder (recursively: the files of a folder first, then its
// sub-folders, each in name order) that the list does not hold yet. A folder reached a
// second time, through a link, is not scanned again, so a loop of links ends. A file that
// does not load is skipped without a word (a stray file is no error of the game); when
// `skipped` is given, its path is added there for a checker to report.
void ScanSongFolder(SongList& list, SongRecord& song, std::vector<PartRecord>& parts,
                    std::string_view dataPath, std::string_view folder,
                    std::vector<std::string>* skipped = nullptr);

// Loads the rapid variant of a song: the song file kept as "rapid.zxt" in the folder of
// songPath, read as "rapid.z4s" of that folder (so its parts come from there too). It is
// read in memory; no copy is made beside it, so a read-only data folder works and nothing
// stays behind. False when it could not be loaded; the record then holds what was read.
bool BuildRapidSong(SongRecord& song, std::vector<PartRecord>& parts, std::string_view songPath);
// The mode flows call the same load by this name.
inline bool LoadRapidSong(SongRecord& song, std::vector<PartRecord>& parts,
                          std::string_view songPath) {
  return BuildRapidSong(song, parts, songPath);
}

}  // namespace tessaru
