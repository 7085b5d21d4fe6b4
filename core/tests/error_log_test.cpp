#include "core/error_log.h"

#include <gtest/gtest.h>

#include "core/testing/scratch_folder.h"

namespace tessaru {
namespace {

using ErrorLogFile = testing_support::ScratchFolder;

TEST_F(ErrorLogFile, EveryEntryEndsInOneCrLfAndTheFileInAnEofMarker) {
  ErrorLog log;
  EXPECT_TRUE(log.Empty());
  log.Add("first");
  log.Add("second\r\n");
  log.Add("third\n");
  log.AddLoadFailure("/data\\image\\chip.bmp");
  const std::string text = "first\r\nsecond\r\nthird\r\n/data\\image\\chip.bmp" + std::string(kLoadFailedSuffix) + "\r\n";
  EXPECT_EQ(log.Text(), text);
  ASSERT_TRUE(log.WriteTo(root_ + "/error.txt"));
  EXPECT_EQ(Read("error.txt"), text + "[EOF]\r\n");
  EXPECT_FALSE(log.WriteTo("/nonexistent-folder/error.txt"));
}

}  // namespace
}  // namespace tessaru
