#include "launcher/form_pictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "content/packed.h"
#include "platform/frame_image.h"

namespace tessaru {
namespace {

namespace fs = std::filesystem;

TEST(FormPicturesTest, PackedFirstThenPlainThenNothing) {
  const std::string dir = std::string(TESSARU_SCRATCH) + "/pictures";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const uint16_t red[6] = {0xF800, 0xF800, 0xF800, 0xF800, 0xF800, 0xF800};
  const uint16_t blue[6] = {0x001F, 0x001F, 0x001F, 0x001F, 0x001F, 0x001F};
  ASSERT_TRUE(platform::WriteRgb565Bmp(dir + "/both.bmp", red, 3, 2));
  ASSERT_TRUE(platform::WriteRgb565Bmp(dir + "/plain.bmp", red, 3, 2));
  ASSERT_TRUE(platform::WriteRgb565Bmp(dir + "/blue.bmp", blue, 3, 2));
  ASSERT_TRUE(ScrambleCopy(dir + "/blue.bmp", dir + "/both.zxg"));
  std::ofstream(dir + "/broken.zxg") << "not a picture";

  struct Case {
    const char* name;
    bool found;
    uint16_t pixel;
  };
  const Case cases[] = {
      {"\\both.bmp", true, 0x001F},  // the packed picture wins over the plain one
      {"\\plain.bmp", true, 0xF800},
      {"\\broken.bmp", false, 0},
      {"\\missing.bmp", false, 0},
  };
  for (const Case& c : cases) {
    const auto picture = LoadFormPicture(dir + c.name);
    ASSERT_EQ(picture.has_value(), c.found) << c.name;
    if (!picture) continue;
    EXPECT_EQ(picture->KeptWidth, 3) << c.name;
    EXPECT_EQ(picture->KeptHeight, 2) << c.name;
    EXPECT_EQ(picture->Pixels.at(0), c.pixel) << c.name;
  }
}

}  // namespace
}  // namespace tessaru
