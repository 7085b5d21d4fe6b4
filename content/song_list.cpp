#include "content/song_list.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <limits>
#include <set>
#include <utility>

#include "content/packed.h"
#include "content/song_file.h"
#include "core/file_access.h"
#include "core/paths.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

struct BuiltInSong {
  std::string_view path;
  std::string_view name;
  int16_t flag;
};

// The default game's songs, in the order the tours address them.
constexpr BuiltInSong kBuiltInSongs[kBuiltInSongCount] = {
    {"songs\\firstlight\\firstlight.z4s", "First Light", 2},
    {"songs\\paperplanes\\paperplanes.z4s", "Paper Planes", 1},
    {"songs\\neondrift\\neondrift.z4s", "Neon Drift", 1},
    {"songs\\tidewater\\tidewater.z4s", "Tidewater", 1},
    {"songs\\marblerun\\marblerun.z4s", "Marble Run", 1},
    {"songs\\clockwork\\clockwork.z4s", "Clockwork Garden", 2},
    {"songs\\ember\\ember.z4s", "Ember", 2},
    {"songs\\aurora\\aurora.z4s", "Aurora Engine", 1},
    {"songs\\lantern\\lantern.z4s", "Last Lantern", 1},
    {"songs\\freefall\\freefall.z4s", "Free Fall", 1},
    {"songs\\postcard\\postcard.z4s", "Postcard", 0},
};

// SongCount is 16-bit; a list longer than that (a runaway file or scan) stops growing.
constexpr int kMaxSongs = std::numeric_limits<int16_t>::max();

void ClearList(SongList& list) {
  list.SongPaths.clear();
  list.SongKeys.clear();
  list.SongNames.clear();
  list.SongFlags.clear();
  list.SongBpms.clear();
  list.SongLevels.clear();
  list.SongCount = 0;
}

void AppendSong(SongList& list, std::string path, std::string key, std::string name,
                int16_t flag, const SongRecord& header) {
  list.SongPaths.push_back(std::move(path));
  list.SongKeys.push_back(std::move(key));
  list.SongNames.push_back(std::move(name));
  list.SongFlags.push_back(flag);
  list.SongBpms.push_back(header.Bpm);
  list.SongLevels.push_back(header.Level);
  ++list.SongCount;
}

std::string ListedPath(std::string_view dataPath, std::string_view relative) {
  return std::string(dataPath) + "\\" + std::string(relative);
}

// Paths name the same file when they differ only in letter case or in how their
// separators are written ("\" or "/", doubled or not).
std::string PathForComparison(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c == '\\') c = '/';
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  return PathForComparison(text.substr(text.size() - suffix.size())) == PathForComparison(suffix);
}

// Directory listings come in no useful order on Linux; the order a Windows listing gives
// (names compared without regard to case) keeps the scanned songs in a stable order.
bool ListingOrder(const std::string& a, const std::string& b) {
  const std::string foldedA = PathForComparison(a);
  const std::string foldedB = PathForComparison(b);
  return foldedA != foldedB ? foldedA < foldedB : a < b;
}

struct ScanState {
  SongList& list;
  SongRecord& song;
  std::vector<PartRecord>& parts;
  std::string_view dataPath;
  std::vector<std::string>* skipped;
  std::set<std::pair<dev_t, ino_t>> visited;
  std::set<std::string> known;  // PathForComparison of every SongPaths entry
};

