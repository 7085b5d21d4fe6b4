#include "platform/sdl/text_wrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaru::platform {
namespace {

// Every character is 10 pixels wide, whatever its byte length.
int Measure(const std::string& text) {
  int chars = 0;
  for (const char c : text) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return chars * 10;
}

TEST(TextWrap, LinesFitAndCharactersStayWhole) {
  struct Case { const char* Name; std::string Text; int Width; std::vector<std::string> Lines; };
  const Case cases[] = {
      {"fits", "abc", 30, {"abc"}},
      {"one over", "abcd", 30, {"abc", "d"}},
      {"at the last blank", "ab cd ef", 50, {"ab cd", "ef"}},
      {"blank at the break is dropped", "abc def", 30, {"abc", "def"}},
      {"long word after a blank", "a bcdef", 30, {"a", "bcd", "ef"}},
      {"Japanese between characters", "エラーが発生", 40, {"エラーが", "発生"}},
      {"kept line ends", "a\r\nb\nc", 100, {"a", "b", "c"}},
      {"empty line kept", "a\n\nb", 100, {"a", "", "b"}},
      {"narrower than a character", "ab", 5, {"a", "b"}},
      {"empty", "", 100, {""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WrapText(c.Text, Measure, c.Width), c.Lines) << c.Name;
  }
}

}  // namespace
}  // namespace tessaru::platform
