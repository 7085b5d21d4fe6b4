// Colour keys, blending, the page pool, display modes and presenting.
#include <gtest/gtest.h>

#include "graphics/pixel_ops.h"
#include "graphics/tests/graph_rig.h"

namespace tessaru {
namespace {

using gfxtest::GraphRig;
using gfxtest::Tag;

TEST(ColorKeys, KeyedBlitsSkipPixelsInTheKeyRange) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  const SurfaceIndex src = rig.g.NewSurface(0x0100, 0x01FF);
  const uint16_t row[] = {0x0100, 0x01FF, 0x0200, 0x00FF};  // both ends of the range, just outside
  for (int x = 0; x < 4; ++x) rig.Put(src, x, 0, row[x]);
  for (const int32_t useKey : {1, -1, 3, 0, 2}) {
    const bool keyed = useKey == 1 || useKey == -1 || useKey == 3;
    rig.Fill(BackIndex, 0x7777);
    rig.g.BltClip(BackIndex, src, 10, 10, 4, 1, 0, 0, useKey);
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(rig.At(BackIndex, 10 + x, 10), keyed && x < 2 ? 0x7777 : row[x]) << useKey << " " << x;
    }
  }
}

TEST(ColorKeys, TakenFromAPixelAndRecordedAboveTheBackBuffer) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  const SurfaceIndex page = rig.g.NewSurface(0, 0);
  rig.Put(page, 0, 0, 0xABCD);
  rig.Put(page, 7, 9, 0x1234);
  rig.Put(BackIndex, 0, 0, 0x4321);
  const auto keys = [&](SurfaceIndex p) {
    return std::vector<uint32_t>{rig.g.SurfaceKey(p).Low, rig.g.SurfaceKey(p).High, rig.g.RecordedKey(p).Low,
                                 rig.g.RecordedKey(p).High};
  };
  rig.g.SetKeyFromCorner(page);
  EXPECT_EQ(keys(page), (std::vector<uint32_t>(4, 0xABCD)));
  rig.g.SetKeyFromPixel(page, 7, 9);
  rig.g.SetKeyFromPixel(page, 640, 0);  // points off the page leave the key alone
  rig.g.SetKeyFromPixel(page, 0, -1);
  EXPECT_EQ(keys(page), (std::vector<uint32_t>(4, 0x1234)));
  // The back buffer gets a key for its blits but none is recorded for it.
  rig.g.SetKeyFromCorner(BackIndex);
  EXPECT_EQ(keys(BackIndex), (std::vector<uint32_t>{0x4321, 0x4321, 0, 0}));
}

TEST(Blend, ChannelArithmetic) {
  struct Case {
    const char* name;
    uint16_t d, s;
    double factor;
    uint16_t want;
  };
  const Case cases[] = {
      {"half of white over black", 0x0000, 0xFFFF, 0.5, 0x7BF0},  // blue 15.5 rounds to 16
      {"half of blue 1 rounds to even 0", 0x0000, 0x0001, 0.5, 0x0000},
      {"half of blue 3 rounds to even 2", 0x0000, 0x0003, 0.5, 0x0002},
      {"half of blue 5 rounds to even 2", 0x0000, 0x0005, 0.5, 0x0002},
      {"factor 0 keeps the destination", 0x1234, 0xFFFF, 0.0, 0x1234},
      {"factor 1 takes the source", 0x1234, 0xFEDC, 1.0, 0xFEDC},
      {"a quarter", 0x001F, 0x0000, 0.25, 0x0017},  // 23.25 -> 23
      {"bits below a channel's mask are dropped", 0x0800, 0x1000, 0.5, 0x0800},
      {"green midpoint", 0x0020, 0x0060, 0.5, 0x0040},
      {"factor 2 overflows into the mask", 0x0000, 0x0010, 2.0, 0x0000},
      {"negative factor", 0x001F, 0x0000, -1.0, 0x001E},
  };
  for (const auto& c : cases) EXPECT_EQ(BlendPixel(c.d, c.s, c.factor), c.want) << c.name;
}

TEST(Blend, SkipsBlackOnlyWhenAskedWithOneAndIsClipped) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  const SurfaceIndex src = rig.g.NewSurface(0, 0);
  rig.Put(src, 1, 0, 0xFFFF);
  for (const int32_t skip : {1, 0, -1}) {
    rig.Put(BackIndex, 0, 0, 0x07E0);
    rig.Put(BackIndex, 1, 0, 0x0000);
    rig.g.BltBlend(BackIndex, src, 0, 0, 2, 1, 0, 0, 0.5, skip);
    EXPECT_EQ(rig.At(BackIndex, 0, 0), skip == 1 ? 0x07E0 : 0x03E0) << skip;
    EXPECT_EQ(rig.At(BackIndex, 1, 0), 0x7BF0) << skip;
  }
  rig.Fill(src, 0xFFFF);
  rig.Fill(BackIndex, 0);
  rig.g.BltBlend(BackIndex, src, 630, 470, 20, 20, 0, 0, 0.5, 1);
  EXPECT_EQ(rig.At(BackIndex, 639, 479), 0x7BF0);
  EXPECT_EQ(rig.At(BackIndex, 629, 479), 0);
  EXPECT_EQ(rig.At(BackIndex, 639, 469), 0);
}

