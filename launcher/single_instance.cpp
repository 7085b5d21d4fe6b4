#include "launcher/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "core/file_access.h"
#include "core/paths.h"

namespace tessaru {

SingleInstanceLock::~SingleInstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

SingleInstanceLock::Result SingleInstanceLock::Acquire(const std::string& programFolder) {
  if (fd_ >= 0) return Result::Acquired;
  const std::string path = ResolvePath(JoinLogical(programFolder, kLockFileName));
  // Opened without truncating and never written: only the lock matters, not the content.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return Result::Unavailable;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held ? Result::HeldByAnother : Result::Unavailable;
  }
  fd_ = fd;
  return Result::Acquired;
}

}  // namespace tessaru
