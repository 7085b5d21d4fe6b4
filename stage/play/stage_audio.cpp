#include "stage/play/stage_audio.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"

namespace tessaru {

int32_t VolumeToAttenuation(int32_t volume) {
  const double v = std::clamp(volume, 0, 100);
  return static_cast<int32_t>(RoundHalfEven(500.0 - 500.0 * std::pow(10.0, (100.0 - v) / 100.0)));
}

void SoundLibSink::SetVolume(int16_t slot, int32_t volume) {
  const int32_t total = std::clamp(volume + playerAttenuation_, -10000, 0);
  sound_.SetVolPan(slot, sound_.CachedPan(slot), total, false);
}

void SoundLibSink::SetPan(int16_t slot, int32_t pan) {
  sound_.SetVolPan(slot, pan, sound_.CachedVolume(slot), false);
}

double TrackClock::Sample() {
  exactMs_ = sound_.GetSoundPositionExactMs(slot_);
  return exactMs_;
}

int32_t TrackClock::PositionMs() { return static_cast<int32_t>(std::floor(exactMs_)); }

}  // namespace tessaru