TEST(Pool, NothingHappensBeforeInitialisation) {
  GraphRig rig;
  EXPECT_EQ(rig.g.NewSurface(0, 0), -1);
  EXPECT_EQ(rig.g.SurfaceCount(), 0);
  EXPECT_TRUE(rig.g.Pixels(BackIndex).empty());
  rig.g.BltClip(BackIndex, PrimaryIndex, 0, 0, 10, 10, 0, 0, 1);
  rig.g.BltBlend(BackIndex, PrimaryIndex, 0, 0, 10, 10, 0, 0, 0.5, 1);
  rig.g.ClearSurface(BackIndex);
  rig.g.SetKeyFromCorner(2);
  rig.g.DrawSystemText(BackIndex, "A", 0, 0, 0);
  rig.g.FlipScreen();
  EXPECT_EQ(rig.g.WipeIn(2, 3), 0);
  EXPECT_EQ(rig.control.PresentCount(), 0u);
  EXPECT_FALSE(rig.g.RestorePending());
  EXPECT_FALSE(rig.g.LoadSurfaceImage(2, std::string_view("x.bmp")));
  EXPECT_TRUE(rig.g.AllocScreenPages(0));
  EXPECT_TRUE(rig.log.Empty());
}

TEST(Pool, GrowsAndShrinksAboveTheBackBufferAndStopsAtTheLimit) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 1));  // small pages keep the test light
  rig.g.ReleaseLastSurface();
  rig.g.ReleaseAllSurfaces();
  EXPECT_EQ(rig.g.SurfaceCount(), 2);
  EXPECT_EQ(rig.g.NewSurface(0, 0), 2);
  EXPECT_EQ(rig.g.NewSurface(5, 9), 3);
  EXPECT_EQ(rig.g.SurfaceKey(3).Low, 5u);
  EXPECT_EQ(rig.g.SurfaceKey(3).High, 9u);
  EXPECT_EQ(rig.g.RecordedKey(3).Low, 0u);
  rig.g.ReleaseLastSurface();
  EXPECT_EQ(rig.g.SurfaceCount(), 3);
  EXPECT_TRUE(rig.g.Pixels(3).empty());
  // A new page never shows what a released one held.
  rig.Fill(2, 0x5555);
  rig.g.ReleaseAllSurfaces();
  EXPECT_EQ(rig.g.NewSurface(0, 0), 2);
  EXPECT_EQ(rig.At(2, 10, 10), 0);

  for (int i = 3; i < GraphLib::kMaxSurfaces; ++i) ASSERT_EQ(rig.g.NewSurface(0, 0), i);
  EXPECT_EQ(rig.g.NewSurface(0, 0), -1);
  EXPECT_EQ(rig.g.SurfaceCount(), GraphLib::kMaxSurfaces);
  rig.g.ReleaseAllSurfaces();
  EXPECT_FALSE(rig.g.AllocScreenPages(GraphLib::kMaxSurfaces));
  EXPECT_EQ(rig.log.Text(), "メモリ不足のため画像保存領域の確保に失敗しました。\r\n");
}

