#pragma once
// An in-memory reader of Windows bitmap files, as the image files of the game are
// stored: 1, 4 and 8 bits with a palette (optionally RLE-compressed), 16 and 32 bits with
// or without bit-field masks, and 24 bits; bottom-up and top-down. Pixels come out in
// RGB565. Nothing in the file is trusted: sizes, offsets and counts are checked against
// the bytes actually there, and a bad file gives an error text instead of a picture.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessaru {

struct DecodedImage {
  // The picture's size as stored.
  int32_t Width = 0;
  int32_t Height = 0;
  // The part kept (the top-left corner, cut at the requested limit), top row first.
  int32_t KeptWidth = 0;
  int32_t KeptHeight = 0;
  std::vector<uint16_t> Pixels;  // KeptWidth x KeptHeight, RGB565
};

// Larger pictures are refused outright; no screen of the game is anywhere near this.
inline constexpr int32_t kMaxBmpDimension = 32768;

// Decodes a bitmap file, keeping at most maxWidth x maxHeight pixels of it. On failure
// returns nothing and, when `error` is given, says why.
std::optional<DecodedImage> DecodeBmp(std::span<const uint8_t> bytes, int32_t maxWidth,
                                      int32_t maxHeight, std::string* error = nullptr);

}  // namespace tessaru
