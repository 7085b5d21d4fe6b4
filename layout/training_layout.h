#pragma once
// Where the training menu puts its title, rows and help lines (640x480).
namespace tessaru::training_layout {

inline constexpr int kTitleX = 8;
inline constexpr int kTitleY = 4;
inline constexpr int kCursorX = 140;
inline constexpr int kLabelX = 164;
inline constexpr int kValueX = 308;
inline constexpr int kFirstRowY = 48;
inline constexpr int kRowHeight = 32;
// Longest value that fits between kValueX and the right edge in 16-pixel letters.
inline constexpr int kValueLetters = 20;
inline constexpr int kHelpX = 16;
inline constexpr int kTabHelpY = 408;
inline constexpr int kF1HelpY = 440;

constexpr int RowY(int row) { return kFirstRowY + kRowHeight * row; }

}  // namespace tessaru::training_layout
