#include "content/dance_file.h"

#include <gtest/gtest.h>

#include "content/tests/content_files.h"

namespace tessaru {
namespace {

using DanceFiles = ContentFiles;

// One frame in file order: Duration, Picture, V5, V6, V1..V4.
std::vector<TextValue> Frame(int32_t duration, int16_t picture, int32_t v5 = 0, int32_t v6 = 0, int32_t v1 = 0,
                             int32_t v2 = 0, int32_t v3 = 0, int32_t v4 = 0) {
  return {L(duration), I(picture), L(v5), L(v6), L(v1), L(v2), L(v3), L(v4)};
}

TEST_F(DanceFiles, PatternsFramesAndDurationsEncodeBack) {
  WriteText("d.zxd", Join({{S("<KWDANCEFILE>"), S("<PICTURE>"), I(2), S("a.bmp"), S("b.bmp"), S("<PATTERNS>"), I(3),
                            S("<DATA>"), I(2)},
                           Frame(100, 0, 5, 6, 1, 2, 3, 4), Frame(250, 1, 50, 60, 10, 20, 30, 40),
                           {S("<DATA>"), I(0), S("<DATA>"), I(1)}, Frame(-7, 1)}));
  DanceRecord dance;
  ASSERT_TRUE(LoadDanceFile(dance, Path("d.z4d")));
  EXPECT_EQ(dance.PictureCount, 2);
  EXPECT_EQ(dance.Pictures, (std::vector<std::string>{"a.bmp", "b.bmp"}));
  EXPECT_EQ(dance.PatternCount, 3);
  EXPECT_EQ(dance.PatternLengths, (std::vector<int16_t>{2, 0, 1}));
  // The empty pattern starts where the next one does.
  EXPECT_EQ(dance.PatternFirst, (std::vector<int16_t>{0, 2, 2}));
  EXPECT_EQ(std::vector<int32_t>(dance.PatternDurations.begin(), dance.PatternDurations.begin() + 3),
            (std::vector<int32_t>{350, 0, -7}));
  ASSERT_EQ(dance.Frames.size(), 3u);
  EXPECT_EQ(dance.Frames[1], (DanceFrame{250, 1, 10, 20, 30, 40, 50, 60}));

  WriteText("again.zxd", EncodeDanceFile(dance));
  DanceRecord again;
  ASSERT_TRUE(LoadDanceFile(again, Path("again.zxd")));
  EXPECT_EQ(again, dance);

  // No pictures and no patterns: the default picture names stay.
  WriteText("d.zxd", {S("<KWDANCEFILE>"), S("<PICTURE>"), I(0), S("<PATTERNS>"), I(0)});
  dance.Frames.resize(9);
  ASSERT_TRUE(LoadDanceFile(dance, Path("d.zxd")));
  EXPECT_EQ(std::tie(dance.PictureCount, dance.PatternCount), std::make_tuple(0, 0));
  EXPECT_EQ(dance.Pictures, (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(dance.Frames.size(), 1u);
}

TEST_F(DanceFiles, AcceptsAndRefuses) {
  const std::vector<TextValue> head{S("<KWDANCEFILE>"), S("<PICTURE>"), I(1), S("a.bmp")};
  std::vector<TextValue> ten = Join({head, {S("<PATTERNS>"), I(10)}});
  for (int p = 0; p < 10; ++p) ten.insert(ten.end(), {S("<DATA>"), I(0)});
  struct Case { const char* name; std::vector<TextValue> values; bool ok; };
  const std::vector<Case> cases{
      {"ten patterns, the most a dance holds", ten, true},
      {"wrong header", {S("<KWDANCE>"), S("<PICTURE>"), I(0), S("<PATTERNS>"), I(0)}, false},
      {"no picture tag", {S("<KWDANCEFILE>"), I(0), S("<PATTERNS>"), I(0)}, false},
      {"negative picture count", {S("<KWDANCEFILE>"), S("<PICTURE>"), I(-1), S("<PATTERNS>"), I(0)}, false},
      {"pictures cut short", {S("<KWDANCEFILE>"), S("<PICTURE>"), I(3), S("a"), S("b")}, false},
      {"no patterns tag", Join({head, {S("<DATA>"), I(0)}}), false},
      {"eleven patterns", Join({head, {S("<PATTERNS>"), I(11)}}), false},
      {"negative pattern count", Join({head, {S("<PATTERNS>"), I(-1)}}), false},
      {"no data tag", Join({head, {S("<PATTERNS>"), I(1), I(0)}}), false},
      {"negative frame count", Join({head, {S("<PATTERNS>"), I(1), S("<DATA>"), I(-2)}}), false},
      {"frames cut short", Join({head, {S("<PATTERNS>"), I(1), S("<DATA>"), I(2)}, Frame(1, 0)}), false},
      {"huge frame count", Join({head, {S("<PATTERNS>"), I(1), S("<DATA>"), I(32767)}}), false},
      {"duration sum beyond 32 bits",
       Join({head, {S("<PATTERNS>"), I(1), S("<DATA>"), I(2)}, Frame(2000000000, 0), Frame(2000000000, 0)}), false},
  };
  for (const auto& c : cases) {
    WriteText("d.zxd", c.values);
    DanceRecord dance;
    EXPECT_EQ(LoadDanceFile(dance, Path("d.zxd")), c.ok) << c.name;
  }
  DanceRecord dance;
  EXPECT_FALSE(LoadDanceFile(dance, Path("missing.zxd")));
}

TEST_F(DanceFiles, ListLoadsEveryDanceAndHonoursTheResolution) {
  const auto dance = [](const char* picture) {
    return std::vector<TextValue>{S("<KWDANCEFILE>"), S("<PICTURE>"), I(1), S(picture), S("<PATTERNS>"), I(0)};
  };
  MakeFolder("dance\\sub.x");
  WriteText("dancefn.zxt", EncodeDanceList({"abc.z4d", "sub.x\\d2.z4d"}));
  for (const char* name : {"abc", "sub.x\\d2"}) {
    WriteText(std::string("dance\\") + name + ".zxd", dance("large.bmp"));
    WriteText(std::string("dance\\") + name + "s.zxd", dance("small.bmp"));
  }
  DanceList list;
  for (const auto& [resolution, picture] : {std::pair{0, "large.bmp"}, std::pair{1, "small.bmp"}}) {
    ASSERT_TRUE(LoadDanceList(list, root_, resolution));
    ASSERT_EQ(list.DanceCount, 2);
    ASSERT_EQ(list.Dances.size(), 2u);
    // At the low resolution "dance\abc.z4d" is read from "dance\abcs.zxd".
    EXPECT_EQ(std::tie(list.Dances[0].Pictures[0], list.Dances[1].Pictures[0]), std::tie(picture, picture));
  }
  const std::vector<std::pair<const char*, std::vector<TextValue>>> refused{
      {"one dance that cannot be loaded", EncodeDanceList({"abc.z4d", "nothing.z4d"})},
      {"wrong header", {S("<KWDANCE>"), S("<EOF>")}},
      {"no end", {S("<KWDANCEFILENAME>"), S("a"), S("abc.z4d")}},
      {"label without a name", {S("<KWDANCEFILENAME>"), S("a")}}};
  for (const auto& [name, values] : refused) {
    WriteText("dancefn.zxt", values);
    EXPECT_FALSE(LoadDanceList(list, root_, 0)) << name;
  }
  WriteText("dancefn.zxt", {S("<KWDANCEFILENAME>"), S("<EOF>")});
  ASSERT_TRUE(LoadDanceList(list, root_, 0));
  EXPECT_EQ(list.DanceCount, 0);
}

}  // namespace
}  // namespace tessaru
