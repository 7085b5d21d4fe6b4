#pragma once
// Frame and window geometry shared by both backends.
namespace tessaru::platform {

struct WindowSize {
  int Width = 0;
  int Height = 0;
};

// The game draws 640x480 or 320x240 frames and nothing else.
inline bool IsSupportedFrameSize(int width, int height) {
  return (width == 640 && height == 480) || (width == 320 && height == 240);
}

// Windowed and full-screen windows start at the frame size; Doubled shows every pixel
// as a 2x2 block.
inline WindowSize WindowSizeFor(int width, int height, bool doubled) {
  return doubled ? WindowSize{width * 2, height * 2} : WindowSize{width, height};
}

}  // namespace tessaru::platform
