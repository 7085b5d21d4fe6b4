#pragma once
// Where the title screen draws its menu grid, at 640x480.
namespace tessaru::title_layout {

inline constexpr int kColumnX[3] = {48, 240, 432};
inline constexpr int kGridTop = 270;
inline constexpr int kRowHeight = 24;
constexpr int RowY(int row) { return kGridTop + row * kRowHeight; }
// The cursor sits this far left of its label.
inline constexpr int kCursorDX = 24;

}  // namespace tessaru::title_layout
