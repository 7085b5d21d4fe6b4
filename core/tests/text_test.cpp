#include "core/text.h"

#include <gtest/gtest.h>

namespace tessaru {
namespace {

TEST(Text, Cp932RoundTrips) {
  // "表" and "ソ" carry 0x5C as their trail byte; "～", "①" and half-width kana are
  // where Shift_JIS and CP932 disagree.
  const char* samples[] = {"表示", "ソング", "～①", "ｱｲｳ", "plain ASCII \\ path"};
  for (const char* utf8 : samples) {
    SCOPED_TRACE(utf8);
    const std::string cp = Utf8ToCp932(utf8);
    EXPECT_EQ(Cp932ToUtf8(cp), utf8);
  }
  EXPECT_EQ(Utf8ToCp932("表"), "\x95\x5C");
}

TEST(Text, InvalidBytesAreReplacedNotFatal) {
  // A lone lead byte at the end, and an undefined byte in the middle.
  EXPECT_EQ(Cp932ToUtf8("ab\x81"), "ab\xEF\xBF\xBD");
  EXPECT_EQ(Cp932ToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  // A character with no CP932 form becomes one "?", the rest survives.
  EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x8E\xB5z"), "a?z");
  // Broken UTF-8 likewise.
  EXPECT_EQ(Utf8ToCp932("a\xC3"), "a?");
}

TEST(Text, TrimBlanksKeepsInnerBlanks) {
  struct Case { const char* text; const char* blanks; const char* want; };
  const Case cases[] = {{"  a b\t", " \t", "a b"}, {" \t ", " \t", ""}, {"", " \t", ""},
                        {"x\r", " \t", "x\r"}, {"\r x \r", " \t\r", "x"}};
  for (const auto& c : cases) EXPECT_EQ(TrimBlanks(c.text, c.blanks), c.want) << c.text;
}

}  // namespace
}  // namespace tessaru
