#include "content/dance_file.h"

#include <gtest/gtest.h>

#include "content/tests/content_files.h"

namespace tessaru {
namespace {

using DanceFiles = ContentFiles;

std::vector<TextValue> Frame(int32_t duration, int16_t picture, int32_t v5, int32_t v6, int32_t v1,
                             int32_t v2, int32_t v3, int32_t v4) {
  return {L(duration), I(picture), L(v5), L(v6), L(v1), L(v2), L(v3), L(v4)};
}

std::vector<TextValue> Join(std::initializer_list<std::vector<TextValue>> parts) {
  std::vector<TextValue> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST_F(DanceFiles, PatternsFramesAndDurations) {
  WriteText("d.zxd", Join({{S("<KWDANCEFILE>"), S("<PICTURE>"), I(2), S("a.bmp"), S("b.bmp"),
                            S("<PATTERNS>"), I(3), S("<DATA>"), I(2)},
                           Frame(100, 0, 5, 6, 1, 2, 3, 4),
                           Frame(250, 1, 50, 60, 10, 20, 30, 40),
                           {S("<DATA>"), I(0), S("<DATA>"), I(1)},
                           Frame(-7, 1, 0, 0, 0, 0, 0, 0)}));
  DanceRecord dance;
  ASSERT_TRUE(LoadDanceFile(dance, Path("d.z4d")));
  EXPECT_EQ(dance.PictureCount, 2);
  EXPECT_EQ(dance.Pictures, (std::vector<std::string>{"a.bmp", "b.bmp"}));
  EXPECT_EQ(dance.PatternCount, 3);
  EXPECT_EQ(dance.PatternLengths, (std::vector<int16_t>{2, 0, 1}));
  // The empty pattern starts where the next one does.
  EXPECT_EQ(dance.PatternFirst, (std::vector<int16_t>{0, 2, 2}));
  EXPECT_EQ(dance.PatternDurations[0], 350);
  EXPECT_EQ(dance.PatternDurations[1], 0);
  EXPECT_EQ(dance.PatternDurations[2], -7);
  ASSERT_EQ(dance.Frames.size(), 3u);
  const DanceFrame second{250, 1, 10, 20, 30, 40, 50, 60};
  EXPECT_EQ(dance.Frames[1], second) << "file order is Duration, Picture, V5, V6, V1..V4";

  // Encoding the record gives a file that loads back to it.
  WriteText("again.zxd", EncodeDanceFile(dance));
  DanceRecord again;
  ASSERT_TRUE(LoadDanceFile(again, Path("again.zxd")));
  EXPECT_EQ(again, dance);
}

TEST_F(DanceFiles, PictureCountZeroKeepsTheDefaults) {
  WriteText("d.zxd", {S("<KWDANCEFILE>"), S("<PICTURE>"), I(0), S("<PATTERNS>"), I(0)});
  DanceRecord dance;
  dance.Frames.resize(9);
  ASSERT_TRUE(LoadDanceFile(dance, Path("d.zxd")));
  EXPECT_EQ(dance.PictureCount, 0);
  EXPECT_EQ(dance.Pictures, (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(dance.PatternCount, 0);
  EXPECT_EQ(dance.Frames.size(), 1u);
}

TEST_F(DanceFiles, RefusedFiles) {
  const auto header = std::vector<TextValue>{S("<KWDANCEFILE>"), S("<PICTURE>"), I(1), S("a.bmp")};
  struct Case {
    const char* name;
    std::vector<TextValue> values;
  };
  const std::vector<Case> cases{
      {"wrong header", {S("<KWDANCE>"), S("<PICTURE>"), I(0), S("<PATTERNS>"), I(0)}},
      {"no picture tag", {S("<KWDANCEFILE>"), I(0), S("<PATTERNS>"), I(0)}},
      {"negative picture count", {S("<KWDANCEFILE>"), S("<PICTURE>"), I(-1), S("<PATTERNS>"), I(0)}},
      {"pictures cut short", {S("<KWDANCEFILE>"), S("<PICTURE>"), I(3), S("a"), S("b")}},
      {"no patterns tag", Join({header, {S("<DATA>"), I(0)}})},
      {"eleven patterns", Join({header, {S("<PATTERNS>"), I(11)}})},
      {"negative pattern count", Join({header, {S("<PATTERNS>"), I(-1)}})},
      {"no data tag", Join({header, {S("<PATTERNS>"), I(1), I(0)}})},
      {"negative frame count", Join({header, {S("<PATTERNS>"), I(1), S("<DATA>"), I(-2)}})},
      {"frames cut short", Join({header, {S("<PATTERNS>"), I(1), S("<DATA>"), I(2)},
                                 Frame(1, 0, 0, 0, 0, 0, 0, 0)})},
      {"huge frame count", Join({header, {S("<PATTERNS>"), I(1), S("<DATA>"), I(32767)}})},
      {"duration sum beyond 32 bits",
       Join({header, {S("<PATTERNS>"), I(1), S("<DATA>"), I(2)},
             Frame(2000000000, 0, 0, 0, 0, 0, 0, 0), Frame(2000000000, 0, 0, 0, 0, 0, 0, 0)})},
  };
  for (const auto& c : cases) {
    WriteText("d.zxd", c.values);
    DanceRecord dance;
    EXPECT_FALSE(LoadDanceFile(dance, Path("d.zxd"))) << c.name;
  }
  DanceRecord dance;
  EXPECT_FALSE(LoadDanceFile(dance, Path("missing.zxd")));
  // Ten patterns is the most a dance holds.
  std::vector<TextValue> ten = Join({header, {S("<PATTERNS>"), I(10)}});
  for (int p = 0; p < 10; ++p) ten.insert(ten.end(), {S("<DATA>"), I(0)});
  WriteText("ten.zxd", ten);
  EXPECT_TRUE(LoadDanceFile(dance, Path("ten.zxd")));
}

TEST_F(DanceFiles, ListLoadsEveryDanceAndHonoursTheResolution) {
  MakeFolder("dance");
  WriteText("dancefn.zxt", EncodeDanceList({"abc.z4d", "sub.x\\d2.z4d"}));
  const std::vector<TextValue> small{S("<KWDANCEFILE>"), S("<PICTURE>"), I(1), S("small.bmp"),
                                     S("<PATTERNS>"), I(0)};
  const std::vector<TextValue> large{S("<KWDANCEFILE>"), S("<PICTURE>"), I(1), S("large.bmp"),
                                     S("<PATTERNS>"), I(0)};
  WriteText("dance\\abc.zxd", large);
  WriteText("dance\\abcs.zxd", small);
  MakeFolder("dance\\sub.x");
  WriteText("dance\\sub.x\\d2.zxd", large);
  WriteText("dance\\sub.x\\d2s.zxd", small);

  DanceList list;
  ASSERT_TRUE(LoadDanceList(list, root_, 0));
  EXPECT_EQ(list.DanceCount, 2);
  ASSERT_EQ(list.Dances.size(), 2u);
  EXPECT_EQ(list.Dances[0].Pictures[0], "large.bmp");
  ASSERT_TRUE(LoadDanceList(list, root_, 1));
  EXPECT_EQ(list.DanceCount, 2);
  EXPECT_EQ(list.Dances[0].Pictures[0], "small.bmp") << "dance\\abc.z4d is read from dance\\abcs.zxd";
  EXPECT_EQ(list.Dances[1].Pictures[0], "small.bmp");

  // One dance that cannot be loaded fails the list.
  WriteText("dancefn.zxt", EncodeDanceList({"abc.z4d", "nothing.z4d"}));
  EXPECT_FALSE(LoadDanceList(list, root_, 0));
  struct Case {
    const char* name;
    std::vector<TextValue> values;
  };
  for (const auto& c : std::vector<Case>{
           {"wrong header", {S("<KWDANCE>"), S("<EOF>")}},
           {"no end", {S("<KWDANCEFILENAME>"), S("a"), S("abc.z4d")}},
           {"label without a name", {S("<KWDANCEFILENAME>"), S("a")}}}) {
    WriteText("dancefn.zxt", c.values);
    EXPECT_FALSE(LoadDanceList(list, root_, 0)) << c.name;
  }
  WriteText("dancefn.zxt", {S("<KWDANCEFILENAME>"), S("<EOF>")});
  ASSERT_TRUE(LoadDanceList(list, root_, 0));
  EXPECT_EQ(list.DanceCount, 0);
}

}  // namespace
}  // namespace tessaru
