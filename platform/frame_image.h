#pragma once
// Writing an RGB565 frame as an ordinary image file, so a test failure or a tool can show
// what the game drew.
#include <cstdint>
#include <string>
#include <vector>

namespace tessaru::platform {

// 8-bit RGB triples, each channel widened by repeating its top bits (so 0x1F -> 0xFF).
std::vector<uint8_t> Rgb565ToRgb888(const uint16_t* pixels, int width, int height);

// False when the frame is empty or the file cannot be written.
bool WriteRgb565Png(const std::string& path, const uint16_t* pixels, int width, int height);
bool WriteRgb565Bmp(const std::string& path, const uint16_t* pixels, int width, int height);

}  // namespace tessaru::platform
