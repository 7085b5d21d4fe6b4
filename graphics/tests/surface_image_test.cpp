// Loading packed images into pages, and reloading them after a lost device.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/file_access.h"
#include "graphics/pixel_ops.h"
#include "graphics/tests/bmp_writer.h"
#include "graphics/tests/graph_rig.h"

namespace tessaru {
namespace {

using gfxtest::Tag;

class SurfaceImage : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::string(TESSARU_SCRATCH) + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    ASSERT_TRUE(rig_.g.InitDirectDraw(false, 0));
  }
  // Pixel (x, y) of picture `seed`, as stored and as shown.
  static uint32_t Colour(int x, int y, int seed) {
    return static_cast<uint32_t>((x * 8 + seed) & 0xFF) << 16 | static_cast<uint32_t>((y * 4) & 0xFF) << 8 |
           static_cast<uint32_t>(seed * 40 & 0xFF);
  }
  static uint16_t Shown(int x, int y, int seed) {
    const uint32_t c = Colour(x, y, seed);
    return Rgb565(static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c));
  }
  // Writes name.zxg and returns the name the game asks for, name.bmp.
  std::string Write(const std::string& name, int w, int h, int seed) {
    gfxtest::WritePackedImage(folder_ + "/" + name + ".zxg",
                              gfxtest::MakeBmp24(w, h, [seed](int x, int y) { return Colour(x, y, seed); }));
    return folder_ + "/" + name + ".bmp";
  }

  std::string folder_;
  gfxtest::GraphRig rig_;
};

TEST_F(SurfaceImage, LoadsThePackedFormCutAtTheScreenOnBlack) {
  struct Case {
    const char* name;
    int w, h;
    bool onBackBuffer;  // only pages above it remember their file
  };
  const Case cases[] = {{"small", 20, 10, false}, {"large", 700, 500, false}, {"back", 4, 4, true}};
  int seed = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string name = Write(c.name, c.w, c.h, ++seed);
    const SurfaceIndex page = c.onBackBuffer ? BackIndex : rig_.g.NewSurface(7, 7);
    rig_.Fill(page, 0x5555);
    ASSERT_TRUE(rig_.g.LoadSurfaceImage(page, name));
    EXPECT_EQ(name, folder_ + "/" + c.name + ".zxg") << "the caller's name becomes the packed one";
    EXPECT_EQ(rig_.g.FileName(page), c.onBackBuffer ? "" : name);
    const int right = std::min(c.w, 640) - 1, bottom = std::min(c.h, 480) - 1;
    EXPECT_EQ(rig_.At(page, 0, 0), Shown(0, 0, seed));
    EXPECT_EQ(rig_.At(page, right, bottom), Shown(right, bottom, seed));
    EXPECT_EQ(rig_.At(page, 0, bottom), Shown(0, bottom, seed));
    // Beyond a smaller picture the page is black, not what it held before.
    if (c.w < 640) {
      EXPECT_EQ(rig_.At(page, c.w, 0), 0);
      EXPECT_EQ(rig_.At(page, 0, c.h), 0);
      EXPECT_EQ(rig_.At(page, 639, 479), 0);
    }
    EXPECT_EQ(rig_.g.SurfaceKey(page).Low + rig_.g.SurfaceKey(page).High, 0u);
  }
}

TEST_F(SurfaceImage, FailuresLeaveThePageAlone) {
  const SurfaceIndex page = rig_.g.NewSurface(0, 0);
  rig_.Fill(page, 0x5555);
  ASSERT_TRUE(WritePackedFile(folder_ + "/broken.zxg", {'B', 'M', 1, 2, 3}));
  // A plain (unpacked) bitmap under the packed name is not a picture either.
  ASSERT_TRUE(WriteWholeFileAtomic(folder_ + "/plain.zxg", std::string(600, 'x')));
  struct Case {
    std::string name, renamed;
  };
  for (Case c : {Case{"missing.bmp", "missing.zxg"}, Case{"nodot", "nodot.zxg"}, Case{"broken.bmp", "broken.zxg"},
                 Case{"plain.bmp", "plain.zxg"}}) {
    std::string name = folder_ + "/" + c.name;
    EXPECT_FALSE(rig_.g.LoadSurfaceImage(page, name)) << c.name;
    EXPECT_EQ(name, folder_ + "/" + c.renamed);
  }
  EXPECT_FALSE(rig_.g.LastLoadError().empty());
  EXPECT_EQ(rig_.At(page, 5, 5), 0x5555);
  EXPECT_EQ(rig_.g.FileName(page), "");
  EXPECT_FALSE(rig_.g.LoadSurfaceImage(9, std::string_view(Write("ok", 2, 2, 1))));
}

TEST_F(SurfaceImage, ALostDeviceReloadsRecordedPagesOnTheNextFlip) {
  const SurfaceIndex loaded = rig_.g.NewSurface(0, 0);
  const SurfaceIndex drawn = rig_.NewPage(Tag);
  const SurfaceIndex keyed = rig_.g.NewSurface(0, 0);
  const SurfaceIndex gone = rig_.g.NewSurface(0, 0);
  ASSERT_TRUE(rig_.g.LoadSurfaceImage(loaded, std::string_view(Write("a", 30, 20, 4))));
  ASSERT_TRUE(rig_.g.LoadSurfaceImage(keyed, std::string_view(Write("b", 30, 20, 5))));
  rig_.g.SetKeyFromPixel(keyed, 3, 2);
  ASSERT_TRUE(rig_.g.LoadSurfaceImage(gone, std::string_view(Write("c", 30, 20, 6))));
  // Drawn over after loading: the restore brings the file back, not the drawing.
  rig_.Fill(loaded, 0x1111);
  rig_.Paint(BackIndex, Tag);
  rig_.g.FlipScreen();
  std::filesystem::remove(folder_ + "/c.zxg");

  // Lost at a present: nothing shown; the next flip restores and shows nothing either;
  // the one after presents again.
  rig_.control.InjectDeviceLost();
  std::string presents, pending;
  for (int i = 0; i < 3; ++i) {
    rig_.g.FlipScreen();
    presents += std::to_string(rig_.control.PresentCount());
    pending += rig_.g.RestorePending() ? 'X' : '.';
    if (i == 1) {
      EXPECT_EQ(rig_.At(loaded, 29, 19), Shown(29, 19, 4));
      EXPECT_EQ(rig_.At(loaded, 30, 0), 0);
      EXPECT_EQ(rig_.At(drawn, 100, 100), 0);
      EXPECT_EQ(rig_.At(keyed, 3, 2), Shown(3, 2, 5));
      EXPECT_EQ(rig_.g.SurfaceKey(keyed).Low, Shown(3, 2, 5));
      EXPECT_EQ(rig_.g.SurfaceKey(loaded).Low, 0u);
      EXPECT_EQ(rig_.At(gone, 0, 0), 0);  // its file went away: black, and no failure
      EXPECT_EQ(rig_.At(BackIndex, 7, 3), 0);
      EXPECT_EQ(rig_.At(PrimaryIndex, 7, 3), 0);
    }
  }
  EXPECT_EQ(presents, "112");
  EXPECT_EQ(pending, "X..");
}

}  // namespace
}  // namespace tessaru
