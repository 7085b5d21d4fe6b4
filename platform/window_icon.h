#pragma once
// The window icon, read from a PNG. Only a sane square picture is taken: an icon file is
// decoration, so anything else is simply not shown.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaru::platform {

struct IconPixels {
  int Size = 0;                // width and height
  std::vector<uint8_t> Rgba;   // Size * Size * 4 bytes, rows top to bottom
};

inline constexpr int kMaxIconSize = 512;

std::optional<IconPixels> ReadIconPng(const std::string& path);

}  // namespace tessaru::platform
