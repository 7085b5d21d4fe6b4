// Glyph placement of both bitmap fonts, checked pixel by pixel.
#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/tests/bmp_writer.h"
#include "graphics/tests/graph_rig.h"

namespace tessaru {
namespace {

using gfxtest::Tag;

constexpr uint16_t kPaper = 0x4208;
const char* const kMissingFont = "/nonexistent\\image\\sysfont.bmpの読み込みに失敗しました\r\n";

class Fonts : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig_.g.InitDirectDraw(false, 0));
    rig_.g.SetDataPath("/nonexistent");
    font_ = rig_.NewPage(Tag);
  }
  // Draws on fresh paper; true when the w x h block at (x, y) shows the font page's
  // block at (sx, sy) and the pixel just below it is untouched.
  template <typename DrawFn>
  ::testing::AssertionResult ShowsCell(DrawFn draw, int x, int y, int w, int h, int sx, int sy) {
    rig_.Fill(BackIndex, kPaper);
    draw();
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

  gfxtest::GraphRig rig_;
  SurfaceIndex font_ = -1;
};

TEST_F(Fonts, SystemTextCellsFollowTheCodeTable) {
  rig_.g.LoadSystemFont(font_);  // fails (no file) but still names the font page
  EXPECT_EQ(rig_.g.SystemFontSurface(), font_);
  EXPECT_EQ(rig_.log.Text(), kMissingFont);
  rig_.Paint(font_, Tag);
  struct Case {
    const char* text;
    int16_t style;
    int index;  // position in the text
    int sx, sy;
  };
  // Style 0: 32 cells of 17 x 33 to a row; style 1: 17 x 25 from y = 108.
  const Case cases[] = {
      {"A!", 0, 0, 18, 67},   {"A!", 0, 1, 18, 34},     {" ~", 0, 0, 1, 34},   {" ~", 0, 1, 511, 100},
      {"A!", 1, 0, 18, 158},  {"A!", 1, 1, 18, 133},    {"z\x7F", 1, 1, 528, 183}, {"09", 1, 1, 426, 133},
      {"\xC3\xA9" "B", 0, 1, 35, 67},  // a character without a glyph still takes its 16 pixels
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(ShowsCell([&] { rig_.g.DrawSystemText(BackIndex, c.text, 10, 20, c.style); }, 10 + 16 * c.index,
                          20, 16, c.style == 0 ? 32 : 24, c.sx, c.sy))
        << c.text << " style " << c.style << " char " << c.index;
  }
}

TEST_F(Fonts, SystemTextKeysOutBlackAndSkipsWhatItCannotDraw) {
  rig_.g.LoadSystemFont(font_);
  rig_.Paint(font_, Tag);
  rig_.Put(font_, 18 + 3, 67 + 4, 0);  // a transparent pixel inside the glyph of "A"
  rig_.Fill(BackIndex, kPaper);
  rig_.g.DrawSystemText(BackIndex, "A", 0, 0, 0);
  EXPECT_EQ(rig_.At(BackIndex, 3, 4), kPaper);
  EXPECT_EQ(rig_.At(BackIndex, 2, 4), Tag(20, 71));

  rig_.Fill(BackIndex, kPaper);
  rig_.g.DrawSystemText(BackIndex, "AB", 0, 0, 2);
  rig_.g.DrawSystemText(BackIndex, "\x01\x1F\xFF", 0, 0, 0);
  rig_.g.DrawSystemText(BackIndex, "\xE3\x81\x82", 0, 0, 1);  // a kana: no glyph
  rig_.g.DrawSystemText(BackIndex, "\xC3\xA9", 0, 0, 0);
  EXPECT_EQ(rig_.Copy(BackIndex), std::vector<uint16_t>(640 * 480, kPaper));
}

TEST_F(Fonts, BigLettersUseTheirCellsWithoutRegardToCase) {
  struct Case {
    const char* text;
    int index;
    int cell;  // 13 cells of 49 x 49 to a row
  };
  const Case cases[] = {
      {"1", 0, 0},  {"0", 0, 9},   {"a", 0, 10}, {"A", 0, 10}, {"z", 0, 35}, {"!", 0, 36},
      {"-", 0, 44}, {"_", 0, 45},  {"+", 0, 46}, {" ", 0, 48}, {">", 0, 49}, {"<", 0, 50},
      {"=", 0, 51}, {"a=b", 2, 11}, {"\xC3\xA9", 0, 51}, {"x\xC3\xA9y", 2, 34},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(ShowsCell([&] { rig_.g.DrawBigText(BackIndex, font_, c.text, 5, 7); }, 5 + 48 * c.index, 7, 48,
                          48, 49 * (c.cell % 13), 49 * (c.cell / 13)))
        << '"' << c.text << "\" char " << c.index;
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
  rig_.Fill(BackIndex, kPaper);
  rig_.g.DrawSystemText(BackIndex, "A", 0, 0, 0);  // cell at (18, 67): 18 + 67 is odd
  EXPECT_EQ(rig_.At(BackIndex, 0, 0), 0xFFFF);
  EXPECT_EQ(rig_.At(BackIndex, 1, 0), kPaper);
}

}  // namespace
}  // namespace tessaru
