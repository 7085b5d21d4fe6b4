#pragma once
// The launcher's dialog sizes, shared with the generator that paints the boot menu's
// background picture at exactly the boot menu's client size.
namespace tessaru::launcher_layout {

struct Size {
  int Width;
  int Height;
};

// The boot menu: the notice frame on top, the check box, then the three buttons stacked
// with their explanation labels level with them.
inline constexpr Size kBootClient{420, 300};
inline constexpr int kMargin = 14;
inline constexpr int kNoticeHeight = 112;
inline constexpr int kButtonWidth = 112;
inline constexpr int kButtonHeight = 30;
inline constexpr int kButtonGap = 10;
inline constexpr int kBootButtonsTop = 170;

inline constexpr Size kConvClient{560, 360};
inline constexpr Size kDecWindow{440, 86};
inline constexpr Size kOptionsClient{300, 224};

}  // namespace tessaru::launcher_layout
