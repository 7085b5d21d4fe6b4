#include "platform/frame_image.h"

#include <stb_image_write.h>

namespace tessaru::platform {

std::vector<uint8_t> Rgb565ToRgb888(const uint16_t* pixels, int width, int height) {
  std::vector<uint8_t> rgb;
  if (pixels == nullptr || width <= 0 || height <= 0) return rgb;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  rgb.resize(count * 3);
  for (size_t i = 0; i < count; ++i) {
    const unsigned p = pixels[i];
    const unsigned r = (p >> 11) & 0x1F;
    const unsigned g = (p >> 5) & 0x3F;
    const unsigned b = p & 0x1F;
    rgb[i * 3 + 0] = static_cast<uint8_t>((r << 3) | (r >> 2));
    rgb[i * 3 + 1] = static_cast<uint8_t>((g << 2) | (g >> 4));
    rgb[i * 3 + 2] = static_cast<uint8_t>((b << 3) | (b >> 2));
  }
  return rgb;
}

bool WriteRgb565Png(const std::string& path, const uint16_t* pixels, int width, int height) {
  const std::vector<uint8_t> rgb = Rgb565ToRgb888(pixels, width, height);
  if (rgb.empty()) return false;
  return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}

bool WriteRgb565Bmp(const std::string& path, const uint16_t* pixels, int width, int height) {
  const std::vector<uint8_t> rgb = Rgb565ToRgb888(pixels, width, height);
  if (rgb.empty()) return false;
  return stbi_write_bmp(path.c_str(), width, height, 3, rgb.data()) != 0;
}

}  // namespace tessaru::platform
