#include "launcher/mp3_scan.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <utility>

#include "core/paths.h"

namespace tessaru {
namespace {

namespace fs = std::filesystem;

struct Entry {
  std::string Name;
  int64_t Minute = 0;  // modification time in whole minutes
};

struct FolderListing {
  std::vector<Entry> Files;
  std::vector<std::string> Folders;  // full paths
};

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

int64_t WholeMinute(time_t seconds) {
  const auto s = static_cast<int64_t>(seconds);
  return s >= 0 ? s / 60 : -((-s + 59) / 60);
}

FolderListing List(const std::string& folder) {
  FolderListing out;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    const std::string path = it->path().string();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) continue;  // a dangling link, or gone meanwhile
    if (S_ISDIR(st.st_mode)) {
      out.Folders.push_back(path);
    } else if (S_ISREG(st.st_mode)) {
      out.Files.push_back({it->path().filename().string(), WholeMinute(st.st_mtime)});
    }
  }
  std::sort(out.Files.begin(), out.Files.end(),
            [](const Entry& a, const Entry& b) { return a.Name < b.Name; });
  std::sort(out.Folders.begin(), out.Folders.end());
  return out;
}

bool HasFreshWave(const FolderListing& listing, const Entry& mp3) {
  const std::string stem = StripExtension(mp3.Name);
  return std::any_of(listing.Files.begin(), listing.Files.end(), [&](const Entry& g) {
    return StripExtension(g.Name) == stem &&
           EqualsNoCase(ExtensionOf(g.Name), "wav") && mp3.Minute - g.Minute <= 0;
  });
}

using FolderId = std::pair<dev_t, ino_t>;

void Scan(const std::string& folder, std::vector<std::string>& found, const ScanProgress& progress,
          std::set<FolderId>& visited) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !visited.insert({st.st_dev, st.st_ino}).second) return;
  if (progress && !progress(folder)) return;
  const FolderListing listing = List(folder);
  for (const Entry& f : listing.Files) {
    if (f.Name.size() < 4 || !EqualsNoCase(f.Name.substr(f.Name.size() - 4), ".mp3")) continue;
    if (!HasFreshWave(listing, f)) found.push_back(folder + "/" + f.Name);
  }
  // The subfolders were all collected above, before any of them is searched.
  for (const std::string& sub : listing.Folders) Scan(sub, found, progress, visited);
}

}  // namespace

void ScanForMp3(const std::string& folder, std::vector<std::string>& found,
                const ScanProgress& progress) {
  std::set<FolderId> visited;
  std::string start = folder;
  while (start.size() > 1 && start.back() == '/') start.pop_back();
  Scan(start, found, progress, visited);
}

std::string JoinPathList(const std::vector<std::string>& paths) {
  std::string out;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (i > 0) out += '|';
    out += paths[i];
  }
  return out;
}

std::string GetSeg(std::string& list) {
  const auto bar = list.find('|');
  if (bar == std::string::npos) return std::exchange(list, std::string());
  std::string head = list.substr(0, bar);
  list.erase(0, bar + 1);
  return head;
}

}  // namespace tessaru
