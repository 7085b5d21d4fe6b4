#include "stage/play/sprite_blit.h"

#include <limits>

namespace tessaru {

bool SpriteFits(const GraphLib& graph, SurfaceIndex page, int64_t x, int64_t y, int64_t w, int64_t h) {
  if (page <= BackIndex || page >= graph.SurfaceCount()) return false;
  return w > 0 && h > 0 && x >= 0 && y >= 0 && x + w <= graph.ScreenWidth() && y + h <= graph.ScreenHeight();
}

bool BlitSprite(GraphLib& graph, SurfaceIndex page, int64_t sx, int64_t sy, int64_t w, int64_t h,
                int64_t x, int64_t y, bool keyed) {
  if (!SpriteFits(graph, page, sx, sy, w, h)) return false;
  // A position far off the screen would overflow the blit's 32-bit arithmetic.
  constexpr int64_t kFar = std::numeric_limits<int32_t>::max() / 4;
  if (x < -kFar || x > kFar || y < -kFar || y > kFar) return false;
  graph.BltClip(BackIndex, page, static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(w),
                static_cast<int32_t>(h), static_cast<int32_t>(sx), static_cast<int32_t>(sy), keyed ? 1 : 0);
  return true;
}

}  // namespace tessaru
