// Glyph placement of both bitmap fonts, checked pixel by pixel.
#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/tests/bmp_writer.h"
#include "graphics/tests/graph_rig.h"

namespace tessaru {
namespace {

using gfxtest::GraphRig;
using gfxtest::Tag;

constexpr uint16_t kPaper = 0x4208;

class Fonts : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig_.g.InitDirectDraw(false, 0));
    font_ = rig_.g.NewSurface(0, 0);
    rig_.Paint(font_, Tag);
    rig_.Paint(BackIndex, [](int, int) { return kPaper; });
  }
  // True when the w x h block at (x, y) of the back buffer shows the font page's block
  // at (sx, sy), and the pixels just right of and below it are untouched.
  ::testing::AssertionResult ShowsCell(int x, int y, int w, int h, int sx, int sy) {
    for (int j = 0; j < h; ++j) {
      for (int i = 0; i < w; ++i) {
        if (rig_.At(BackIndex, x + i, y + j) != Tag(sx + i, sy + j)) {
          return ::testing::AssertionFailure() << "pixel " << i << "," << j << " of the cell at " << x << "," << y;
        }
      }
    }
    if (rig_.At(BackIndex, x, y + h) != kPaper) return ::testing::AssertionFailure() << "drawn below";
    return ::testing::AssertionSuccess();
  }
  bool Untouched() {
    for (const uint16_t v : rig_.g.Pixels(BackIndex)) {
      if (v != kPaper) return false;
    }
    return true;
  }

  GraphRig rig_;
  SurfaceIndex font_ = -1;
};

TEST_F(Fonts, SystemTextCellsFollowTheCodeTable) {
  rig_.g.SetDataPath("/nonexistent");
  rig_.g.LoadSystemFont(font_);  // fails (no file) but still names the font page
  EXPECT_EQ(rig_.g.SystemFontSurface(), font_);
  EXPECT_EQ(rig_.log.Text(), "/nonexistent\\image\\sysfont.bmpの読み込みに失敗しました\r\n");
  rig_.Paint(font_, Tag);

  struct Case {
    const char* text;
    int16_t style;
    int index;  // position in the text
    int code;
  };
  const Case cases[] = {
      {"A!", 0, 0, 'A'}, {"A!", 0, 1, '!'}, {" ~", 0, 0, ' '}, {" ~", 0, 1, '~'},
      {"A!", 1, 0, 'A'}, {"A!", 1, 1, '!'}, {"z\x7F", 1, 1, 0x7F}, {"09", 1, 1, '9'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.text << " style " << c.style << " char " << c.index);
    rig_.Paint(BackIndex, [](int, int) { return kPaper; });
    rig_.g.DrawSystemText(BackIndex, c.text, 10, 20, c.style);
    const int sx = (c.code % 32) * 17 + 1;
    const int sy = c.style == 0 ? (c.code / 32) * 33 + 1 : (c.code / 32) * 25 + 108;
    EXPECT_TRUE(ShowsCell(10 + 16 * c.index, 20, 16, c.style == 0 ? 32 : 24, sx, sy));
  }
}

TEST_F(Fonts, SystemTextKeysOutBlackAndSkipsWhatItCannotDraw) {
  rig_.g.LoadSystemFont(font_);
  rig_.Paint(font_, Tag);
  rig_.Put(font_, 18 + 3, 67 + 4, 0);  // a transparent pixel inside the glyph of "A"
  rig_.g.DrawSystemText(BackIndex, "A", 0, 0, 0);
  EXPECT_EQ(rig_.At(BackIndex, 3, 4), kPaper);
  EXPECT_EQ(rig_.At(BackIndex, 2, 4), Tag(20, 71));

  rig_.Paint(BackIndex, [](int, int) { return kPaper; });
  rig_.g.DrawSystemText(BackIndex, "AB", 0, 0, 2);
  rig_.g.DrawSystemText(BackIndex, "\x01\x1F\xFF", 0, 0, 0);
  rig_.g.DrawSystemText(BackIndex, "\xE3\x81\x82", 0, 0, 1);  // a kana: no glyph
  EXPECT_TRUE(Untouched());

  // A character without a glyph still takes its 16 pixels.
  rig_.g.DrawSystemText(BackIndex, "\xC3\xA9" "B", 100, 0, 0);
  EXPECT_EQ(rig_.At(BackIndex, 100, 5), kPaper);
  EXPECT_TRUE(ShowsCell(116, 0, 16, 32, 2 * 17 + 1, 2 * 33 + 1));
}

TEST_F(Fonts, BigLettersUseTheirCellsWithoutRegardToCase) {
  struct Case {
    const char* text;
    int index;
    int cell;
  };
  const Case cases[] = {
      {"1", 0, 0},  {"0", 0, 9},   {"a", 0, 10}, {"A", 0, 10}, {"z", 0, 35}, {"!", 0, 36},
      {"-", 0, 44}, {"_", 0, 45},  {"+", 0, 46}, {" ", 0, 48}, {">", 0, 49}, {"<", 0, 50},
      {"=", 0, 51}, {"a=b", 2, 11}, {"\xC3\xA9", 0, 51}, {"x\xC3\xA9y", 2, 34},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << '"' << c.text << "\" char " << c.index);
    rig_.Paint(BackIndex, [](int, int) { return kPaper; });
    rig_.g.DrawBigText(BackIndex, font_, c.text, 5, 7);
    EXPECT_TRUE(ShowsCell(5 + 48 * c.index, 7, 48, 48, 49 * (c.cell % 13), 49 * (c.cell / 13)));
  }
}

TEST_F(Fonts, LoadsTheFontImageFromTheDataFolder) {
  const std::string data = std::string(TESSARU_SCRATCH) + "/fontdata";
  std::filesystem::create_directories(data + "/image");
  gfxtest::WritePackedImage(data + "/image/sysfont.zxg",
                            gfxtest::MakeBmp24(64, 140, [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFu : 0u; }));
  rig_.g.SetDataPath(data);
  rig_.g.LoadSystemFont(font_);
  EXPECT_TRUE(rig_.log.Empty()) << rig_.log.Text();
  EXPECT_EQ(rig_.g.FileName(font_), data + "\\image\\sysfont.zxg");
  rig_.g.DrawSystemText(BackIndex, "A", 0, 0, 0);  // cell at (18, 67): 18 + 67 is odd
  EXPECT_EQ(rig_.At(BackIndex, 0, 0), 0xFFFF);
  EXPECT_EQ(rig_.At(BackIndex, 1, 0), kPaper);
}

}  // namespace
}  // namespace tessaru
