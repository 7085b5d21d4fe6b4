#include "platform/window_icon.h"

#include <stb_image.h>

namespace tessaru::platform {

std::optional<IconPixels> ReadIconPng(const std::string& path) {
  if (path.empty()) return std::nullopt;
  int width = 0;
  int height = 0;
  int channels = 0;
  // Check the size from the header before decoding, so a huge picture is never expanded.
  if (stbi_info(path.c_str(), &width, &height, &channels) == 0 || width != height || width < 16 ||
      width > kMaxIconSize) {
    return std::nullopt;
  }
  stbi_uc* data = stbi_load(path.c_str(), &width, &height, &channels, 4);
  if (data == nullptr) return std::nullopt;
  IconPixels icon;
  icon.Size = width;
  icon.Rgba.assign(data, data + static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  stbi_image_free(data);
  return icon;
}

}  // namespace tessaru::platform
