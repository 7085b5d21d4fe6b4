#pragma once
// The headless audio device: no thread and no sound card. The mixer is called on the
// caller's thread, one device buffer at a time, at the virtual time each buffer falls
// due, so whole-mixer output is exactly repeatable.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/platform.h"

namespace tessaru::platform {

class PulledAudio {
 public:
  // Buffer k falls due at openMs + k * BufferFrames / Rate seconds; the first one at once.
  std::optional<AudioFormat> Open(const AudioFormat& wanted, MixCallback mix, double nowMs);
  void Close();
  bool IsOpen() const { return format_.has_value(); }
  const std::optional<AudioFormat>& Format() const { return format_; }

  // The virtual time at which the next buffer is needed (only while open).
  double NextDueMs() const;
  // Mixes the buffer that is due at NextDueMs(); the caller has set the clock to that time.
  void PullNext();
  // Keeps the cadence across a jump of the clock.
  void Shift(double deltaMs) { openMs_ += deltaMs; }

  void SetAccepts(std::function<bool(const AudioFormat&)> accepts) { accepts_ = std::move(accepts); }
  void Record(bool on) { recording_ = on; }
  const std::vector<int16_t>& Recorded() const { return recorded_; }
  uint64_t MixedFrames() const { return framesMixed_; }

 private:
  std::function<bool(const AudioFormat&)> accepts_;
  std::optional<AudioFormat> format_;
  MixCallback mix_;
  double openMs_ = 0.0;
  uint64_t framesMixed_ = 0;
  bool inMix_ = false;
  bool recording_ = false;
  std::vector<int16_t> buffer_;
  std::vector<int16_t> recorded_;
};

}  // namespace tessaru::platform
