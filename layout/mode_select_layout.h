#pragma once
// Where SELECT MODE draws, at 640x480, in the big font's 48-pixel cells.
namespace tessaru::mode_select_layout {

inline constexpr int kTitleX = 16;
inline constexpr int kTitleY = 12;
inline constexpr int kNameX = 88;
inline constexpr int kCursorX = 32;
constexpr int RowY(int row) { return 96 + 60 * row; }
// The page arrows above and below the list, drawn when there is more than one page.
inline constexpr int kArrowX = 44;
inline constexpr int kArrowUpY = 68;
inline constexpr int kArrowDownY = 444;

}  // namespace tessaru::mode_select_layout