TEST(Pool, AllocScreenPagesDependsOnTheCount) {
  struct Case {
    const char* name;
    int extraPages;  // above the back buffer before the call
    int16_t n;
    int wantCount;
    bool wantFontReload;
  };
  const Case cases[] = {
      {"zero pages, five surfaces: all released", 3, 0, 2, false},
      {"zero pages, four surfaces: nothing released", 2, 0, 4, false},
      {"zero pages, three surfaces: one page added and the font reloaded", 1, 0, 4, true},
      {"three pages from two surfaces", 0, 3, 5, false},
      {"two pages replace earlier ones", 4, 2, 4, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GraphRig rig;
    rig.g.SetDataPath("/nonexistent");
    ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
    for (int i = 0; i < c.extraPages; ++i) rig.g.NewSurface(0, 0);
    EXPECT_TRUE(rig.g.AllocScreenPages(c.n));
    EXPECT_EQ(rig.g.SurfaceCount(), c.wantCount);
    std::vector<SurfaceIndex> pages;
    for (int i = 0; i < c.n; ++i) pages.push_back(2 + i);
    EXPECT_EQ(rig.g.ScreenPages(), pages);
    // The font is missing here, so a reload shows as exactly one log line.
    EXPECT_EQ(rig.log.Text(), c.wantFontReload ? "/nonexistent\\image\\sysfont.bmpの読み込みに失敗しました\r\n" : "");
    EXPECT_EQ(rig.g.FreeScreenPages(), 0);
    EXPECT_EQ(rig.g.SurfaceCount(), 2);
  }
}

TEST(Display, ModesPickSizeAndPresentation) {
  using platform::DisplayMode;
  struct Case {
    bool fullScreen;
    int32_t mode;
    int width, height, stretch;
    DisplayMode shown;
  };
  const Case cases[] = {
      {false, 0, 640, 480, 0, DisplayMode::Windowed},   {false, 1, 320, 240, 0, DisplayMode::Windowed},
      {false, 2, 320, 240, 1, DisplayMode::Doubled},    {false, 7, 640, 480, 0, DisplayMode::Windowed},
      {false, -1, 640, 480, 0, DisplayMode::Windowed},  {true, 0, 640, 480, 0, DisplayMode::FullScreen},
      {true, 1, 320, 240, 0, DisplayMode::FullScreen},  {true, 2, 320, 240, 1, DisplayMode::FullScreen},
  };
  GraphRig rig;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.fullScreen << " mode " << c.mode);
    ASSERT_TRUE(rig.g.InitDirectDraw(c.fullScreen, c.mode));
    EXPECT_FALSE(rig.g.InitDirectDraw(!c.fullScreen, 0));  // already initialised
    EXPECT_EQ(rig.g.ScreenWidth(), c.width);
    EXPECT_EQ(rig.g.ScreenHeight(), c.height);
    EXPECT_EQ(rig.g.StretchWindow(), c.stretch);
    EXPECT_EQ(rig.g.FullScreen(), c.fullScreen);
    const auto config = rig.control.CurrentVideoConfig();
    ASSERT_TRUE(config);
    EXPECT_EQ(config->Width, c.width);
    EXPECT_EQ(config->Mode, c.shown);

    rig.Paint(BackIndex, Tag);
    rig.g.FlipScreen();
    int w = 0, h = 0;
    rig.control.LastFrame(&w, &h);
    EXPECT_EQ(w * 1000 + h, c.width * 1000 + c.height);
    // The back buffer keeps its picture after a present, in every mode.
    EXPECT_EQ(rig.Frame(), rig.Copy(BackIndex));
    EXPECT_EQ(rig.At(BackIndex, 7, 3), Tag(7, 3));
    rig.g.ReleaseDirectDraw();
    EXPECT_FALSE(rig.g.Initialized());
    EXPECT_FALSE(rig.control.CurrentVideoConfig());
  }
}

TEST(Display, AWindowedPrimaryIsAddressedAtItsOriginAFullScreenOneIsAPage) {
  GraphRig rig;
  for (const bool fullScreen : {false, true}) {
    ASSERT_TRUE(rig.g.InitDirectDraw(fullScreen, 0));
    rig.g.BltClip(PrimaryIndex, rig.NewPage(Tag), 100, 100, 10, 10, 5, 5, 0);
    const int at = fullScreen ? 100 : 0;
    EXPECT_EQ(rig.At(PrimaryIndex, at, at), Tag(5, 5)) << fullScreen;
    EXPECT_EQ(rig.At(PrimaryIndex, at + 9, at + 9), Tag(14, 14)) << fullScreen;
    EXPECT_EQ(rig.At(PrimaryIndex, 100 - at, 100 - at), 0) << fullScreen;
    rig.g.ReleaseDirectDraw();
  }
}

TEST(Blits, UnknownPagesDrawNothing) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  rig.Paint(BackIndex, Tag);
  const auto before = rig.Copy(BackIndex);
  for (const SurfaceIndex bad : {-1, 2, 99}) {
    rig.g.BltClip(BackIndex, bad, 0, 0, 10, 10, 0, 0, 0);
    rig.g.BltStretchClip(BackIndex, bad, 0, 0, 10, 10, 0, 0, 10, 10, 0);
    rig.g.BltBlend(BackIndex, bad, 0, 0, 10, 10, 0, 0, 0.5, 0);
    rig.g.BltPage(bad, BackIndex);
    rig.g.ClearSurface(bad);
    rig.g.SetKeyFromCorner(bad);
  }
  EXPECT_EQ(rig.Copy(BackIndex), before);
}

}  // namespace
}  // namespace tessaru
