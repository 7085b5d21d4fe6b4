// Loading packed images into pages, and reloading them after a lost device.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_access.h"
#include "graphics/pixel_ops.h"
#include "graphics/tests/bmp_writer.h"
#include "graphics/tests/graph_rig.h"

namespace tessaru {
namespace {

using gfxtest::GraphRig;
using gfxtest::MakeBmp24;
using gfxtest::Tag;
using gfxtest::WritePackedImage;

class SurfaceImage : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::string(TESSARU_SCRATCH) + "/" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    ASSERT_TRUE(rig_.g.InitDirectDraw(false, 0));
  }
  // A picture whose pixel (x, y) is a colour derived from x, y and `seed`.
  static uint32_t Colour(int x, int y, int seed) {
    return static_cast<uint32_t>((x * 8 + seed) & 0xFF) << 16 | static_cast<uint32_t>((y * 4) & 0xFF) << 8 |
           static_cast<uint32_t>(seed * 40 & 0xFF);
  }
  static uint16_t Expected(int x, int y, int seed) {
    const uint32_t c = Colour(x, y, seed);
    return Rgb565(static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c));
  }
  std::string Write(const std::string& name, int w, int h, int seed) {
    const std::string zxg = folder_ + "/" + name + ".zxg";
    WritePackedImage(zxg, MakeBmp24(w, h, [seed](int x, int y) { return Colour(x, y, seed); }));
    return folder_ + "/" + name + ".bmp";
  }

  std::string folder_;
  GraphRig rig_;
};

TEST_F(SurfaceImage, LoadsThePackedFormAndRenamesTheCallersName) {
  std::string name = Write("small", 20, 10, 1);
  const SurfaceIndex page = rig_.g.NewSurface(7, 7);
  rig_.Paint(page, [](int, int) { return 0x5555; });
  ASSERT_TRUE(rig_.g.LoadSurfaceImage(page, name));
  EXPECT_EQ(name, folder_ + "/small.zxg");
  EXPECT_EQ(rig_.g.FileName(page), name);
  EXPECT_EQ(rig_.At(page, 0, 0), Expected(0, 0, 1));
  EXPECT_EQ(rig_.At(page, 19, 9), Expected(19, 9, 1));
  // Beyond a smaller picture the page is black, not what it held before.
  EXPECT_EQ(rig_.At(page, 20, 0), 0);
  EXPECT_EQ(rig_.At(page, 0, 10), 0);
  EXPECT_EQ(rig_.At(page, 639, 479), 0);
  EXPECT_EQ(rig_.g.SurfaceKey(page).Low, 0u);
  EXPECT_EQ(rig_.g.SurfaceKey(page).High, 0u);
}

TEST_F(SurfaceImage, ALargerPictureIsCutAtTheScreen) {
  const std::string name = Write("large", 700, 500, 2);
  const SurfaceIndex page = rig_.g.NewSurface(0, 0);
  ASSERT_TRUE(rig_.g.LoadSurfaceImage(page, std::string_view(name)));
  EXPECT_EQ(rig_.At(page, 639, 479), Expected(639, 479, 2));
  EXPECT_EQ(rig_.At(page, 0, 479), Expected(0, 479, 2));
}

TEST_F(SurfaceImage, OnlyPagesAboveTheBackBufferRememberTheirFile) {
  const std::string name = Write("back", 4, 4, 3);
  ASSERT_TRUE(rig_.g.LoadSurfaceImage(BackIndex, std::string_view(name)));
  EXPECT_EQ(rig_.At(BackIndex, 3, 3), Expected(3, 3, 3));
  EXPECT_EQ(rig_.g.FileName(BackIndex), "");
}

