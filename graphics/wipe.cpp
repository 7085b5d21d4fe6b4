#include <algorithm>

#include "graphics/graph_lib.h"

namespace tessaru {
namespace {

// The wipe is laid out for 640x480 in both modes; at 320x240 the blits' clipping cuts
// the strips.
constexpr int64_t kWipeWidth = 640;
constexpr int64_t kWipeHeight = 480;

}  // namespace

int16_t GraphLib::WipeIn(SurfaceIndex reveal, SurfaceIndex remove) {
  if (!initialized_) return wipeDirection_;
  const uint32_t start = clock_.GetTickCount();
  for (;;) {
    const uint32_t frameStart = clock_.GetTickCount();
    const int64_t e = static_cast<uint32_t>(frameStart - start);  // survives the tick wrap
    if (frameInput_) frameInput_();
    BltPage(BackIndex, reveal);
    if (wipeDirection_ == 0) {
      // Even rows slide left, odd rows slide right.
      const auto d = static_cast<int32_t>(std::min<int64_t>(e * kWipeWidth / kWipeDurationMs, kWipeWidth));
      const auto w = static_cast<int32_t>(kWipeWidth - d);
      for (int32_t y = 0; y < kWipeHeight; y += 2) BltClip(BackIndex, remove, 0, y, w, 1, d, y, 0);
      for (int32_t y = 1; y < kWipeHeight; y += 2) BltClip(BackIndex, remove, d, y, w, 1, 0, y, 0);
    } else {
      // Even columns slide up, odd columns slide down.
      const auto d = static_cast<int32_t>(std::min<int64_t>(e * kWipeHeight / kWipeDurationMs, kWipeHeight));
      const auto h = static_cast<int32_t>(kWipeHeight - d);
      for (int32_t x = 0; x < kWipeWidth; x += 2) BltClip(BackIndex, remove, x, 0, 1, h, x, d, 0);
      for (int32_t x = 1; x < kWipeWidth; x += 2) BltClip(BackIndex, remove, x, d, 1, h, x, 0, 0);
    }
    FlipScreen();
    Pump();
    if (e >= kWipeDurationMs) break;
    // One frame at a time rather than as fast as presents go: the eye sees no more, and
    // the clock must be given the chance to move.
    const uint32_t spent = clock_.GetTickCount() - frameStart;
    if (spent < kWipeFrameMs) clock_.SleepMs(kWipeFrameMs - spent);
  }
  wipeDirection_ = NextParity(wipeDirection_);
  return wipeDirection_;
}

}  // namespace tessaru
