#include "platform/headless/pulled_audio.h"

#include <algorithm>

namespace tessaru::platform {
namespace {

constexpr int kMaxBufferFrames = 1 << 16;

}  // namespace

std::optional<AudioFormat> PulledAudio::Open(const AudioFormat& wanted, MixCallback mix,
                                             double nowMs) {
  Close();
  if (!mix) return std::nullopt;
  if (wanted.Rate < 8000 || wanted.Rate > 192000) return std::nullopt;
  if (wanted.Bits != 8 && wanted.Bits != 16) return std::nullopt;
  AudioFormat granted = wanted;
  // The mixer contract is interleaved stereo whatever the caller asked for.
  granted.Channels = 2;
  if (granted.BufferFrames <= 0) granted.BufferFrames = 512;
  granted.BufferFrames = std::min(granted.BufferFrames, kMaxBufferFrames);
  if (accepts_ && !accepts_(granted)) return std::nullopt;

  format_ = granted;
  mix_ = std::move(mix);
  openMs_ = nowMs;
  framesMixed_ = 0;
  buffer_.assign(static_cast<size_t>(granted.BufferFrames) * 2, 0);
  recorded_.clear();
  return format_;
}

void PulledAudio::Close() {
  format_.reset();
  // A mixer that closes the device from inside its own callback must not be destroyed
  // while it runs; PullNext drops it afterwards.
  if (!inMix_) mix_ = nullptr;
}

double PulledAudio::NextDueMs() const {
  if (!format_) return 0.0;
  return openMs_ + static_cast<double>(framesMixed_) * 1000.0 / format_->Rate;
}

void PulledAudio::PullNext() {
  if (!format_ || !mix_) return;
  const double due = NextDueMs();
  const int frames = format_->BufferFrames;
  std::fill(buffer_.begin(), buffer_.end(), int16_t{0});
  inMix_ = true;
  mix_(buffer_.data(), frames, due);
  inMix_ = false;
  if (!format_) {
    mix_ = nullptr;
    return;
  }
  framesMixed_ += static_cast<uint64_t>(frames);
  if (recording_) recorded_.insert(recorded_.end(), buffer_.begin(), buffer_.end());
}

}  // namespace tessaru::platform
