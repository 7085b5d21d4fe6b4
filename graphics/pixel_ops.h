#pragma once
// The per-pixel work of the blits over RGB565 pages. Rectangles handed to these functions
// are already clipped to both pages; they do no bounds checks of their own.
#include <cstdint>

namespace tessaru {

// The RGB565 channel masks of every page.
inline constexpr uint16_t kRedMask = 0xF800;
inline constexpr uint16_t kGreenMask = 0x07E0;
inline constexpr uint16_t kBlueMask = 0x001F;

// 8-bit channels to RGB565, dropping the low bits as a 16-bit display does.
constexpr uint16_t Rgb565(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

// A source colour key: pixels from Low to High (inclusive) are not copied.
struct ColorKey {
  uint32_t Low = 0;
  uint32_t High = 0;
  bool Matches(uint16_t pixel) const { return pixel >= Low && pixel <= High; }
};

// A page's pixels; Pitch counts pixels per row.
struct PageView {
  uint16_t* Pixels = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Pitch = 0;
  uint16_t* Row(int64_t y) const { return Pixels + y * Pitch; }
};

// Copies w x h pixels; with a key, pixels matching it are skipped. Overlapping rectangles
// of one page are copied as if through a separate buffer.
void CopyRect(const PageView& dst, int64_t dstX, int64_t dstY, const PageView& src,
              int64_t srcX, int64_t srcY, int64_t w, int64_t h, const ColorKey* key);

// Scales the source rectangle onto the destination rectangle (nearest pixel).
void StretchRect(const PageView& dst, int64_t dstX, int64_t dstY, int64_t dstW, int64_t dstH,
                 const PageView& src, int64_t srcX, int64_t srcY, int64_t srcW, int64_t srcH,
                 const ColorKey* key);

// One blended pixel: per channel mask m, round((1 - factor)(d & m) + factor (s & m)) & m,
// halves to even.
uint16_t BlendPixel(uint16_t dst, uint16_t src, double factor);

// Blends w x h source pixels over the destination; with skipBlack, black source pixels
// leave the destination as it is.
void BlendRect(const PageView& dst, int64_t dstX, int64_t dstY, const PageView& src,
               int64_t srcX, int64_t srcY, int64_t w, int64_t h, double factor, bool skipBlack);

void FillRect(const PageView& dst, int64_t x, int64_t y, int64_t w, int64_t h, uint16_t value);

}  // namespace tessaru
