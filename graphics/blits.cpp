#include <algorithm>

#include "graphics/clip.h"
#include "graphics/graph_lib.h"

namespace tessaru {

void GraphLib::BltClip(SurfaceIndex dst, SurfaceIndex src, int32_t x, int32_t y, int32_t w,
                       int32_t h, int32_t srcX, int32_t srcY, int32_t useKey) {
  Page* to = Find(dst);
  Page* from = Find(src);
  if (to == nullptr || from == nullptr) return;
  const FastClip c = ClipFast(x, y, w, h, srcX, srcY, screenWidth_, screenHeight_);
  if (c.Empty()) return;
  if (dst == PrimaryIndex && !fullScreen_) {
    // In a window the visible page is addressed where the window is, which in our own
    // frame is always its origin: x and y play no part, and the copy takes no key.
    CopyRect(View(*to), 0, 0, View(*from), c.SrcX, c.SrcY, c.W, c.H, nullptr);
    return;
  }
  const ColorKey* key = (useKey & 1) != 0 ? &from->Key : nullptr;
  CopyRect(View(*to), c.X, c.Y, View(*from), c.SrcX, c.SrcY, c.W, c.H, key);
}

void GraphLib::BltAreaTo(SurfaceIndex dst, SurfaceIndex src, const BltArea& point,
                         const BltArea& area, int32_t useKey) {
  BltClip(dst, src, point.X, point.Y, area.W, area.H, area.X, area.Y, useKey);
}

void GraphLib::BltStretchClip(SurfaceIndex dst, SurfaceIndex src, int32_t dstX, int32_t dstY,
                              int32_t dstW, int32_t dstH, int32_t srcX, int32_t srcY,
                              int32_t srcW, int32_t srcH, int32_t useKey) {
  Page* to = Find(dst);
  Page* from = Find(src);
  if (to == nullptr || from == nullptr) return;
  const StretchClip c = ClipStretch(dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH,
                                    screenWidth_, screenHeight_);
  if (c.Empty()) return;
  const ColorKey* key = (useKey & 1) != 0 ? &from->Key : nullptr;
  StretchRect(View(*to), c.DstX, c.DstY, c.DstW, c.DstH, View(*from), c.SrcX, c.SrcY, c.SrcW,
              c.SrcH, key);
}

void GraphLib::BltStretchArea(SurfaceIndex dst, SurfaceIndex src, const BltArea& dstArea,
                              const BltArea& srcArea, int32_t useKey) {
  BltStretchClip(dst, src, dstArea.X, dstArea.Y, dstArea.W, dstArea.H, srcArea.X, srcArea.Y,
                 srcArea.W, srcArea.H, useKey);
}

void GraphLib::BltPage(SurfaceIndex dst, SurfaceIndex src) {
  BltClip(dst, src, 0, 0, screenWidth_, screenHeight_, 0, 0, 0);
}

void GraphLib::ClearSurface(SurfaceIndex index) {
  Page* page = Find(index);
  if (page == nullptr) return;
  FillRect(View(*page), 0, 0, screenWidth_, screenHeight_, 0);
}

void GraphLib::FillArea(SurfaceIndex index, const BltArea& area, uint16_t colour) {
  Page* page = Find(index);
  if (page == nullptr || area.W <= 0 || area.H <= 0) return;
  const int64_t left = std::max<int64_t>(area.X, 0);
  const int64_t top = std::max<int64_t>(area.Y, 0);
  const int64_t right = std::min<int64_t>(int64_t{area.X} + area.W, screenWidth_);
  const int64_t bottom = std::min<int64_t>(int64_t{area.Y} + area.H, screenHeight_);
  if (right <= left || bottom <= top) return;
  FillRect(View(*page), left, top, right - left, bottom - top, colour);
}

void GraphLib::BltBlend(SurfaceIndex dst, SurfaceIndex src, int32_t x, int32_t y, int32_t w,
                        int32_t h, int32_t srcX, int32_t srcY, double factor,
                        int32_t skipBlack) {
  Page* to = Find(dst);
  Page* from = Find(src);
  if (to == nullptr || from == nullptr) return;
  const FastClip c = ClipFast(x, y, w, h, srcX, srcY, screenWidth_, screenHeight_);
  if (c.Empty()) return;
  BlendRect(View(*to), c.X, c.Y, View(*from), c.SrcX, c.SrcY, c.W, c.H, factor,
            skipBlack == 1);
}

void GraphLib::SetKeyFrom(SurfaceIndex index, int32_t x, int32_t y) {
  Page* page = Find(index);
  // A point off the page has no pixel to take the key from; the key stays as it was.
  if (page == nullptr || x < 0 || y < 0 || x >= screenWidth_ || y >= screenHeight_) return;
  const uint16_t pixel = page->Pixels[static_cast<size_t>(y) * screenWidth_ + x];
  page->Key = ColorKey{pixel, pixel};
  if (index > BackIndex) page->RecordedKey = page->Key;
}

void GraphLib::SetKeyFromCorner(SurfaceIndex index) { SetKeyFrom(index, 0, 0); }

void GraphLib::SetKeyFromPixel(SurfaceIndex index, int32_t x, int32_t y) {
  SetKeyFrom(index, x, y);
}

}  // namespace tessaru
