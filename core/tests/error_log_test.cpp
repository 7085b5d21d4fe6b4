#include "core/error_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace tessaru {
namespace {

TEST(ErrorLog, EveryEntryEndsInOneCrLfAndTheFileInAnEofMarker) {
  ErrorLog log;
  EXPECT_TRUE(log.Empty());
  log.Add("first");
  log.Add("second\r\n");
  log.Add("third\n");
  log.AddLoadFailure("/data\\image\\chip.bmp");
  const std::string text =
      "first\r\nsecond\r\nthird\r\n/data\\image\\chip.bmp" + std::string(kLoadFailedSuffix) + "\r\n";
  EXPECT_EQ(log.Text(), text);
  const std::string path = std::string(TESSARU_SCRATCH) + "/error.txt";
  ASSERT_TRUE(log.WriteTo(path));
  std::stringstream written;
  written << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_EQ(written.str(), text + "[EOF]\r\n");
  EXPECT_FALSE(log.WriteTo("/nonexistent-folder/error.txt"));
}

}  // namespace
}  // namespace tessaru
