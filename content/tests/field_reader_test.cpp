#include "content/field_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace tessaru {
namespace {

TEST(FieldReader, SplitsFieldsByTheRules) {
  struct Case { const char* text; std::vector<std::string> fields; };
  const std::vector<Case> cases{
      {"\"a\"\r\n 120 \r\n", {"a", "120"}}, {"  \"with, comma\"\r\nx", {"with, comma", "x"}},
      {"a,b , c\r\n", {"a", "b", "c"}},     {"\"q\"junk,next\r\n", {"q", "next"}},
      {"\"multi\r\nline\"\r\n", {"multi\r\nline"}}, {"\"open", {"open"}},
      {"\r\n\r\n", {"", ""}},               {"lf\nonly\n", {"lf", "only"}},
      {"\"\"\r\n", {""}},                   {"", {}},
      {"   ", {}},
  };
  for (const auto& c : cases) {
    FieldReader reader(c.text);
    std::vector<std::string> got;
    std::string field;
    while (reader.Read(field)) got.push_back(field);
    EXPECT_EQ(got, c.fields) << c.text;
    EXPECT_FALSE(reader.Read(field)) << "reading past the last line is an error";
  }
}

TEST(FieldReader, NumberFields) {
  struct Case { const char* text; bool ok16; int16_t v16; bool ok32; int32_t v32; };
  // A blank line is an empty field, read as 0.
  const std::vector<Case> cases{
      {" 120 ", true, 120, true, 120},     {"-32768", true, -32768, true, -32768},
      {"32767", true, 32767, true, 32767}, {"32768", false, 0, true, 32768},
      {"-32769", false, 0, true, -32769},  {"2147483648", false, 0, false, 0},
      {"2.5", true, 2, true, 2},           {"3.5", true, 4, true, 4},
      {"-0.5", true, 0, true, 0},          {"1e3", true, 1000, true, 1000},
      {"+7", true, 7, true, 7},            {"\r\n", true, 0, true, 0},
      {"abc", false, 0, false, 0},         {"12abc", false, 0, false, 0},
      {"nan", false, 0, false, 0},         {"1e400", false, 0, false, 0},
  };
  for (const auto& c : cases) {
    int16_t v16 = 99;
    int32_t v32 = 99;
    EXPECT_EQ(FieldReader(c.text).ReadInt16(v16), c.ok16) << c.text;
    EXPECT_EQ(FieldReader(c.text).ReadInt32(v32), c.ok32) << c.text;
    if (c.ok16) { EXPECT_EQ(v16, c.v16) << c.text; }
    if (c.ok32) { EXPECT_EQ(v32, c.v32) << c.text; }
  }
  double d = 0;
  FieldReader doubles("150.25\r\n-1e-3\r\ninf\r\n");
  EXPECT_TRUE(doubles.ReadDouble(d));
  EXPECT_EQ(d, 150.25);
  EXPECT_TRUE(doubles.ReadDouble(d));
  EXPECT_EQ(d, -1e-3);
  EXPECT_FALSE(doubles.ReadDouble(d));
  EXPECT_FALSE(doubles.ReadDouble(d));
}

}  // namespace
}  // namespace tessaru
