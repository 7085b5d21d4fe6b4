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

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
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
      switch (bitCount) {
        case 1: row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<uint8_t>((v & 0xF) << (x % 2 ? 0 : 4)); break;
        case 8: row[x] = static_cast<uint8_t>(v); break;
        case 16:
          row[x * 2] = static_cast<uint8_t>(v);
          row[x * 2 + 1] = static_cast<uint8_t>(v >> 8);
          break;
        case 24:
          row[x * 3] = static_cast<uint8_t>(v);
          row[x * 3 + 1] = static_cast<uint8_t>(v >> 8);
          row[x * 3 + 2] = static_cast<uint8_t>(v >> 16);
          break;
        default:
          for (int i = 0; i < 4; ++i) row[x * 4 + i] = static_cast<uint8_t>(v >> (8 * i));
      }
    }
  }
  return rows;
}

// A whole file: file header, info header, masks, palette, then `pixelData` as given.
// The pixel data offset is where the pixels follow.
inline std::vector<uint8_t> MakeBmp(const BmpLayout& layout, const std::vector<uint8_t>& pixelData) {
  const bool core = layout.HeaderSize == 12;
  const size_t paletteBytes = layout.Palette.size() * (core ? 3 : 4);
  // Headers longer than 40 bytes hold the masks inside, at the same place.
  const bool masksInside = layout.HeaderSize > 40;
  const size_t maskBytes = masksInside ? 0 : layout.Masks.size() * 4;
  const size_t offset = 14 + layout.HeaderSize + maskBytes + paletteBytes;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<uint32_t>(offset + pixelData.size()));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(offset));
  Put32(out, layout.HeaderSize);
  if (core) {
    Put16(out, static_cast<uint32_t>(layout.Width));
    Put16(out, static_cast<uint32_t>(layout.Height));
    Put16(out, 1);
    Put16(out, layout.BitCount);
  } else {
    Put32(out, static_cast<uint32_t>(layout.Width));
    Put32(out, static_cast<uint32_t>(layout.Height));
    Put16(out, 1);
    Put16(out, layout.BitCount);
    Put32(out, layout.Compression);
    Put32(out, static_cast<uint32_t>(pixelData.size()));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, layout.ColorsUsed);
    Put32(out, 0);
    if (masksInside) {
      for (const uint32_t mask : layout.Masks) Put32(out, mask);
    }
    out.resize(14 + layout.HeaderSize, 0);  // the rest of a longer header
  }
  if (!masksInside) {
    for (const uint32_t mask : layout.Masks) Put32(out, mask);
  }
  for (const uint32_t rgb : layout.Palette) {
    out.push_back(static_cast<uint8_t>(rgb));
    out.push_back(static_cast<uint8_t>(rgb >> 8));
    out.push_back(static_cast<uint8_t>(rgb >> 16));
    if (!core) out.push_back(0);
  }
  out.insert(out.end(), pixelData.begin(), pixelData.end());
  return out;
}

// A 24-bit picture whose every pixel is given by rgb(x, y) as 0xRRGGBB.
inline std::vector<uint8_t> MakeBmp24(int32_t width, int32_t height,
                                      const std::function<uint32_t(int, int)>& rgb) {
  BmpLayout layout;
  layout.Width = width;
  layout.Height = height;
  return MakeBmp(layout, EncodeRows(width, height, 24, false, rgb));
}

}  // namespace tessaru::gfxtest
