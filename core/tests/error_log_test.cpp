#include "core/error_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace tessaru {
namespace {

TEST(ErrorLog, EveryEntryEndsInOneCrLf) {
  ErrorLog log;
  EXPECT_TRUE(log.Empty());
  log.Add("first");
  log.Add("second\r\n");
  log.Add("third\n");
  log.AddLoadFailure("/data\\image\\chip.bmp");
  EXPECT_EQ(log.Text(),
            "first\r\nsecond\r\nthird\r\n/data\\image\\chip.bmp" + std::string(kLoadFailedSuffix) +
                "\r\n");
}

TEST(ErrorLog, WritesEofMarker) {
  ErrorLog log;
  log.Add("x");
  const std::string path = std::string(TESSARU_SCRATCH) + "/error.txt";
  ASSERT_TRUE(log.WriteTo(path));
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "x\r\n[EOF]\r\n");
  EXPECT_FALSE(log.WriteTo("/nonexistent-folder/error.txt"));
}

}  // namespace
}  // namespace tessaru
