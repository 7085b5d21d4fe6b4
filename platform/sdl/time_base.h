#pragma once
// The one time scale of the real backend: milliseconds of the performance counter since
// the platform was created. The clock, the audio callback and the key stamps all use it.
#include <cstdint>

namespace tessaru::platform {

class TimeBase {
 public:
  TimeBase();
  double ToMs(uint64_t counter) const {
    return static_cast<double>(static_cast<int64_t>(counter - origin_)) * msPerCount_;
  }
  double NowMs() const;

 private:
  uint64_t origin_;
  double msPerCount_;
};

// CLOCK_MONOTONIC in milliseconds: the scale of the X server's event times.
double MonotonicMs();

}  // namespace tessaru::platform
