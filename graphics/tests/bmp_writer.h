#pragma once
// Builds bitmap files byte by byte for the tests, so every header field can be set to
// exactly the value a case needs (including wrong ones).
#include <cstdint>
#include <functional>
#include <vector>

namespace tessaru::gfxtest {

struct BmpLayout {
  int32_t Width = 0;
  int32_t Height = 0;  // negative: rows stored top first
  uint16_t BitCount = 24;
  uint32_t Compression = 0;
  uint32_t HeaderSize = 40;             // 12 writes the old core header
  std::vector<uint32_t> Palette;        // 0xRRGGBB
  std::vector<uint32_t> Masks;          // written after a 40-byte header when given
  uint32_t ColorsUsed = 0;
};

// Appends the low `bytes` bytes of v, least significant first.
inline void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The stored pixel rows of an uncompressed picture. value(x, y) gives, for the top-down
// row y, a palette index (1, 4, 8 bits), a raw 16- or 32-bit pixel, or 0xRRGGBB (24 bits).
inline std::vector<uint8_t> EncodeRows(int32_t width, int32_t height, uint16_t bitCount,
                                       bool topDown,
                                       const std::function<uint32_t(int, int)>& value) {
  const size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
  std::vector<uint8_t> rows(stride * static_cast<size_t>(height), 0);
  for (int stored = 0; stored < height; ++stored) {
    const int y = topDown ? stored : height - 1 - stored;
    uint8_t* row = rows.data() + stride * static_cast<size_t>(stored);
    for (int x = 0; x < width; ++x) {
      const uint32_t v = value(x, y);
      if (bitCount < 8) {  // leftmost pixel in the high bits
        const int bit = x * bitCount;
        row[bit / 8] |= static_cast<uint8_t>((v & ((1u << bitCount) - 1)) << (8 - bitCount - bit % 8));
      } else {
        for (int i = 0; i < bitCount / 8; ++i) row[x * bitCount / 8 + i] = static_cast<uint8_t>(v >> (8 * i));
      }
    }
  }
  return rows;
}

// A whole file: file header, info header, masks, palette, then `pixelData` as given.
// The pixel data offset is where the pixels follow.
inline std::vector<uint8_t> MakeBmp(const BmpLayout& layout, const std::vector<uint8_t>& pixelData) {
  const bool core = layout.HeaderSize == 12;
  // Headers longer than 40 bytes hold the masks inside, at the same place.
  const bool masksInside = layout.HeaderSize > 40;
  const size_t offset = 14 + layout.HeaderSize + (masksInside ? 0 : layout.Masks.size() * 4) +
                        layout.Palette.size() * (core ? 3 : 4);
  std::vector<uint8_t> out = {'B', 'M'};
  PutLE(out, static_cast<uint32_t>(offset + pixelData.size()), 4);
  PutLE(out, 0, 4);
  PutLE(out, static_cast<uint32_t>(offset), 4);
  PutLE(out, layout.HeaderSize, 4);
  const int sizeBytes = core ? 2 : 4;
  PutLE(out, static_cast<uint32_t>(layout.Width), sizeBytes);
  PutLE(out, static_cast<uint32_t>(layout.Height), sizeBytes);
  PutLE(out, 1, 2);
  PutLE(out, layout.BitCount, 2);
  if (!core) {
    for (const uint32_t v : {layout.Compression, static_cast<uint32_t>(pixelData.size()), 2835u, 2835u,
                             layout.ColorsUsed, 0u}) {
      PutLE(out, v, 4);
    }
  }
  if (masksInside) {
    for (const uint32_t mask : layout.Masks) PutLE(out, mask, 4);
  }
  out.resize(14 + layout.HeaderSize, 0);  // the rest of a longer header
  if (!masksInside) {
    for (const uint32_t mask : layout.Masks) PutLE(out, mask, 4);
  }
  for (const uint32_t rgb : layout.Palette) PutLE(out, rgb, core ? 3 : 4);
  out.insert(out.end(), pixelData.begin(), pixelData.end());
  return out;
}

// A 24-bit picture whose every pixel is given by rgb(x, y) as 0xRRGGBB.
inline std::vector<uint8_t> MakeBmp24(int32_t width, int32_t height,
                                      const std::function<uint32_t(int, int)>& rgb) {
  return MakeBmp({width, height, 24, 0, 40, {}, {}, 0}, EncodeRows(width, height, 24, false, rgb));
}

}  // namespace tessaru::gfxtest
