#pragma once
// Rectangle clipping against the screen size. Every surface is screen-sized, so one size
// bounds both the source and the destination. The order of the steps matters: a sprite
// whose source starts left of or above the page is drawn shifted, not cut at the corner.
#include <cstdint>

namespace tessaru {

// A fast blit after clipping: width and height are shared by source and destination.
// Arithmetic is 64-bit so absurd coordinates cannot overflow.
struct FastClip {
  int64_t X = 0;
  int64_t Y = 0;
  int64_t W = 0;
  int64_t H = 0;
  int64_t SrcX = 0;
  int64_t SrcY = 0;
  bool Empty() const { return W <= 0 || H <= 0; }
};

FastClip ClipFast(int32_t x, int32_t y, int32_t w, int32_t h, int32_t srcX, int32_t srcY,
                  int32_t screenWidth, int32_t screenHeight);

// A stretching blit after clipping. The two rectangles are clipped independently, so a
// destination cut at the screen edge squeezes the picture instead of cropping it.
struct StretchClip {
  int64_t DstX = 0;
  int64_t DstY = 0;
  int64_t DstW = 0;
  int64_t DstH = 0;
  int64_t SrcX = 0;
  int64_t SrcY = 0;
  int64_t SrcW = 0;
  int64_t SrcH = 0;
  bool Empty() const { return DstW <= 0 || DstH <= 0 || SrcW <= 0 || SrcH <= 0; }
};

StretchClip ClipStretch(int32_t dstX, int32_t dstY, int32_t dstW, int32_t dstH, int32_t srcX,
                        int32_t srcY, int32_t srcW, int32_t srcH, int32_t screenWidth,
                        int32_t screenHeight);

}  // namespace tessaru
