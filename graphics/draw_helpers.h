#pragma once
// Small shared types of the drawing layer: the surface handle and the rectangle record
// that every sprite table is kept in.
#include <cstdint>

#include "core/blt_area.h"

namespace tessaru {

// Index into the surface pool; the only handle other code holds. -1 means none.
using SurfaceIndex = int32_t;
inline constexpr SurfaceIndex PrimaryIndex = 0;
inline constexpr SurfaceIndex BackIndex = 1;


// Stores the four values in order and hands the same record back.
inline BltArea& SetBltArea(BltArea& area, int32_t x, int32_t y, int32_t w, int32_t h) {
  area.X = x;
  area.Y = y;
  area.W = w;
  area.H = h;
  return area;
}

// 0 -> 1 -> 0 ...: blinking and two-frame animation.
inline int16_t NextParity(int16_t n) { return static_cast<int16_t>((n + 1) & 1); }

}  // namespace tessaru
