#pragma once
// Chip sounds waiting to start, playing, or fading out. Times are ticks of the
// background clock (BgTick), so every sound of a step starts together.
#include <array>
#include <climits>
#include <cstdint>

#include "stage/sound_sink.h"

namespace tessaru {

inline constexpr int kSoundQueueSize = 512;
inline constexpr int32_t kSilence = -10000;

enum class QueuedSoundState : int16_t { SoundQueued, SoundPlaying, SoundFading };
using enum QueuedSoundState;

struct SoundQueueEntry {
  int16_t Buffer = -1;     // sound slot; -1 = free entry
  int16_t MuteGroup = 0;   // 0 = none; else lane + 1: a new sound cuts the lane's last one
  int32_t StartTime = 0;   // BgTick at which it starts
  int32_t EndTime = 0;     // BgTick at which it fades out
  int32_t Pan = 0;
  int32_t Volume = 0;
  QueuedSoundState State = SoundQueued;
};

// A chip without a length (ChipTicks 0 or less) plays until its buffer stops by itself.
inline constexpr int32_t kNoEndTime = INT32_MAX;

class SoundQueue {
 public:
  // panVolCtrl is SNDPANVOLCTRL: below 2 pan and volume are applied and cut-offs fade;
  // from 2 on the buffers keep their own volume, so a cut-off stops at once.
  explicit SoundQueue(int16_t panVolCtrl = 0) : panVolCtrl_(panVolCtrl) {}

  // Queues a sound; false when all entries are taken (the sound is dropped).
  bool Add(int16_t buffer, int16_t muteGroup, int32_t start, int32_t end, int32_t pan, int32_t volume);
  // Starts, fades and frees entries at background tick t; nowMs paces the fades.
  void Process(int32_t t, double nowMs, SoundSink& sink);
  void Clear() { entries_.fill({}); last_ = 0; }

  const std::array<SoundQueueEntry, kSoundQueueSize>& Entries() const { return entries_; }
  int Used() const;

 private:
  void BeginFade(SoundQueueEntry& e, double nowMs, SoundSink& sink);

  std::array<SoundQueueEntry, kSoundQueueSize> entries_{};
  std::array<double, kSoundQueueSize> fadeClock_{};
  int last_ = 0;
  int16_t panVolCtrl_;
};

}  // namespace tessaru
