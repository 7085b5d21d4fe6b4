#include "graphics/bmp_decode.h"

#include <algorithm>
#include <array>
#include <bit>

#include "graphics/pixel_ops.h"

namespace tessaru {
namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;

uint16_t U16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t LoadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint32_t U32(std::span<const uint8_t> b, size_t at) { return LoadU32(b.data() + at); }

// One channel described by a bit mask, widened to 8 bits by repeating its bits (so a
// 5-bit channel maps 31 to 255 and survives the trip back to RGB565 unchanged).
struct Channel {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;

  explicit Channel(uint32_t mask) : Mask(mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Bits = static_cast<int>(std::bit_width(mask >> Shift));
  }
  uint8_t Extract(uint32_t pixel) const {
    if (Bits == 0) return 0;
    const uint32_t value = (pixel & Mask) >> Shift;
    if (Bits >= 8) return static_cast<uint8_t>(value >> (Bits - 8));
    uint32_t wide = 0;
    int filled = 0;
    while (filled < 8) {
      wide = (wide << Bits) | value;
      filled += Bits;
    }
    return static_cast<uint8_t>(wide >> (filled - 8));
  }
};

struct Header {
  int32_t Width = 0;
  int32_t Height = 0;  // always positive here; TopDown says which row comes first
  bool TopDown = false;
  uint16_t BitCount = 0;
  uint32_t Compression = kBiRgb;
  uint32_t ColorsUsed = 0;
  uint32_t HeaderSize = 0;
  std::array<uint32_t, 3> Masks{};  // red, green, blue
};

class Decoder {
 public:
  Decoder(std::span<const uint8_t> bytes, int32_t maxWidth, int32_t maxHeight)
      : bytes_(bytes), maxWidth_(std::max(0, maxWidth)), maxHeight_(std::max(0, maxHeight)) {}

  std::optional<DecodedImage> Run(std::string* error) {
    const bool ok = ReadHeader() && ReadPalette() && ReadPixels();
    if (!ok) {
      if (error != nullptr) *error = error_;
      return std::nullopt;
    }
    return std::move(image_);
  }

 private:
  bool Fail(const char* why) {
    error_ = why;
    return false;
  }

  bool ReadHeader() {
    if (bytes_.size() < kFileHeaderSize + 4) return Fail("file too short for a bitmap header");
    if (bytes_[0] != 'B' || bytes_[1] != 'M') return Fail("not a bitmap file (no \"BM\")");
    dataOffset_ = U32(bytes_, 10);
    h_.HeaderSize = U32(bytes_, kFileHeaderSize);
    if (h_.HeaderSize != kCoreHeaderSize && h_.HeaderSize < kInfoHeaderSize) {
      return Fail("unknown bitmap header size");
    }
    if (h_.HeaderSize > bytes_.size() - kFileHeaderSize) return Fail("bitmap header cut short");
    const size_t at = kFileHeaderSize;
    int64_t height = 0;
    if (h_.HeaderSize == kCoreHeaderSize) {
      h_.Width = U16(bytes_, at + 4);
      height = U16(bytes_, at + 6);
      h_.BitCount = U16(bytes_, at + 10);
    } else {
      h_.Width = static_cast<int32_t>(U32(bytes_, at + 4));
      height = static_cast<int32_t>(U32(bytes_, at + 8));
      h_.BitCount = U16(bytes_, at + 14);
      h_.Compression = U32(bytes_, at + 16);
      h_.ColorsUsed = U32(bytes_, at + 32);
    }
    if (height < 0) {
      h_.TopDown = true;
      height = -height;
    }
    if (h_.Width <= 0 || height <= 0) return Fail("bitmap has no pixels");
    if (h_.Width > kMaxBmpDimension || height > kMaxBmpDimension) return Fail("bitmap too large");
    h_.Height = static_cast<int32_t>(height);
    switch (h_.BitCount) {
      case 1: case 4: case 8: case 16: case 24: case 32: break;
      default: return Fail("unsupported bits per pixel");
    }
    return ReadCompression();
  }

  bool ReadCompression() {
    switch (h_.Compression) {
      case kBiRgb:
        if (h_.BitCount == 16) h_.Masks = {0x7C00, 0x03E0, 0x001F};
        if (h_.BitCount == 24 || h_.BitCount == 32) h_.Masks = {0xFF0000, 0x00FF00, 0x0000FF};
        return true;
      case kBiRle8:
      case kBiRle4:
        if (h_.BitCount != (h_.Compression == kBiRle8 ? 8 : 4)) {
          return Fail("RLE compression does not match bits per pixel");
        }
        if (h_.TopDown) return Fail("RLE bitmap cannot be top-down");
        return true;
      case kBiBitfields:
      case kBiAlphaBitfields: {
        if (h_.BitCount != 16 && h_.BitCount != 32) return Fail("bit fields need 16 or 32 bits");
        // A plain info header is followed by the masks; later headers hold them inside.
        const size_t masksAt = kFileHeaderSize + kInfoHeaderSize;
        if (bytes_.size() < masksAt + 12) return Fail("bit-field masks cut short");
        h_.Masks = {U32(bytes_, masksAt), U32(bytes_, masksAt + 4), U32(bytes_, masksAt + 8)};
        return true;
      }
      default:
        return Fail("unsupported compression");
    }
  }

