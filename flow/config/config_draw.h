#pragma once
// What the four configuration screens draw alike.
#include <cstdint>
#include <string_view>

#include "graphics/graph_lib.h"

namespace tessaru {

// The screen's title and its two help lines (the second says where F1 goes).
void DrawConfigHeader(GraphLib& g, std::string_view title, std::string_view f1Line);
// A volume 0..100 as a filled bar on the row at y.
void DrawVolumeBar(GraphLib& g, int x, int y, int32_t volume);

}  // namespace tessaru
