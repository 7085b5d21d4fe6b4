#pragma once
// The real clock: the performance counter in milliseconds.
#include <memory>

#include "platform/platform.h"
#include "platform/sdl/time_base.h"

namespace tessaru::platform {

class SdlClock final : public Clock {
 public:
  explicit SdlClock(std::shared_ptr<const TimeBase> time) : time_(std::move(time)) {}
  uint32_t GetTickCount() override;
  double NowMs() override { return time_->NowMs(); }
  void SleepMs(uint32_t ms) override;

 private:
  std::shared_ptr<const TimeBase> time_;
};

}  // namespace tessaru::platform