TEST_F(SurfaceImage, FailuresLeaveThePageAlone) {
  const SurfaceIndex page = rig_.g.NewSurface(0, 0);
  rig_.Paint(page, [](int, int) { return 0x5555; });
  std::string missing = folder_ + "/missing.bmp";
  EXPECT_FALSE(rig_.g.LoadSurfaceImage(page, missing));
  EXPECT_EQ(missing, folder_ + "/missing.zxg");
  std::string noDot = folder_ + "/nodot";
  EXPECT_FALSE(rig_.g.LoadSurfaceImage(page, noDot));
  EXPECT_EQ(noDot, folder_ + "/nodot.zxg");

  ASSERT_TRUE(WritePackedFile(folder_ + "/broken.zxg", {'B', 'M', 1, 2, 3}));
  EXPECT_FALSE(rig_.g.LoadSurfaceImage(page, std::string_view(folder_ + "/broken.bmp")));
  EXPECT_FALSE(rig_.g.LastLoadError().empty());
  // A plain (unpacked) bitmap under the packed name is not a picture either.
  ASSERT_TRUE(WriteWholeFileAtomic(folder_ + "/plain.zxg", std::string(600, 'x')));
  EXPECT_FALSE(rig_.g.LoadSurfaceImage(page, std::string_view(folder_ + "/plain.bmp")));

  EXPECT_EQ(rig_.At(page, 5, 5), 0x5555);
  EXPECT_EQ(rig_.g.FileName(page), "");
  EXPECT_FALSE(rig_.g.LoadSurfaceImage(9, std::string_view(Write("ok", 2, 2, 1))));
}

TEST_F(SurfaceImage, ALostDeviceReloadsRecordedPagesOnTheNextFlip) {
  const SurfaceIndex loaded = rig_.g.NewSurface(0, 0);
  const SurfaceIndex drawn = rig_.g.NewSurface(0, 0);
  const SurfaceIndex keyed = rig_.g.NewSurface(0, 0);
  const SurfaceIndex gone = rig_.g.NewSurface(0, 0);
  ASSERT_TRUE(rig_.g.LoadSurfaceImage(loaded, std::string_view(Write("a", 30, 20, 4))));
  rig_.Paint(drawn, Tag);
  ASSERT_TRUE(rig_.g.LoadSurfaceImage(keyed, std::string_view(Write("b", 30, 20, 5))));
  rig_.g.SetKeyFromPixel(keyed, 3, 2);
  const std::string goneName = Write("c", 30, 20, 6);
  ASSERT_TRUE(rig_.g.LoadSurfaceImage(gone, std::string_view(goneName)));
  // Drawn over after loading: the restore brings the file back, not the drawing.
  rig_.Paint(loaded, [](int, int) { return 0x1111; });
  rig_.Paint(BackIndex, Tag);
  rig_.g.FlipScreen();
  ASSERT_EQ(rig_.control.PresentCount(), 1u);
  std::filesystem::remove(folder_ + "/c.zxg");

  rig_.control.InjectDeviceLost();
  rig_.g.FlipScreen();
  EXPECT_TRUE(rig_.g.RestorePending());
  EXPECT_EQ(rig_.control.PresentCount(), 1u);

  rig_.g.FlipScreen();  // restores, shows nothing
  EXPECT_FALSE(rig_.g.RestorePending());
  EXPECT_EQ(rig_.control.PresentCount(), 1u);
  EXPECT_EQ(rig_.At(loaded, 29, 19), Expected(29, 19, 4));
  EXPECT_EQ(rig_.At(loaded, 30, 0), 0);
  EXPECT_EQ(rig_.At(drawn, 100, 100), 0);
  EXPECT_EQ(rig_.At(keyed, 3, 2), Expected(3, 2, 5));
  EXPECT_EQ(rig_.g.SurfaceKey(keyed).Low, Expected(3, 2, 5));
  EXPECT_EQ(rig_.g.SurfaceKey(loaded).Low, 0u);
  EXPECT_EQ(rig_.At(gone, 0, 0), 0);  // its file went away: black, and no failure
  EXPECT_EQ(rig_.At(BackIndex, 7, 3), 0);
  EXPECT_EQ(rig_.At(PrimaryIndex, 7, 3), 0);

  rig_.g.FlipScreen();
  EXPECT_EQ(rig_.control.PresentCount(), 2u);
  EXPECT_FALSE(rig_.g.RestorePending());
}

}  // namespace
}  // namespace tessaru