  bool ReadPalette() {
    if (h_.BitCount > 8) return true;
    const size_t entries = size_t{1} << h_.BitCount;
    size_t count = h_.ColorsUsed == 0 ? entries : std::min<size_t>(h_.ColorsUsed, entries);
    const size_t entrySize = h_.HeaderSize == kCoreHeaderSize ? 3 : 4;
    const size_t at = kFileHeaderSize + h_.HeaderSize;
    // Writers often store a short palette and say nothing: it ends where the pixels begin.
    if (dataOffset_ >= at) count = std::min<size_t>(count, (dataOffset_ - at) / entrySize);
    if (bytes_.size() - at < count * entrySize) return Fail("palette cut short");
    palette_.assign(entries, 0);  // indices past the stored palette read as black
    for (size_t i = 0; i < count; ++i) {
      const size_t e = at + i * entrySize;
      palette_[i] = Rgb565(bytes_[e + 2], bytes_[e + 1], bytes_[e]);
    }
    return true;
  }

  bool ReadPixels() {
    if (dataOffset_ >= bytes_.size()) return Fail("pixel data offset past the end of the file");
    image_.Width = h_.Width;
    image_.Height = h_.Height;
    image_.KeptWidth = std::min(h_.Width, maxWidth_);
    image_.KeptHeight = std::min(h_.Height, maxHeight_);
    image_.Pixels.assign(static_cast<size_t>(image_.KeptWidth) * image_.KeptHeight, 0);
    const auto data = bytes_.subspan(dataOffset_);
    if (h_.Compression == kBiRle8 || h_.Compression == kBiRle4) return ReadRle(data);
    return ReadRows(data);
  }

  // The kept image row for a stored row, or -1 when the row is cut away.
  int64_t KeptRow(int64_t storedRow) const {
    const int64_t top = h_.TopDown ? storedRow : h_.Height - 1 - storedRow;
    return top < image_.KeptHeight ? top : -1;
  }

  bool ReadRows(std::span<const uint8_t> data) {
    const int64_t stride = (static_cast<int64_t>(h_.Width) * h_.BitCount + 31) / 32 * 4;
    if (static_cast<int64_t>(data.size()) < stride * h_.Height) return Fail("pixel data cut short");
    const Channel red(h_.Masks[0]), green(h_.Masks[1]), blue(h_.Masks[2]);
    for (int64_t stored = 0; stored < h_.Height; ++stored) {
      const int64_t y = KeptRow(stored);
      if (y < 0) continue;
      const uint8_t* row = data.data() + stored * stride;
      uint16_t* out = image_.Pixels.data() + y * image_.KeptWidth;
      for (int64_t x = 0; x < image_.KeptWidth; ++x) {
        switch (h_.BitCount) {
          case 1: out[x] = palette_[(row[x >> 3] >> (7 - (x & 7))) & 1]; break;
          case 4: out[x] = palette_[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]; break;
          case 8: out[x] = palette_[row[x]]; break;
          case 24: out[x] = Rgb565(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]); break;
          default: {
            const uint32_t p = h_.BitCount == 16
                                   ? static_cast<uint32_t>(row[x * 2] | (row[x * 2 + 1] << 8))
                                   : LoadU32(row + x * 4);
            out[x] = Rgb565(red.Extract(p), green.Extract(p), blue.Extract(p));
          }
        }
      }
    }
    return true;
  }

  void PutIndex(int64_t x, int64_t storedRow, uint8_t index) {
    if (x >= image_.KeptWidth) return;
    const int64_t y = KeptRow(storedRow);
    if (y < 0) return;
    image_.Pixels[static_cast<size_t>(y * image_.KeptWidth + x)] = palette_[index];
  }

  // Run-length data: every code takes at least two bytes, so the walk always ends.
  // Pixels the codes skip stay black.
  bool ReadRle(std::span<const uint8_t> data) {
    const bool four = h_.Compression == kBiRle4;
    size_t at = 0;
    int64_t x = 0;
    int64_t row = 0;
    while (at + 2 <= data.size() && row < h_.Height) {
      const uint8_t count = data[at];
      const uint8_t value = data[at + 1];
      at += 2;
      if (count > 0) {
        for (int64_t i = 0; i < count; ++i) {
          const uint8_t index = four ? static_cast<uint8_t>((i & 1) ? value & 0xF : value >> 4) : value;
          PutIndex(x++, row, index);
        }
        continue;
      }
      if (value == 0) {  // end of line
        x = 0;
        ++row;
      } else if (value == 1) {  // end of bitmap
        return true;
      } else if (value == 2) {  // move right and up
        if (at + 2 > data.size()) return Fail("RLE move cut short");
        x += data[at];
        row += data[at + 1];
        at += 2;
      } else {  // a literal run, padded to a whole 16-bit word
        const size_t bytes = four ? (value + 1u) / 2u : value;
        const size_t padded = (bytes + 1u) & ~size_t{1};
        if (data.size() - at < bytes) return Fail("RLE literal run cut short");
        for (int64_t i = 0; i < value; ++i) {
          const uint8_t b = data[at + static_cast<size_t>(four ? i / 2 : i)];
          const uint8_t index = four ? static_cast<uint8_t>((i & 1) ? b & 0xF : b >> 4) : b;
          PutIndex(x++, row, index);
        }
        at += std::min(padded, data.size() - at);
      }
    }
    // Data that ends without its end-of-bitmap code keeps what was drawn.
    return true;
  }

  std::span<const uint8_t> bytes_;
  int32_t maxWidth_;
  int32_t maxHeight_;
  uint32_t dataOffset_ = 0;
  Header h_;
  std::vector<uint16_t> palette_;
  DecodedImage image_;
  std::string error_;
};

}  // namespace

std::optional<DecodedImage> DecodeBmp(std::span<const uint8_t> bytes, int32_t maxWidth,
                                      int32_t maxHeight, std::string* error) {
  return Decoder(bytes, maxWidth, maxHeight).Run(error);
}

}  // namespace tessaru
