#pragma once
// The headless display: presented frames are copied into memory for pixel checks.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tessaru::platform {

class MemoryVideo {
 public:
  bool Open(const VideoConfig& config);
  void Close();
  bool IsOpen() const { return config_.has_value(); }
  bool Present(const uint16_t* pixels, int width, int height, int pitch);
  bool TakeDeviceLost();
  void SetTitle(const std::string& title);
  // Every caption the window has shown, from the first Open on.
  const std::vector<std::string>& Titles() const { return titles_; }
  void InjectDeviceLost();
  const std::string& LastError() const { return error_; }

  const std::optional<VideoConfig>& Config() const { return config_; }
  const std::vector<uint16_t>& Frame() const { return frame_; }
  int FrameWidth() const { return frameWidth_; }
  int FrameHeight() const { return frameHeight_; }
  uint64_t PresentCount() const { return presents_; }

 private:
  std::optional<VideoConfig> config_;
  std::string error_;
  std::vector<std::string> titles_;
  std::vector<uint16_t> frame_;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
  uint64_t presents_ = 0;
  // A lost device fails the next Present and is reported once by TakeDeviceLost; the two
  // are consumed separately so a caller may watch either.
  bool failNextPresent_ = false;
  bool lostUnreported_ = false;
};

}  // namespace tessaru::platform
