#include "launcher/single_instance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace tessaru {
namespace {

namespace fs = std::filesystem;
using Result = SingleInstanceLock::Result;

TEST(SingleInstanceTest, SecondCopyRefusedUntilTheFirstEndsHoweverItEnds) {
  const std::string folder = std::string(TESSARU_SCRATCH) + "/lock";
  fs::remove_all(folder);
  fs::create_directories(folder);
  {
    SingleInstanceLock first;
    ASSERT_EQ(first.Acquire(folder), Result::Acquired);
    SingleInstanceLock second;
    EXPECT_EQ(second.Acquire(folder), Result::HeldByAnother);
  }
  SingleInstanceLock afterExit;
  EXPECT_EQ(afterExit.Acquire(folder), Result::Acquired);

  // A copy that dies without any clean-up leaves its lock file behind but not its lock.
  const std::string other = folder + "/crashed";
  fs::create_directories(other);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SingleInstanceLock held;
    ::_exit(held.Acquire(other) == Result::Acquired ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(fs::exists(other + "/" + kLockFileName));
  SingleInstanceLock next;
  EXPECT_EQ(next.Acquire(other), Result::Acquired);

  SingleInstanceLock nowhere;
  EXPECT_EQ(nowhere.Acquire(folder + "/missing"), Result::Unavailable);
}

}  // namespace
}  // namespace tessaru
