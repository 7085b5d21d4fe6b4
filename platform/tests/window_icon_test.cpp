#include "platform/window_icon.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tessaru::platform {
namespace {

std::string WritePng(const std::string& name, int width, int height) {
  const std::string path = std::string(TESSARU_SCRATCH) + "/" + name;
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4, 0);
  for (size_t i = 0; i < rgba.size(); i += 4) rgba[i] = 200, rgba[i + 3] = 255;
  rgba[3] = 0;  // the top-left corner is transparent
  stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4);
  return path;
}

TEST(WindowIcon, OnlyASaneSquarePictureIsTaken) {
  const std::string good = WritePng("icon48.png", 48, 48);
  const std::optional<IconPixels> icon = ReadIconPng(good);
  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(icon->Size, 48);
  ASSERT_EQ(icon->Rgba.size(), 48u * 48u * 4u);
  EXPECT_EQ(icon->Rgba[0], 200);
  EXPECT_EQ(icon->Rgba[3], 0);
  EXPECT_EQ(icon->Rgba[7], 255);

  std::ifstream in(good, std::ios::binary);
  std::stringstream whole;
  whole << in.rdbuf();
  const std::string bytes = whole.str();
  const std::string truncated = std::string(TESSARU_SCRATCH) + "/truncated.png";
  std::ofstream(truncated, std::ios::binary) << bytes.substr(0, bytes.size() / 2);

  const std::string refused[] = {WritePng("wide.png", 48, 32), WritePng("tiny.png", 8, 8),
                                 WritePng("huge.png", kMaxIconSize * 2, kMaxIconSize * 2), truncated,
                                 std::string(TESSARU_SCRATCH) + "/missing.png", ""};
  for (const std::string& path : refused) EXPECT_FALSE(ReadIconPng(path).has_value()) << path;
}

}  // namespace
}  // namespace tessaru::platform
