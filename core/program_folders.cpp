#include "core/program_folders.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "core/file_access.h"

#ifndef TESSARU_INSTALLED_DATA_RELATIVE
#define TESSARU_INSTALLED_DATA_RELATIVE "../share/tessaru"
#endif

namespace tessaru {
namespace fs = std::filesystem;
namespace {

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string HomeFromPasswordEntry() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr) {
    return {};
  }
  return found->pw_dir;
}

// Each missing level is made private to the player, as the XDG rules ask.
bool MakeFolderChain(const std::string& folder) {
  std::string built;
  for (const fs::path& part : fs::path(folder)) {
    if (part == "/") {
      built = "/";
      continue;
    }
    if (!built.empty() && built.back() != '/') built += '/';
    built += part.string();
    if (::mkdir(built.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return FolderExists(folder);
}

}  // namespace

FolderInputs CurrentFolderInputs(std::string programDirOption) {
  FolderInputs in;
  in.ExecutableFolder = ExecutableFolder();
  in.ProgramDirOption = std::move(programDirOption);
  if (const char* xdg = std::getenv("XDG_DATA_HOME")) in.XdgDataHome = xdg;
  const char* home = std::getenv("HOME");
  in.Home = home != nullptr && home[0] != '\0' ? std::string(home) : HomeFromPasswordEntry();
  return in;
}

std::string InstalledDataFolder(const std::string& executableFolder) {
  const std::string folder =
      (fs::path(executableFolder) / TESSARU_INSTALLED_DATA_RELATIVE).lexically_normal().string();
  return FolderExists(folder) ? WithoutTrailingSlashes(folder) : std::string();
}

std::string DefaultDataFolder(const std::string& executableFolder) {
  const std::string installed = InstalledDataFolder(executableFolder);
  return installed.empty() ? executableFolder : installed;
}

std::string UserDataFolder(const FolderInputs& in) {
  // Relative values are invalid by the XDG rules and are ignored.
  if (!in.XdgDataHome.empty() && in.XdgDataHome.front() == '/') {
    return WithoutTrailingSlashes(in.XdgDataHome) + "/tessaru";
  }
  if (!in.Home.empty() && in.Home.front() == '/') {
    return WithoutTrailingSlashes(in.Home) + "/.local/share/tessaru";
  }
  return {};
}

ProgramFolders ChooseProgramFolders(const FolderInputs& in) {
  ProgramFolders f;
  f.WindowIcon = DefaultDataFolder(in.ExecutableFolder) + "/" + kWindowIconFile;
  if (!in.ProgramDirOption.empty()) {
    // The player named the folder: use it as given, even when it cannot be written.
    f.Program = f.Data = in.ProgramDirOption;
    if (!FolderIsWritable(f.Program)) f.Problem = UnsavableFolderNotice(f.Program);
    return f;
  }
  const std::string installed = InstalledDataFolder(in.ExecutableFolder);
  if (installed.empty() && FolderIsWritable(in.ExecutableFolder)) {
    f.Program = f.Data = in.ExecutableFolder;
    return f;
  }
  f.Data = installed.empty() ? in.ExecutableFolder : installed;
  const std::string user = UserDataFolder(in);
  if (user.empty()) {
    // Nowhere to keep the player's files: read what the program folder has, save nothing.
    f.Program = in.ExecutableFolder;
    f.Problem = UnsavableFolderNotice("~/.local/share/tessaru");
    return f;
  }
  f.Program = f.ErrorReport = user;
  if (!MakeFolderChain(user) || !FolderIsWritable(user)) f.Problem = UnsavableFolderNotice(user);
  return f;
}

bool FolderIsWritable(const std::string& folder) {
  const std::string probe = folder + "/.tessaru-write-test-" + std::to_string(::getpid());
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  // A whole block, so a disk with no block left fails here rather than at the first save.
  const std::vector<char> block(4096, '\0');
  const bool wrote = ::write(fd, block.data(), block.size()) == static_cast<ssize_t>(block.size());
  const bool closed = ::close(fd) == 0;
  ::unlink(probe.c_str());
  return wrote && closed;
}

std::string UnsavableFolderNotice(const std::string& folder) {
  return folder + "に書き込めないため、設定と記録を保存できません。ゲームはこのまま遊べます。";
}

}  // namespace tessaru
