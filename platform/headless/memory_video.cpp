#include "platform/headless/memory_video.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "platform/video_modes.h"

namespace tessaru::platform {

void MemoryVideo::SetTitle(const std::string& title) {
  if (!config_) return;
  config_->Title = title;
  if (titles_.empty() || titles_.back() != title) titles_.push_back(title);
}

bool MemoryVideo::Open(const VideoConfig& config) {
  Close();
  if (!IsSupportedFrameSize(config.Width, config.Height)) {
    error_ = "unsupported frame size";
    return false;
  }
  error_.clear();
  config_ = config;
  if (titles_.empty() || titles_.back() != config.Title) titles_.push_back(config.Title);
  failNextPresent_ = false;
  lostUnreported_ = false;
  return true;
}

void MemoryVideo::Close() { config_.reset(); }

bool MemoryVideo::Present(const uint16_t* pixels, int width, int height, int pitch) {
  if (!config_ || pixels == nullptr) return false;
  if (width != config_->Width || height != config_->Height || pitch < width) return false;
  if (failNextPresent_) {
    failNextPresent_ = false;
    return false;
  }
  frame_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const uint16_t* row = pixels + static_cast<ptrdiff_t>(y) * pitch;
    std::copy(row, row + width, frame_.begin() + static_cast<ptrdiff_t>(y) * width);
  }
  frameWidth_ = width;
  frameHeight_ = height;
  ++presents_;
  return true;
}

bool MemoryVideo::TakeDeviceLost() { return std::exchange(lostUnreported_, false); }

void MemoryVideo::InjectDeviceLost() {
  failNextPresent_ = true;
  lostUnreported_ = true;
}

}  // namespace tessaru::platform
