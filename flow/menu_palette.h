#pragma once
// The colours the menu screens draw their bars, graphs and frames in, so the configuration
// screens and the timing panel read as one family.
#include <cstdint>

#include "graphics/pixel_ops.h"

namespace tessaru::menu_palette {

inline constexpr uint16_t kGround = Rgb565(34, 28, 88);    // behind a bar or a graph
inline constexpr uint16_t kEdge = Rgb565(214, 206, 255);   // frames and outlines
inline constexpr uint16_t kFill = Rgb565(255, 112, 96);    // the filled part of a bar
inline constexpr uint16_t kTop = Rgb565(255, 190, 72);     // the bright cap of a bar

}  // namespace tessaru::menu_palette
