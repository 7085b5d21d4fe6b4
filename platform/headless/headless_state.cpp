#include "platform/headless/headless_state.h"

#include <algorithm>
#include <cmath>

#include "platform/frame_image.h"

namespace tessaru::platform {

void HeadlessState::AdvanceMs(double ms) {
  if (!std::isfinite(ms) || ms < 0.0) ms = 0.0;
  const double target = nowMs_ + ms;
  // A mixer that sleeps or advances from inside its callback would recurse without end;
  // its request only moves the clock.
  if (advancing_) {
    nowMs_ = target;
    return;
  }
  advancing_ = true;
  while (audio.IsOpen() && audio.NextDueMs() <= target) {
    nowMs_ = std::max(nowMs_, audio.NextDueMs());
    audio.PullNext();
  }
  advancing_ = false;
  nowMs_ = std::max(nowMs_, target);
  if (clockHook_ && ms > 0.0) clockHook_(nowMs_);
}

void HeadlessState::Pump() {
  if (pumpAdvanceMs_ > 0.0) AdvanceMs(pumpAdvanceMs_);
  input.Pump(nowMs_);
}

void HeadlessState::SetClockMs(double ms) {
  if (!std::isfinite(ms)) return;
  audio.Shift(ms - nowMs_);
  nowMs_ = ms;
}

const std::vector<uint16_t>& HeadlessState::LastFrame(int* width, int* height) const {
  if (width != nullptr) *width = video.FrameWidth();
  if (height != nullptr) *height = video.FrameHeight();
  return video.Frame();
}

bool HeadlessState::SaveLastFramePng(const std::string& path) const {
  return WriteRgb565Png(path, video.Frame().data(), video.FrameWidth(), video.FrameHeight());
}

bool HeadlessState::SaveLastFrameBmp(const std::string& path) const {
  return WriteRgb565Bmp(path, video.Frame().data(), video.FrameWidth(), video.FrameHeight());
}

}  // namespace tessaru::platform
