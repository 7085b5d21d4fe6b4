#include "tools/text_values.h"

#include <gtest/gtest.h>

#include "tools/commands.h"

namespace tessaru {
namespace {

TEST(ValueLines, TypesFollowTheValue) {
  const auto values = ParseValueLines(
      "\"<TITLE>\"\r\n\"夜\"\n\n  120  \n-32768\n32768\n-2147483648\n2147483648\n1.5\n1e3\n+7\n\"\"\n");
  const std::vector<TextValue> expected{std::string("<TITLE>"), std::string("夜"), int16_t{120},
                                        int16_t{-32768}, int32_t{32768}, int32_t{-2147483647 - 1},
                                        2147483648.0, 1.5, 1000.0, int16_t{7}, std::string("")};
  EXPECT_EQ(values, expected);
  // The printed form reads back to the same text (a whole double prints as an integer).
  EXPECT_EQ(ValueLines(ParseValueLines(ValueLines(values))), ValueLines(values));
}

TEST(ValueLines, RefusedLinesNameTheirLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  for (const Case c : {Case{"1\n\"open\n", "line 2: a string must end with a double quote"},
                       Case{"\"a\"b\"\n", "line 1: a string cannot hold a double quote"},
                       Case{"1\n\n<EOF>\n", "line 3: not a quoted string or a finite number: <EOF>"},
                       Case{"nan\n", "line 1: not a quoted string or a finite number: nan"},
                       Case{"\"\n", "line 1: a string must end with a double quote"},
                       Case{"12abc", "line 1: not a quoted string or a finite number: 12abc"}}) {
    try {
      ParseValueLines(c.text);
      ADD_FAILURE() << "accepted " << c.text;
    } catch (const CommandFailure& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace tessaru
