#include "graphics/clip.h"

namespace tessaru {

FastClip ClipFast(int32_t x, int32_t y, int32_t w, int32_t h, int32_t srcX, int32_t srcY,
                  int32_t screenWidth, int32_t screenHeight) {
  FastClip c{x, y, w, h, srcX, srcY};
  const int64_t sw = screenWidth;
  const int64_t sh = screenHeight;
  // The source is cut first and the destination follows it.
  if (c.SrcY < 0) {
    c.H += c.SrcY;
    c.Y -= c.SrcY;
    c.SrcY = 0;
  }
  if (c.SrcX < 0) {
    c.W += c.SrcX;
    c.X -= c.SrcX;
    c.SrcX = 0;
  }
  if (c.SrcX + c.W > sw) c.W -= c.SrcX + c.W - sw;
  if (c.SrcY + c.H > sh) c.H -= c.SrcY + c.H - sh;
  // Then the destination, moving the source along with it.
  if (c.X < 0) {
    c.SrcX -= c.X;
    c.W += c.X;
    c.X = 0;
  }
  if (c.Y < 0) {
    c.SrcY -= c.Y;
    c.H += c.Y;
    c.Y = 0;
  }
  if (c.X + c.W > sw) c.W = sw - c.X;
  if (c.Y + c.H > sh) c.H = sh - c.Y;
  return c;
}

StretchClip ClipStretch(int32_t dstX, int32_t dstY, int32_t dstW, int32_t dstH, int32_t srcX,
                        int32_t srcY, int32_t srcW, int32_t srcH, int32_t screenWidth,
                        int32_t screenHeight) {
  StretchClip c{dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH};
  const int64_t sw = screenWidth;
  const int64_t sh = screenHeight;
  if (c.SrcY < 0) {
    c.SrcH += c.SrcY;
    c.SrcY = 0;
  }
  if (c.SrcX < 0) {
    c.SrcW += c.SrcX;
    c.SrcX = 0;
  }
  if (c.SrcX + c.SrcW > sw) c.SrcW -= c.SrcX + c.SrcW - sw;
  if (c.SrcY + c.SrcH > sh) c.SrcH -= c.SrcY + c.SrcH - sh;
  if (c.DstX < 0) {
    c.DstW += c.DstX;
    c.DstX = 0;
  }
  if (c.DstY < 0) {
    c.DstH += c.DstY;
    c.DstY = 0;
  }
  if (c.DstX + c.DstW > sw) c.DstW -= c.DstX + c.DstW - sw;
  if (c.DstY + c.DstH > sh) c.DstH -= c.DstY + c.DstH - sh;
  return c;
}

}  // namespace tessaru
