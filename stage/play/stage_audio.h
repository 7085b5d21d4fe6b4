#pragma once
// The stage's sound and time on the real devices: the sound queue's requests go to the
// sound layer, the background track's play position is the song clock, and the volume
// settings become attenuations.
#include <cstdint>

#include "platform/platform.h"
#include "sound/sound_lib.h"
#include "stage/song_clock.h"
#include "stage/sound_sink.h"

namespace tessaru {

// A volume setting 0..100 as attenuation in hundredths of a dB: 500 - 500 * 10^((100 -
// v) / 100), rounded; 100 gives 0 and 0 gives -4500.
int32_t VolumeToAttenuation(int32_t volume);

// Plays the queue's requests through the sound layer. Every volume the queue sets is
// lowered further by the player volume (PLAYERVOLUME as an attenuation).
class SoundLibSink final : public SoundSink {
 public:
  SoundLibSink(SoundLib& sound, int32_t playerAttenuation)
      : sound_(sound), playerAttenuation_(playerAttenuation) {}
  void Play(int16_t slot) override { sound_.PlaySound(slot, true, false); }
  void Stop(int16_t slot) override { sound_.StopSound(slot); }
  void SetVolume(int16_t slot, int32_t volume) override;
  void SetPan(int16_t slot, int32_t pan) override;
  bool IsPlaying(int16_t slot) override { return sound_.GetSoundStatus(slot) != kSoundStopped; }

 private:
  SoundLib& sound_;
  int32_t playerAttenuation_;
};

// The background track as the song clock reads it. Sample() takes one reading per loop
// iteration, so the whole-millisecond clock and the fractional time used for presses
// agree.
class TrackClock final : public TrackPosition {
 public:
  TrackClock(SoundLib& sound, SoundSlot slot) : sound_(sound), slot_(slot) {}
  double Sample();
  double LastExactMs() const { return exactMs_; }
  bool IsPlaying() override { return sound_.GetSoundStatus(slot_) != kSoundStopped; }
  int32_t PositionMs() override;
  int32_t LengthMs() override { return sound_.GetSoundLengthMs(slot_); }

 private:
  SoundLib& sound_;
  SoundSlot slot_;
  double exactMs_ = 0;
};

class PlatformTicks final : public TickSource {
 public:
  explicit PlatformTicks(platform::Clock& clock) : clock_(clock) {}
  uint32_t NowMs() override { return clock_.GetTickCount(); }

 private:
  platform::Clock& clock_;
};

}  // namespace tessaru
