#pragma once
// One running copy per program folder: an advisory lock on a file in that folder. The
// system drops the lock when the holder exits, however it exits, so a crashed copy
// never blocks the next start.
#include <string>

namespace tessaru {

class SingleInstanceLock {
 public:
  SingleInstanceLock() = default;
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  enum class Result { Acquired, HeldByAnother, Unavailable };
  // Unavailable: the lock file cannot be opened (a read-only folder); the caller decides.
  Result Acquire(const std::string& programFolder);

 private:
  int fd_ = -1;
};

inline constexpr const char* kLockFileName = "tessaru.lock";

}  // namespace tessaru
