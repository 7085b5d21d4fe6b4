#include "core/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace tessaru {
namespace fs = std::filesystem;
namespace {

std::string ToSlashes(std::string_view logicalPath) {
  std::string out(logicalPath);
  std::replace(out.begin(), out.end(), '\\', '/');
  // Collapse repeated separators ("a\\b" from a careless join) but keep a leading "/".
  std::string collapsed;
  collapsed.reserve(out.size());
  for (char c : out) {
    if (c == '/' && !collapsed.empty() && collapsed.back() == '/') continue;
    collapsed += c;
  }
  return collapsed;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca == cb) continue;
    if (ca < 128 && cb < 128 && std::tolower(ca) == std::tolower(cb)) continue;
    return false;
  }
  return true;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// Finds `name` in `folder` ignoring ASCII case; empty when absent.
std::string FindIgnoringCase(const std::string& folder, std::string_view name) {
  std::error_code ec;
  std::string best;
  for (const auto& entry : fs::directory_iterator(folder.empty() ? "." : folder, ec)) {
    const std::string candidate = entry.path().filename().string();
    if (EqualsIgnoreCase(candidate, name) && (best.empty() || candidate < best)) {
      best = candidate;
    }
  }
  return best;
}

}  // namespace

std::string ResolvePath(std::string_view logicalPath) {
  const std::string direct = ToSlashes(logicalPath);
  if (direct.empty() || Exists(direct)) return direct;

  // Walk component by component, keeping the exact spelling where it exists.
  std::string resolved;
  size_t pos = 0;
  if (direct.front() == '/') {
    resolved = "/";
    pos = 1;
  }
  while (pos <= direct.size()) {
    size_t next = direct.find('/', pos);
    if (next == std::string::npos) next = direct.size();
    const std::string component = direct.substr(pos, next - pos);
    pos = next + 1;
    if (component.empty()) continue;
    std::string attempt = resolved;
    if (!attempt.empty() && attempt.back() != '/') attempt += '/';
    if (Exists(attempt + component) || component == "." || component == "..") {
      resolved = attempt + component;
      continue;
    }
    const std::string match = FindIgnoringCase(resolved, component);
    if (match.empty()) return direct;  // nothing to find: name where it would be
    resolved = attempt + match;
  }
  return resolved;
}

bool FileExists(std::string_view logicalPath) {
  const std::string path = ResolvePath(logicalPath);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::access(path.c_str(), R_OK) == 0;
}

bool FolderExists(std::string_view logicalPath) {
  struct stat st {};
  return ::stat(ResolvePath(logicalPath).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view logicalPath,
                                                  uint64_t maxBytes) {
  const std::string path = ResolvePath(logicalPath);
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes;
  char buf[65536];
  while (in) {
    in.read(buf, sizeof buf);
    const auto got = static_cast<size_t>(in.gcount());
    if (bytes.size() + got > maxBytes) return std::nullopt;
    bytes.insert(bytes.end(), buf, buf + got);
  }
  if (in.bad()) return std::nullopt;
  return bytes;
}

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

// Makes a rename in the folder durable: without this a power cut can bring the old file
// (an older record) back. File systems that cannot sync a folder say EINVAL; they have
// nothing to flush.
bool SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
  ::close(fd);
  return synced;
}

}  // namespace

bool WriteWholeFileAtomic(std::string_view logicalPath, std::string_view bytes) {
  const std::string path = ResolvePath(logicalPath);
  const std::string temp = path + std::string(kSaveTempSuffix);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !written) {
    ::unlink(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return SyncFolder(fs::path(path).parent_path().string());
}

int RemoveLeftoverSaves(std::string_view logicalFolder) {
  std::error_code ec;
  int removed = 0;
  for (const auto& entry : fs::directory_iterator(ResolvePath(logicalFolder), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= kSaveTempSuffix.size() || !name.ends_with(kSaveTempSuffix)) continue;
    std::error_code typeError;
    if (!entry.is_regular_file(typeError)) continue;
    if (fs::remove(entry.path(), typeError)) ++removed;
  }
  return removed;
}

void DeleteFileQuiet(std::string_view logicalPath) {
  std::error_code ec;
  fs::remove(ResolvePath(logicalPath), ec);
}

std::string ExecutableFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fs::current_path(ec).string();
  return exe.parent_path().string();
}

}  // namespace tessaru
