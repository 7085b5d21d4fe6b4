#pragma once
// Where the stage's sound requests go. The play screen connects it to the sound layer;
// tests use a sink that records the requests. Slots are sound-buffer indices.
#include <cstdint>

namespace tessaru {

class SoundSink {
 public:
  virtual ~SoundSink() = default;
  // Plays the slot once from its start.
  virtual void Play(int16_t slot) = 0;
  virtual void Stop(int16_t slot) = 0;
  // Volume in hundredths of a dB (-10000 silence .. 0); pan -10000 left .. 10000 right.
  virtual void SetVolume(int16_t slot, int32_t volume) = 0;
  virtual void SetPan(int16_t slot, int32_t pan) = 0;
  virtual bool IsPlaying(int16_t slot) = 0;
};

// Swallows every request: a stage without sound.
class NullSoundSink final : public SoundSink {
 public:
  void Play(int16_t) override {}
  void Stop(int16_t) override {}
  void SetVolume(int16_t, int32_t) override {}
  void SetPan(int16_t, int32_t) override {}
  bool IsPlaying(int16_t) override { return false; }
};

}  // namespace tessaru
