#include "graphics/pixel_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace tessaru {
namespace {

bool Overlaps(const PageView& a, const PageView& b) { return a.Pixels == b.Pixels; }

// Written as a select over the whole row, not a skipped store, so the compiler copies many
// pixels at once: sprites with a colour key are most of what is drawn. Overlapping copies
// were staged first, so the rows never share memory.
void CopyKeyedRow(uint16_t* __restrict out, const uint16_t* __restrict in, int64_t w, uint16_t low,
                  uint16_t high) {
  for (int64_t col = 0; col < w; ++col) {
    const uint16_t pixel = in[col];
    const bool transparent = pixel >= low && pixel <= high;
    out[col] = transparent ? out[col] : pixel;
  }
}

void CopyRows(const PageView& dst, int64_t dstX, int64_t dstY, const uint16_t* src,
              int64_t srcPitch, int64_t w, int64_t h, const ColorKey* key) {
  for (int64_t row = 0; row < h; ++row) {
    uint16_t* out = dst.Row(dstY + row) + dstX;
    const uint16_t* in = src + row * srcPitch;
    // A key above every 16-bit colour keeps nothing out.
    if (key == nullptr || key->Low > 0xFFFF || key->Low > key->High) {
      std::memmove(out, in, static_cast<size_t>(w) * sizeof(uint16_t));
    } else {
      CopyKeyedRow(out, in, w, static_cast<uint16_t>(key->Low),
                   static_cast<uint16_t>(std::min<uint32_t>(key->High, 0xFFFF)));
    }
  }
}

int64_t RoundToLong(double value) {
  // Halves to even, as the default rounding mode does; absurd factors saturate.
  if (std::isnan(value)) return 0;
  const double limit = static_cast<double>(std::numeric_limits<int32_t>::max());
  value = std::clamp(value, -limit - 1.0, limit);
  return static_cast<int64_t>(std::nearbyint(value));
}

}  // namespace

void CopyRect(const PageView& dst, int64_t dstX, int64_t dstY, const PageView& src,
              int64_t srcX, int64_t srcY, int64_t w, int64_t h, const ColorKey* key) {
  if (w <= 0 || h <= 0) return;
  if (Overlaps(dst, src)) {
    std::vector<uint16_t> staged(static_cast<size_t>(w * h));
    for (int64_t row = 0; row < h; ++row) {
      std::memcpy(staged.data() + row * w, src.Row(srcY + row) + srcX,
                  static_cast<size_t>(w) * sizeof(uint16_t));
    }
    CopyRows(dst, dstX, dstY, staged.data(), w, w, h, key);
    return;
  }
  CopyRows(dst, dstX, dstY, src.Row(srcY) + srcX, src.Pitch, w, h, key);
}

void StretchRect(const PageView& dst, int64_t dstX, int64_t dstY, int64_t dstW, int64_t dstH,
                 const PageView& src, int64_t srcX, int64_t srcY, int64_t srcW, int64_t srcH,
                 const ColorKey* key) {
  if (dstW <= 0 || dstH <= 0 || srcW <= 0 || srcH <= 0) return;
  std::vector<uint16_t> staged;
  const PageView* from = &src;
  PageView copy;
  if (Overlaps(dst, src)) {
    staged.resize(static_cast<size_t>(srcW * srcH));
    for (int64_t row = 0; row < srcH; ++row) {
      std::memcpy(staged.data() + row * srcW, src.Row(srcY + row) + srcX,
                  static_cast<size_t>(srcW) * sizeof(uint16_t));
    }
    copy = PageView{staged.data(), static_cast<int32_t>(srcW), static_cast<int32_t>(srcH),
                    static_cast<int32_t>(srcW)};
    from = &copy;
    srcX = 0;
    srcY = 0;
  }
  std::vector<int64_t> columns(static_cast<size_t>(dstW));
  for (int64_t col = 0; col < dstW; ++col) columns[static_cast<size_t>(col)] = srcX + col * srcW / dstW;
  for (int64_t row = 0; row < dstH; ++row) {
    const uint16_t* in = from->Row(srcY + row * srcH / dstH);
    uint16_t* out = dst.Row(dstY + row) + dstX;
    for (int64_t col = 0; col < dstW; ++col) {
      const uint16_t pixel = in[columns[static_cast<size_t>(col)]];
      if (key == nullptr || !key->Matches(pixel)) out[col] = pixel;
    }
  }
}

uint16_t BlendPixel(uint16_t dst, uint16_t src, double factor) {
  int64_t result = 0;
  for (const uint16_t mask : {kRedMask, kGreenMask, kBlueMask}) {
    const double mixed = (1.0 - factor) * (dst & mask) + factor * (src & mask);
    result += RoundToLong(mixed) & mask;
  }
  return static_cast<uint16_t>(result);
}

void BlendRect(const PageView& dst, int64_t dstX, int64_t dstY, const PageView& src,
               int64_t srcX, int64_t srcY, int64_t w, int64_t h, double factor, bool skipBlack) {
  if (w <= 0 || h <= 0) return;
  // Row by row, top to bottom, as the locked pages are walked; a page blended onto itself
  // therefore reads pixels already written when the rectangles overlap downwards.
  for (int64_t row = 0; row < h; ++row) {
    const uint16_t* in = src.Row(srcY + row) + srcX;
    uint16_t* out = dst.Row(dstY + row) + dstX;
    for (int64_t col = 0; col < w; ++col) {
      const uint16_t s = in[col];
      if (skipBlack && s == 0) continue;
      out[col] = BlendPixel(out[col], s, factor);
    }
  }
}

void FillRect(const PageView& dst, int64_t x, int64_t y, int64_t w, int64_t h, uint16_t value) {
  if (w <= 0 || h <= 0) return;
  for (int64_t row = 0; row < h; ++row) {
    uint16_t* out = dst.Row(y + row) + x;
    std::fill(out, out + w, value);
  }
}

}  // namespace tessaru
