#pragma once
// The timing panel over the free-mode results: one histogram column per side, the
// numbers under it and the keys at the bottom. 640x480, system font (16-pixel cells).
#include "core/blt_area.h"

namespace tessaru::timing_layout {

inline constexpr BltArea kPanel{16, 72, 608, 396};
inline constexpr int kTitleX = 40;
inline constexpr int kTitleY = 84;
// Columns of 1P and 2P, as the results put their numbers.
inline constexpr int kColumnX[2] = {48, 368};
inline constexpr int kSideY = 124;
// The histogram: one bar per 5 ms bin, -150 ms at the left.
inline constexpr int kBinWidth = 4;
inline constexpr int kGraphY = 156;
inline constexpr int kGraphHeight = 112;
inline constexpr int kAxisY = 278;
// The number lines under the histogram, one per 24-pixel row.
inline constexpr int kLinesY = 304;
inline constexpr int kLineHeight = 24;
// The window-edge legend and the key line.
inline constexpr int kLegendY = 406;
inline constexpr int kLegendX[4] = {48, 176, 304, 416};
inline constexpr int kLegendSwatch = 12;
inline constexpr int kKeysY = 434;

}  // namespace tessaru::timing_layout
