#include "graphics/clip.h"

#include <gtest/gtest.h>

#include <array>

#include "graphics/tests/graph_rig.h"

namespace tessaru {
namespace {

using gfxtest::GraphRig;
using gfxtest::Tag;

TEST(ClipFast, StepsRunInOrder) {
  struct Case {
    const char* name;
    std::array<int32_t, 6> in;   // x, y, w, h, srcX, srcY
    std::array<int64_t, 6> want;
  };
  const Case cases[] = {
      {"inside", {10, 20, 30, 40, 5, 6}, {10, 20, 30, 40, 5, 6}},
      {"source left of the page shifts the destination", {10, 20, 30, 40, -5, 6}, {15, 20, 25, 40, 0, 6}},
      {"source above the page shifts the destination", {10, 20, 30, 40, 5, -8}, {10, 28, 30, 32, 5, 0}},
      {"source past the right edge", {10, 20, 30, 40, 630, 6}, {10, 20, 10, 40, 630, 6}},
      {"source past the bottom edge", {10, 20, 30, 40, 5, 470}, {10, 20, 30, 10, 5, 470}},
      {"destination past the left edge", {-10, 20, 30, 40, 5, 6}, {0, 20, 20, 40, 15, 6}},
      {"destination past the top edge", {10, -10, 30, 40, 5, 6}, {10, 0, 30, 30, 5, 16}},
      {"destination past the right edge", {620, 20, 30, 40, 5, 6}, {620, 20, 20, 40, 5, 6}},
      {"destination past the bottom edge", {10, 470, 30, 40, 5, 6}, {10, 470, 30, 10, 5, 6}},
      {"source shift then destination cut", {-10, 20, 30, 40, -5, 6}, {0, 20, 20, 40, 5, 6}},
      {"source shift lands inside", {-3, 20, 30, 40, -5, 6}, {2, 20, 25, 40, 0, 6}},
      {"right of source, left of destination", {-15, 0, 30, 10, 620, 0}, {0, 0, 5, 10, 635, 0}},
      {"whole page", {0, 0, 640, 480, 0, 0}, {0, 0, 640, 480, 0, 0}},
      {"far coordinates do not overflow", {2147483600, -2147483600, 2147483647, 2147483647, 0, 0},
       {2147483600, 0, 640 - 2147483600LL, 480 - 2147483600LL, 0, 2147483600}},
  };
  for (const auto& c : cases) {
    const auto& i = c.in;
    const FastClip r = ClipFast(i[0], i[1], i[2], i[3], i[4], i[5], 640, 480);
    EXPECT_EQ((std::array<int64_t, 6>{r.X, r.Y, r.W, r.H, r.SrcX, r.SrcY}), c.want) << c.name;
  }
  EXPECT_FALSE(ClipFast(10, 10, 30, 30, 0, 0, 640, 480).Empty());
  EXPECT_TRUE(ClipFast(700, 0, 30, 30, 0, 0, 640, 480).Empty());
  EXPECT_TRUE(ClipFast(0, 0, 30, 30, -40, 0, 640, 480).Empty());
  EXPECT_TRUE(ClipFast(0, 0, 30, 30, 0, 480, 640, 480).Empty());
}

TEST(ClipStretch, RectanglesAreCutIndependently) {
  struct Case {
    const char* name;
    std::array<int32_t, 8> in;  // destination x, y, w, h, then the source's
    std::array<int64_t, 8> want;
  };
  const Case cases[] = {
      {"destination past the right edge squeezes", {600, 0, 80, 40, 0, 0, 80, 40}, {600, 0, 40, 40, 0, 0, 80, 40}},
      {"destination left of the page", {-20, 0, 80, 40, 0, 0, 80, 40}, {0, 0, 60, 40, 0, 0, 80, 40}},
      {"destination below the page", {0, 460, 80, 40, 0, 0, 80, 40}, {0, 460, 80, 20, 0, 0, 80, 40}},
      {"source left of the page", {0, 0, 80, 40, -10, 0, 50, 40}, {0, 0, 80, 40, 0, 0, 40, 40}},
      {"source above the page", {0, 0, 80, 40, 0, -5, 50, 40}, {0, 0, 80, 40, 0, 0, 50, 35}},
      {"source past the bottom", {0, 0, 80, 40, 0, 460, 50, 40}, {0, 0, 80, 40, 0, 460, 50, 20}},
  };
  for (const auto& c : cases) {
    const auto& i = c.in;
    const StretchClip r = ClipStretch(i[0], i[1], i[2], i[3], i[4], i[5], i[6], i[7], 640, 480);
    EXPECT_EQ((std::array<int64_t, 8>{r.DstX, r.DstY, r.DstW, r.DstH, r.SrcX, r.SrcY, r.SrcW, r.SrcH}), c.want)
        << c.name;
  }
}

TEST(BltClip, SpritesAreCutAtTheEdges) {
  struct Case {
    const char* name;
    int x, y, sx, sy;                   // a 16x16 sprite
    int dx, dy, w, h, wantSx, wantSy;  // what lands on the back buffer
    bool ontoItself = false;           // the back buffer's own top-left corner
  };
  const Case cases[] = {
      {"negative source origin", 100, 50, -5, -3, 105, 53, 11, 13, 0, 0},
      {"bottom-left corner", -4, 475, 32, 32, 0, 475, 12, 5, 36, 32},
      {"top-right corner", 630, -8, 32, 32, 630, 0, 10, 8, 32, 40},
      {"a page onto itself acts as a copy", 5, 5, 0, 0, 5, 5, 16, 16, 0, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GraphRig rig;
    ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
    const auto before = [&c](int x, int y) { return c.ontoItself && x < 32 && y < 32 ? Tag(x, y) : 0; };
    rig.Paint(BackIndex, before);
    rig.g.BltClip(BackIndex, c.ontoItself ? BackIndex : rig.NewPage(Tag), c.x, c.y, 16, 16, c.sx, c.sy, 0);
    // Every pixel inside the landing rectangle shows its source, every other one is untouched.
    int drawn = 0;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        const bool inside = x >= c.dx && x < c.dx + c.w && y >= c.dy && y < c.dy + c.h;
        ASSERT_EQ(rig.At(BackIndex, x, y), inside ? Tag(c.wantSx + x - c.dx, c.wantSy + y - c.dy) : before(x, y))
            << x << "," << y;
        drawn += inside;
      }
    }
    EXPECT_EQ(drawn, c.w * c.h);
  }
}

TEST(BltStretchClip, AnEdgeSqueezesThePicture) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  const SurfaceIndex src = rig.NewPage(Tag);
  // 80 source columns into the 40 that remain before the right edge: every second one.
  rig.g.BltStretchClip(BackIndex, src, 600, 0, 80, 10, 0, 0, 80, 10, 0);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(rig.At(BackIndex, 600 + i, 3), Tag(2 * i, 3)) << i;
  EXPECT_EQ(rig.At(BackIndex, 599, 3), 0);
  EXPECT_EQ(rig.At(BackIndex, 600, 10), 0);

  // Doubling: every source pixel becomes a 2x2 block.
  rig.g.BltStretchClip(BackIndex, src, 0, 100, 40, 20, 5, 5, 20, 10, 0);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) {
      ASSERT_EQ(rig.At(BackIndex, x, 100 + y), Tag(5 + x / 2, 5 + y / 2)) << x << "," << y;
    }
  }
  // Areas that vanish after clipping draw nothing.
  const auto before = rig.Copy(BackIndex);
  rig.g.BltStretchClip(BackIndex, src, 640, 0, 10, 10, 0, 0, 10, 10, 0);
  rig.g.BltStretchClip(BackIndex, src, 0, 0, 10, 10, 0, 0, 0, 10, 0);
  rig.g.BltClip(BackIndex, src, 0, 0, -5, 10, 0, 0, 0);
  EXPECT_EQ(rig.Copy(BackIndex), before);
}

}  // namespace
}  // namespace tessaru
