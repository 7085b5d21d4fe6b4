#include "graphics/clip.h"

#include <gtest/gtest.h>

#include "graphics/tests/graph_rig.h"

namespace tessaru {
namespace {

using gfxtest::GraphRig;
using gfxtest::Tag;

struct FastCase {
  const char* name;
  int32_t x, y, w, h, sx, sy;
  int64_t wantX, wantY, wantW, wantH, wantSx, wantSy;
};

TEST(ClipFast, StepsRunInOrder) {
  const FastCase cases[] = {
      {"inside", 10, 20, 30, 40, 5, 6, 10, 20, 30, 40, 5, 6},
      {"source left of the page shifts the destination", 10, 20, 30, 40, -5, 6, 15, 20, 25, 40, 0, 6},
      {"source above the page shifts the destination", 10, 20, 30, 40, 5, -8, 10, 28, 30, 32, 5, 0},
      {"source past the right edge", 10, 20, 30, 40, 630, 6, 10, 20, 10, 40, 630, 6},
      {"source past the bottom edge", 10, 20, 30, 40, 5, 470, 10, 20, 30, 10, 5, 470},
      {"destination past the left edge", -10, 20, 30, 40, 5, 6, 0, 20, 20, 40, 15, 6},
      {"destination past the top edge", 10, -10, 30, 40, 5, 6, 10, 0, 30, 30, 5, 16},
      {"destination past the right edge", 620, 20, 30, 40, 5, 6, 620, 20, 20, 40, 5, 6},
      {"destination past the bottom edge", 10, 470, 30, 40, 5, 6, 10, 470, 30, 10, 5, 6},
      {"source shift then destination cut", -10, 20, 30, 40, -5, 6, 0, 20, 20, 40, 5, 6},
      {"source shift lands inside", -3, 20, 30, 40, -5, 6, 2, 20, 25, 40, 0, 6},
      {"right of source, left of destination", -15, 0, 30, 10, 620, 0, 0, 0, 5, 10, 635, 0},
      {"whole page", 0, 0, 640, 480, 0, 0, 0, 0, 640, 480, 0, 0},
      {"far coordinates do not overflow", 2147483600, -2147483600, 2147483647, 2147483647, 0, 0,
       2147483600, 0, 640 - 2147483600LL, 480 - 2147483600LL, 0, 2147483600},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const FastClip r = ClipFast(c.x, c.y, c.w, c.h, c.sx, c.sy, 640, 480);
    EXPECT_EQ(r.X, c.wantX);
    EXPECT_EQ(r.Y, c.wantY);
    EXPECT_EQ(r.W, c.wantW);
    EXPECT_EQ(r.H, c.wantH);
    EXPECT_EQ(r.SrcX, c.wantSx);
    EXPECT_EQ(r.SrcY, c.wantSy);
  }
  EXPECT_TRUE(ClipFast(700, 0, 30, 30, 0, 0, 640, 480).Empty());
  EXPECT_TRUE(ClipFast(0, 0, 30, 30, -40, 0, 640, 480).Empty());
  EXPECT_TRUE(ClipFast(0, 0, 30, 30, 0, 480, 640, 480).Empty());
  EXPECT_TRUE(ClipFast(10, 10, 30, 30, 0, 0, 640, 480).Empty() == false);
}

TEST(ClipStretch, RectanglesAreCutIndependently) {
  struct Case {
    const char* name;
    int32_t in[8];
    int64_t want[8];
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
    SCOPED_TRACE(c.name);
    const auto& i = c.in;
    const StretchClip r = ClipStretch(i[0], i[1], i[2], i[3], i[4], i[5], i[6], i[7], 640, 480);
    const int64_t got[8] = {r.DstX, r.DstY, r.DstW, r.DstH, r.SrcX, r.SrcY, r.SrcW, r.SrcH};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(got[k], c.want[k]) << "field " << k;
  }
}

// Counts the back buffer's drawn pixels and checks each against the source position.
void ExpectDrawn(const GraphRig& rig, int dx, int dy, int w, int h, int sx, int sy) {
  int drawn = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const uint16_t v = rig.At(BackIndex, x, y);
      const bool inside = x >= dx && x < dx + w && y >= dy && y < dy + h;
      if (inside) {
        ASSERT_EQ(v, Tag(sx + x - dx, sy + y - dy)) << x << "," << y;
        ++drawn;
      } else {
        ASSERT_EQ(v, 0) << "outside at " << x << "," << y;
      }
    }
  }
  EXPECT_EQ(drawn, w * h);
}

TEST(BltClip, SpritesAreCutAtTheEdges) {
  struct Case {
    const char* name;
    int x, y, sx, sy;                   // a 16x16 sprite
    int dx, dy, w, h, wantSx, wantSy;  // what lands on the back buffer
  };
  const Case cases[] = {
      {"negative source origin", 100, 50, -5, -3, 105, 53, 11, 13, 0, 0},
      {"bottom-left corner", -4, 475, 32, 32, 0, 475, 12, 5, 36, 32},
      {"top-right corner", 630, -8, 32, 32, 630, 0, 10, 8, 32, 40},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GraphRig rig;
    ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
    const SurfaceIndex sprites = rig.g.NewSurface(0, 0);
    rig.Paint(sprites, Tag);
    rig.g.BltClip(BackIndex, sprites, c.x, c.y, 16, 16, c.sx, c.sy, 0);
    ExpectDrawn(rig, c.dx, c.dy, c.w, c.h, c.wantSx, c.wantSy);
  }
}

TEST(BltStretchClip, AnEdgeSqueezesThePicture) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  const SurfaceIndex src = rig.g.NewSurface(0, 0);
  rig.Paint(src, Tag);
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
  const auto before = std::vector<uint16_t>(rig.g.Pixels(BackIndex).begin(), rig.g.Pixels(BackIndex).end());
  rig.g.BltStretchClip(BackIndex, src, 640, 0, 10, 10, 0, 0, 10, 10, 0);
  rig.g.BltStretchClip(BackIndex, src, 0, 0, 10, 10, 0, 0, 0, 10, 0);
  rig.g.BltClip(BackIndex, src, 0, 0, -5, 10, 0, 0, 0);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), rig.g.Pixels(BackIndex).begin()));
}

TEST(BltClip, APageBlitOntoItselfActsAsACopy) {
  GraphRig rig;
  ASSERT_TRUE(rig.g.InitDirectDraw(false, 0));
  rig.Paint(BackIndex, Tag);
  rig.g.BltClip(BackIndex, BackIndex, 5, 5, 20, 20, 0, 0, 0);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) ASSERT_EQ(rig.At(BackIndex, 5 + x, 5 + y), Tag(x, y));
  }
}

}  // namespace
}  // namespace tessaru
