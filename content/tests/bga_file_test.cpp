#include "content/bga_file.h"

#include <gtest/gtest.h>

#include "content/tests/content_files.h"

namespace tessaru {
namespace {

BgaAObj Anim(int16_t type, std::array<int32_t, 10> a) { return BgaAObj{"", type, a}; }

TEST(AnimFrame, EveryType) {
  // Frame values 10, 11, 12, ... so the result names the frame index.
  const BgaAObj loop = Anim(1, {3, 100, 10, 11, 12, 13, 14, 15, 16, 17});
  const BgaAObj once = Anim(2, {3, 100, 10, 11, 12, 13, 14, 15, 16, 17});
  const BgaAObj cycle = Anim(3, {2, 50, 300, 10, 11, 12, 13, 14, 15, 16});
  struct Case { const char* name; BgaAObj aobj; double t; int32_t frame; };
  const std::vector<Case> cases{
      {"fixed", Anim(0, {42, 0, 1, 2, 3, 4, 5, 6, 7, 8}), 12345, 42},
      {"loop start", loop, 0, 10},                 {"loop end of first frame", loop, 99, 10},
      {"loop second frame", loop, 100, 11},        {"loop second frame end", loop, 199, 11},
      {"loop wraps", loop, 300, 10},               {"loop before zero", loop, -1, 12},
      {"once holds the last frame", once, 1000, 12}, {"once first frame", once, 50, 10},
      {"once before zero", once, -500, 10},        {"cycle 320", cycle, 320, 10},
      {"cycle 370", cycle, 370, 11},               {"cycle 450 clamped", cycle, 450, 11},
      {"cycle before zero", cycle, -10, 11},
      {"loop zero count and period", Anim(1, {0, 0, 10, 11, 12, 13, 14, 15, 16, 17}), 5, 10},
      {"once zero period", Anim(2, {3, 0, 10, 11, 12, 13, 14, 15, 16, 17}), 1, 11},
      {"cycle zero cycle length", Anim(3, {2, 1, 0, 10, 11, 12, 13, 14, 15, 16}), 7, 10},
      {"loop count beyond the table", Anim(1, {20, 1, 10, 11, 12, 13, 14, 15, 16, 17}), 9, 11},
      {"once count beyond the table", Anim(2, {20, 1, 10, 11, 12, 13, 14, 15, 16, 17}), 99, 17},
      {"cycle count beyond the table", Anim(3, {20, 1, 1000, 10, 11, 12, 13, 14, 15, 16}), 99, 16},
      {"unknown type", Anim(4, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}), 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(AnimFrame(c.t, c.aobj), c.frame) << c.name;
}

// A motion from (x1, y1) to (x2, y2) over `line`, swinging around it over `swing`.
BgaProg Prog(int32_t start, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t line, int32_t swing,
             int32_t radius) {
  return BgaProg{"", start, 0, 0, 0, {0, x1, y1, x2, y2, line, swing, radius, 0, 0}};
}

TEST(ProgPosition, LineAndSwing) {
  const BgaProg line = Prog(0, 0, 0, 100, 50, 1000, 500, 0);
  const BgaProg swing = Prog(0, 10, 10, 10, 10, 1000, 400, 100);
  struct Case { const char* name; BgaProg prog; double t; int32_t x, y; };
  const std::vector<Case> cases{
      // Radius 0: along the line only, jumping back every period.
      {"line start", line, 0, 0, 0},
      {"line quarter", line, 250, 25, 12},
      {"line wraps", line, 1250, 25, 12},
      {"line backwards floors", Prog(0, 100, 0, 0, 0, 1000, 500, 0), 333, 66, 0},
      {"before the start time", Prog(1000, 0, 0, 100, 50, 1000, 500, 0), 750, 75, 37},
      // A fixed point: the sprite only swings around it, from 90 degrees at g = 0 to 150 at
      // g = 1/4 and 30 at g = 3/4.
      {"swing at g 0", swing, 0, 10, 110},
      {"swing at quarter", swing, 100, -77, 60},
      {"swing at three quarters", swing, 300, 97, 60},
      {"zero periods step every unit", Prog(0, 0, 0, 10, 10, 0, 0, 0), 5, 0, 0},
  };
  for (const auto& c : cases) {
    int32_t x = -999, y = -999;
    ProgPosition(c.t, c.prog, x, y);
    EXPECT_EQ(std::tie(x, y), std::tie(c.x, c.y)) << c.name;
  }
}

using BgaFiles = ContentFiles;

std::vector<TextValue> SampleBga() {
  return {S("<Z4BGAFILE>"), S("<PICTURE>"), S("p0"), S("back.bmp"), S("p1"), S("sprites.bmp"),
          S("<OBJ>"), S("sky"), I(0), L(1), L(2), L(3), L(4), I(5),
          S("<AOBJ>"), S("star"), I(1), L(3), L(100), L(7), L(8), L(9), L(0), L(0), L(0), L(0), L(0),
          S("<PROG>"), S("bird"), L(500), L(1), I(2), I(3), L(0), L(10), L(20), L(30), L(40), L(1000),
          L(2000), L(16), L(0), L(9), S("<EOF>")};
}

TEST_F(BgaFiles, LoadsEverySectionAndEncodesBack) {
  WriteText("a.zxb", SampleBga());
  BgaRecord bga;
  ASSERT_TRUE(LoadBga(bga, Path("a.z4b")));
  EXPECT_EQ(std::tie(bga.PictureCount, bga.ObjCount, bga.AObjCount, bga.ProgCount), std::make_tuple(2, 1, 1, 1));
  // Entries at 0..count-1, one spare empty entry after them.
  EXPECT_EQ(bga.Pictures, (std::vector<std::string>{"back.bmp", "sprites.bmp", ""}));
  EXPECT_EQ(bga.Objs, (std::vector<BgaObj>{{"sky", 0, 1, 2, 3, 4, 5}, {}}));
  EXPECT_EQ(bga.AObjs, (std::vector<BgaAObj>{{"star", 1, {3, 100, 7, 8, 9}}, {}}));
  EXPECT_EQ(bga.Progs, (std::vector<BgaProg>{{"bird", 500, 1, 2, 3, {0, 10, 20, 30, 40, 1000, 2000, 16, 0, 9}}, {}}));

  WriteText("again.zxb", EncodeBgaFile(bga));
  BgaRecord again;
  ASSERT_TRUE(LoadBga(again, Path("again.zxb")));
  EXPECT_EQ(again, bga);
  // Empty sections are fine.
  WriteText("empty.zxb", {S("<Z4BGAFILE>"), S("<PICTURE>"), S("<OBJ>"), S("<AOBJ>"), S("<PROG>"), S("<EOF>")});
  ASSERT_TRUE(LoadBga(bga, Path("empty.zxb")));
  EXPECT_EQ(bga, BgaRecord{});
}

TEST_F(BgaFiles, FailuresLeaveAnEmptyRecord) {
  std::vector<TextValue> noEnd = SampleBga();
  noEnd.pop_back();
  std::vector<TextValue> shortProg = SampleBga();
  shortProg.erase(shortProg.end() - 3, shortProg.end() - 1);
  std::vector<TextValue> textInObj = SampleBga();
  textInObj[9] = S("x");
  const std::vector<std::pair<const char*, std::vector<TextValue>>> cases{
      {"wrong header", {S("<Z4BGA>"), S("<PICTURE>"), S("<OBJ>"), S("<AOBJ>"), S("<PROG>"), S("<EOF>")}},
      {"no picture tag", {S("<Z4BGAFILE>"), S("<OBJ>"), S("<AOBJ>"), S("<PROG>"), S("<EOF>")}},
      {"no end", noEnd},
      {"program entry cut short", shortProg},
      {"text in a number field", textInObj},
      {"empty", {}}};
  WriteText("good.zxb", SampleBga());
  for (const auto& [name, values] : cases) {
    WriteText("bad.zxb", values);
    BgaRecord bga;
    ASSERT_TRUE(LoadBga(bga, Path("good.zxb")));
    EXPECT_FALSE(LoadBga(bga, Path("bad.zxb"))) << name;
    EXPECT_EQ(bga, BgaRecord{}) << name;
  }
}

}  // namespace
}  // namespace tessaru
