// Colour keys, blending, the page pool, display modes and presenting.
#include <gtest/gtest.h>

#include "graphics/pixel_ops.h"
#include "graphics/tests/graph_rig.h"

namespace tessaru {
namespace {

using gfxtest::GraphRig;
using gfxtest::Tag;

TEST(ColorKeys, KeyedBlitsSkipMatchingPixels) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  const SurfaceIndex src = rig.g.NewSurface(0x0100, 0x01FF);  // a range key
  rig.Put(src, 0, 0, 0x0100);
  rig.Put(src, 1, 0, 0x01FF);
  rig.Put(src, 2, 0, 0x0200);
  rig.Put(src, 3, 0, 0x00FF);
  rig.Paint(BackIndex, [](int, int) { return 0x7777; });
  struct Case {
    int32_t useKey;
    bool keyed;
  };
  for (const Case c : {Case{1, true}, Case{-1, true}, Case{3, true}, Case{0, false}, Case{2, false}}) {
    SCOPED_TRACE(c.useKey);
    rig.Paint(BackIndex, [](int, int) { return 0x7777; });
    rig.g.BltClip(BackIndex, src, 10, 10, 4, 1, 0, 0, c.useKey);
    EXPECT_EQ(rig.At(BackIndex, 10, 10), c.keyed ? 0x7777 : 0x0100);
    EXPECT_EQ(rig.At(BackIndex, 11, 10), c.keyed ? 0x7777 : 0x01FF);
    EXPECT_EQ(rig.At(BackIndex, 12, 10), 0x0200);
    EXPECT_EQ(rig.At(BackIndex, 13, 10), 0x00FF);
  }
}

TEST(ColorKeys, TakenFromAPixelAndRecordedAboveTheBackBuffer) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  const SurfaceIndex page = rig.g.NewSurface(0, 0);
  rig.Put(page, 0, 0, 0xABCD);
  rig.Put(page, 7, 9, 0x1234);
  rig.Put(BackIndex, 0, 0, 0x4321);

  rig.g.SetKeyFromCorner(page);
  EXPECT_EQ(rig.g.SurfaceKey(page).Low, 0xABCDu);
  EXPECT_EQ(rig.g.SurfaceKey(page).High, 0xABCDu);
  EXPECT_EQ(rig.g.RecordedKey(page).Low, 0xABCDu);

  rig.g.SetKeyFromPixel(page, 7, 9);
  EXPECT_EQ(rig.g.SurfaceKey(page).Low, 0x1234u);
  EXPECT_EQ(rig.g.RecordedKey(page).High, 0x1234u);

  // A point off the page leaves the key alone.
  rig.g.SetKeyFromPixel(page, 640, 0);
  rig.g.SetKeyFromPixel(page, 0, -1);
  EXPECT_EQ(rig.g.SurfaceKey(page).Low, 0x1234u);

  // The back buffer gets a key for its blits but none is recorded for it.
  rig.g.SetKeyFromCorner(BackIndex);
  EXPECT_EQ(rig.g.SurfaceKey(BackIndex).Low, 0x4321u);
  EXPECT_EQ(rig.g.RecordedKey(BackIndex).Low, 0u);
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
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BlendPixel(c.d, c.s, c.factor), c.want);
  }
}

TEST(Blend, SkipsBlackOnlyWhenAskedWithOne) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  const SurfaceIndex src = rig.g.NewSurface(0, 0);
  rig.Put(src, 0, 0, 0x0000);
  rig.Put(src, 1, 0, 0xFFFF);
  for (const int32_t skip : {1, 0, -1}) {
    SCOPED_TRACE(skip);
    rig.Put(BackIndex, 0, 0, 0x07E0);
    rig.Put(BackIndex, 1, 0, 0x0000);
    rig.g.BltBlend(BackIndex, src, 0, 0, 2, 1, 0, 0, 0.5, skip);
    EXPECT_EQ(rig.At(BackIndex, 0, 0), skip == 1 ? 0x07E0 : 0x03E0);
    EXPECT_EQ(rig.At(BackIndex, 1, 0), 0x7BF0);
  }
  // Clipped like a blit: only the part on the page is touched.
  rig.Paint(src, [](int, int) { return 0xFFFF; });
  rig.Paint(BackIndex, [](int, int) { return 0; });
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
  EXPECT_EQ(rig.control.PresentCount(), 0u);
  EXPECT_FALSE(rig.g.RestorePending());
  EXPECT_FALSE(rig.g.LoadSurfaceImage(2, std::string_view("x.bmp")));
  EXPECT_TRUE(rig.g.AllocScreenPages(0));
  EXPECT_TRUE(rig.log.Empty());
}

