#pragma once
// Blits of rectangles named by content (animation objects, dance frames). Content is not
// trusted: a page that does not exist or a rectangle that does not lie wholly inside its
// page draws nothing, and the frame goes on.
#include <cstdint>

#include "graphics/graph_lib.h"

namespace tessaru {

bool SpriteFits(const GraphLib& graph, SurfaceIndex page, int64_t x, int64_t y, int64_t w, int64_t h);

// Draws the rectangle (sx, sy, w, h) of page at (x, y) of the back buffer; false when
// it was refused.
bool BlitSprite(GraphLib& graph, SurfaceIndex page, int64_t sx, int64_t sy, int64_t w, int64_t h,
                int64_t x, int64_t y, bool keyed);

}  // namespace tessaru