void ScanFolder(ScanState& scan, const std::string& folder) {
  const std::string fsFolder = ResolvePath(folder);
  struct stat st {};
  if (::stat(fsFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
  if (!scan.visited.emplace(st.st_dev, st.st_ino).second) return;

  std::vector<std::string> files;
  std::vector<std::string> folders;
  std::error_code ec;
  for (fs::directory_iterator it(fsFolder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code typeError;
    if (it->is_directory(typeError)) {
      folders.push_back(name);
    } else if (EndsWithIgnoringCase(name, ".zxs")) {
      files.push_back(name);
    }
  }
  std::sort(files.begin(), files.end(), ListingOrder);
  std::sort(folders.begin(), folders.end(), ListingOrder);

  for (const std::string& file : files) {
    if (scan.list.SongCount >= kMaxSongs) return;
    const std::string candidate = folder + "\\" + StripExtension(file) + ".z4s";
    if (scan.known.contains(PathForComparison(candidate))) continue;
    if (!LoadSongFile(scan.song, scan.parts, candidate, true)) {
      if (scan.skipped != nullptr) scan.skipped->push_back(folder + "\\" + file);
      continue;
    }
    scan.known.insert(PathForComparison(candidate));
    const std::string prefix = std::string(scan.dataPath) + "\\";
    std::string key = candidate.starts_with(prefix) ? candidate.substr(prefix.size()) : candidate;
    AppendSong(scan.list, candidate, std::move(key), scan.song.Title, 0, scan.song);
  }
  for (const std::string& sub : folders) ScanFolder(scan, folder + "\\" + sub);
}

// Reads the listed entries after the header; false on a read error or a song that fails.
enum class ListResult { Complete, ReadError, SongFailed };

ListResult ReadListedSongs(FieldReader& in, SongList& list, SongRecord& song,
                           std::vector<PartRecord>& parts, std::string_view dataPath,
                           ErrorLog& log) {
  std::string field;
  if (!in.Read(field)) return ListResult::ReadError;
  while (field != kSongListEnd) {
    std::string name;
    int16_t flag = 0;
    if (!in.Read(name) || !in.ReadInt16(flag)) return ListResult::ReadError;
    if (list.SongCount >= kMaxSongs) return ListResult::ReadError;
    const std::string path = ListedPath(dataPath, field);
    if (!LoadSongFile(song, parts, path, true)) {
      log.Add(path + std::string(kListedSongFailed));
      list.SongListValid = false;
      return ListResult::SongFailed;
    }
    AppendSong(list, path, field, std::move(name), flag, song);
    if (!in.Read(field)) return ListResult::ReadError;
  }
  return ListResult::Complete;
}

}  // namespace

bool LoadSongList(SongList& list, SongRecord& song, std::vector<PartRecord>& parts,
                  std::string_view dataPath, int16_t scanSongs, ErrorLog& log) {
  const std::string listPath = JoinLogical(dataPath, kSongListFile);
  std::optional<FieldReader> in = OpenPackedText(listPath);
  if (!in) {
    // No list file is a normal data folder; one that is there but unreadable is reported.
    if (FileExists(listPath)) log.AddLoadFailure(listPath);
    return LoadDefaultSongList(list, song, parts, dataPath, log);
  }
  std::string header;
  if (!in->Read(header)) {
    log.AddLoadFailure(listPath);
    return LoadDefaultSongList(list, song, parts, dataPath, log);
  }
  if (header != kSongListHeader) {
    // Not a song list (another file under that name): the built-in rows, quietly.
    return LoadDefaultSongList(list, song, parts, dataPath, log);
  }

  ClearList(list);
  list.SongListValid = true;
  list.FirstExtraSong = kFirstExtraSong;
  const ListResult result = ReadListedSongs(*in, list, song, parts, dataPath, log);
  if (result != ListResult::Complete) {
    if (result == ListResult::ReadError) log.AddLoadFailure(listPath);
    return LoadDefaultSongList(list, song, parts, dataPath, log);
  }

  if (scanSongs == kScanSongsEnabled) ScanSongFolder(list, song, parts, dataPath, dataPath);
  return true;
}

bool LoadDefaultSongList(SongList& list, SongRecord& song, std::vector<PartRecord>& parts,
                         std::string_view dataPath, ErrorLog& log) {
  ClearList(list);
  list.SongCount = kBuiltInSongCount;
  list.FirstExtraSong = kFirstExtraSong;
  list.SongListValid = true;
  // Every row names its file even when an earlier row fails, so the records never meet
  // a song without a key.
  for (const BuiltInSong& row : kBuiltInSongs) {
    list.SongPaths.push_back(ListedPath(dataPath, row.path));
    list.SongKeys.emplace_back(row.path);
    list.SongNames.emplace_back(row.name);
    list.SongFlags.push_back(row.flag);
  }
  list.SongBpms.assign(kBuiltInSongCount, 0.0);
  list.SongLevels.assign(kBuiltInSongCount, 0);

  for (size_t i = 0; i < kBuiltInSongCount; ++i) {
    if (!LoadSongFile(song, parts, list.SongPaths[i], true)) {
      log.Add(kBuiltInSongFailed);
      list.SongListValid = false;
      return false;
    }
    list.SongBpms[i] = song.Bpm;
    list.SongLevels[i] = song.Level;
  }
  return true;
}

void ScanSongFolder(SongList& list, SongRecord& song, std::vector<PartRecord>& parts,
                    std::string_view dataPath, std::string_view folder,
                    std::vector<std::string>* skipped) {
  ScanState scan{list, song, parts, dataPath, skipped, {}, {}};
  for (const std::string& path : list.SongPaths) scan.known.insert(PathForComparison(path));
  ScanFolder(scan, std::string(folder));
}

bool BuildRapidSong(SongRecord& song, std::vector<PartRecord>& parts, std::string_view songPath) {
  const std::string folder = FolderOf(songPath);
  const auto bytes = ReadWholeFile(JoinLogical(folder, kRapidSongText));
  if (!bytes) return false;
  return LoadSongBytes(song, parts, *bytes, JoinLogical(folder, kRapidSongName), false);
}

}  // namespace tessaru
