#pragma once
// A folder made of symbolic links to another one (the generated data folder), so a test can
// take files away without copying megabytes: every entry is linked except the paths in
// `without` (relative to `source`) and the names `skip` refuses; the folders on the way to
// a left-out path are made real so their other entries can be linked one by one.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tessaru::testing_support {

inline void LinkFolder(const std::filesystem::path& source, const std::filesystem::path& root,
                       const std::vector<std::string>& without,
                       const std::function<bool(const std::string&)>& skip = {}) {
  namespace fs = std::filesystem;
  std::vector<fs::path> left;
  for (const std::string& path : without) left.push_back(source / path);
  const auto leadsToLeftOut = [&](const fs::path& folder) {
    for (const fs::path& l : left) {
      if (l.string().starts_with(folder.string() + "/")) return true;
    }
    return false;
  };
  const auto link = [&](const auto& self, const fs::path& from, const fs::path& to) -> void {
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(from)) {
      const fs::path target = to / entry.path().filename();
      if (skip && skip(entry.path().filename().string())) continue;
      if (std::find(left.begin(), left.end(), entry.path()) != left.end()) continue;
      if (entry.is_directory() && leadsToLeftOut(entry.path())) {
        self(self, entry.path(), target);
      } else {
        fs::create_symlink(entry.path(), target);
      }
    }
  };
  link(link, source, root);
}

}  // namespace tessaru::testing_support