TEST(Pool, GrowsAndShrinksButKeepsThePrimaryAndBackBuffer) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  EXPECT_EQ(rig.g.SurfaceCount(), 2);
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
  rig.Paint(2, [](int, int) { return 0x5555; });
  rig.g.ReleaseAllSurfaces();
  EXPECT_EQ(rig.g.NewSurface(0, 0), 2);
  EXPECT_EQ(rig.At(2, 10, 10), 0);
}

TEST(Pool, RefusesPagesPastTheLimit) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 1));  // small pages keep the test light
  for (int i = 2; i < GraphLib::kMaxSurfaces; ++i) ASSERT_EQ(rig.g.NewSurface(0, 0), i);
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
    EXPECT_EQ(static_cast<int>(rig.g.ScreenPages().size()), c.n > 0 ? c.n : 0);
    for (int i = 0; i < c.n; ++i) EXPECT_EQ(rig.g.ScreenPages()[static_cast<size_t>(i)], 2 + i);
    // The font is missing here, so a reload shows as exactly one log line.
    EXPECT_EQ(rig.log.Text(), c.wantFontReload
                                  ? "/nonexistent\\image\\sysfont.bmpの読み込みに失敗しました\r\n"
                                  : "");
    EXPECT_EQ(rig.g.FreeScreenPages(), 0);
    EXPECT_EQ(rig.g.SurfaceCount(), 2);
  }
}

TEST(Display, ModesPickSizeAndPresentation) {
  struct Case {
    bool fullScreen;
    int32_t mode;
    int width, height, stretch;
    platform::DisplayMode shown;
  };
  const Case cases[] = {
      {false, 0, 640, 480, 0, platform::DisplayMode::Windowed},
      {false, 1, 320, 240, 0, platform::DisplayMode::Windowed},
      {false, 2, 320, 240, 1, platform::DisplayMode::Doubled},
      {false, 7, 640, 480, 0, platform::DisplayMode::Windowed},
      {false, -1, 640, 480, 0, platform::DisplayMode::Windowed},
      {true, 0, 640, 480, 0, platform::DisplayMode::FullScreen},
      {true, 1, 320, 240, 0, platform::DisplayMode::FullScreen},
      {true, 2, 320, 240, 1, platform::DisplayMode::FullScreen},
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
    const auto& frame = rig.control.LastFrame(&w, &h);
    EXPECT_EQ(w, c.width);
    EXPECT_EQ(h, c.height);
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), rig.g.Pixels(BackIndex).begin()));
    // The back buffer keeps its picture after a present, in every mode.
    EXPECT_EQ(rig.At(BackIndex, 7, 3), Tag(7, 3));
    rig.g.ReleaseDirectDraw();
    EXPECT_FALSE(rig.g.Initialized());
    EXPECT_FALSE(rig.control.CurrentVideoConfig());
  }
}

TEST(Display, AWindowedPrimaryIsAddressedAtItsOrigin) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  const SurfaceIndex src = rig.g.NewSurface(0, 0);
  rig.Paint(src, Tag);
  rig.g.BltClip(PrimaryIndex, src, 100, 100, 10, 10, 5, 5, 0);
  EXPECT_EQ(rig.At(PrimaryIndex, 0, 0), Tag(5, 5));
  EXPECT_EQ(rig.At(PrimaryIndex, 9, 9), Tag(14, 14));
  EXPECT_EQ(rig.At(PrimaryIndex, 100, 100), 0);
  rig.g.ReleaseDirectDraw();
  // In full screen the primary is an ordinary page.
  ASSERT_TRUE(rig.g.InitDirectDraw(true, 0));
  const SurfaceIndex again = rig.g.NewSurface(0, 0);
  rig.Paint(again, Tag);
  rig.g.BltClip(PrimaryIndex, again, 100, 100, 10, 10, 5, 5, 0);
  EXPECT_EQ(rig.At(PrimaryIndex, 100, 100), Tag(5, 5));
  EXPECT_EQ(rig.At(PrimaryIndex, 0, 0), 0);
}

TEST(Blits, UnknownPagesDrawNothing) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  rig.Paint(BackIndex, Tag);
  const auto before = std::vector<uint16_t>(rig.g.Pixels(BackIndex).begin(), rig.g.Pixels(BackIndex).end());
  for (const SurfaceIndex bad : {-1, 2, 99}) {
    rig.g.BltClip(BackIndex, bad, 0, 0, 10, 10, 0, 0, 0);
    rig.g.BltStretchClip(BackIndex, bad, 0, 0, 10, 10, 0, 0, 10, 10, 0);
    rig.g.BltBlend(BackIndex, bad, 0, 0, 10, 10, 0, 0, 0.5, 0);
    rig.g.BltPage(bad, BackIndex);
    rig.g.ClearSurface(bad);
    rig.g.SetKeyFromCorner(bad);
  }
  EXPECT_TRUE(std::equal(before.begin(), before.end(), rig.g.Pixels(BackIndex).begin()));
}

}  // namespace
}  // namespace tessaru
