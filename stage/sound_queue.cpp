#include "stage/sound_queue.h"

#include <algorithm>

namespace tessaru {
namespace {

// From full volume to silence in 25 ms: quick enough to read as a cut, slow enough
// not to click.
constexpr double kFadePerMs = 400.0;

}  // namespace

bool SoundQueue::Add(int16_t buffer, int16_t muteGroup, int32_t start, int32_t end, int32_t pan,
                     int32_t volume) {
  if (buffer < 0) return false;
  for (int n = 0; n < kSoundQueueSize; ++n) {
    const int i = (last_ + n) % kSoundQueueSize;
    auto& e = entries_[static_cast<size_t>(i)];
    if (e.Buffer >= 0) continue;
    e = {buffer, muteGroup, start, end, pan, std::clamp(volume, kSilence, 0), SoundQueued};
    last_ = i;
    return true;
  }
  return false;
}

int SoundQueue::Used() const {
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                        [](const SoundQueueEntry& e) { return e.Buffer >= 0; }));
}

void SoundQueue::BeginFade(SoundQueueEntry& e, double nowMs, SoundSink& sink) {
  if (panVolCtrl_ >= 2) {
    sink.Stop(e.Buffer);
    e = {};
    return;
  }
  e.State = SoundFading;
  fadeClock_[static_cast<size_t>(&e - entries_.data())] = nowMs;
}

void SoundQueue::Process(int32_t t, double nowMs, SoundSink& sink) {
  // Starts first, so a sound due now cuts its group's older sounds in the same pass.
  for (auto& e : entries_) {
    if (e.Buffer < 0 || e.State != SoundQueued || e.StartTime > t) continue;
    if (panVolCtrl_ < 2) {
      sink.SetPan(e.Buffer, e.Pan);
      sink.SetVolume(e.Buffer, e.Volume);
    }
    sink.Play(e.Buffer);
    e.State = SoundPlaying;
    for (auto& other : entries_) {
      if (&other == &e || other.Buffer < 0 || other.State == SoundQueued) continue;
      if (other.Buffer == e.Buffer) {
        // The buffer restarted for the new entry; the old entry must not fade it.
        other = {};
      } else if (e.MuteGroup != 0 && other.MuteGroup == e.MuteGroup && other.State == SoundPlaying &&
                 other.StartTime < e.StartTime) {
        // Sounds of one chip start together and belong together: only older ones are cut.
        BeginFade(other, nowMs, sink);
      }
    }
  }
  for (auto& e : entries_) {
    if (e.Buffer < 0 || e.State == SoundQueued) continue;
    if (!sink.IsPlaying(e.Buffer)) {
      e = {};
      continue;
    }
    if (e.State == SoundPlaying && t >= e.EndTime) BeginFade(e, nowMs, sink);
    if (e.Buffer < 0 || e.State != SoundFading) continue;
    auto& clock = fadeClock_[static_cast<size_t>(&e - entries_.data())];
    const double drop = std::max(0.0, nowMs - clock) * kFadePerMs;
    clock = nowMs;
    e.Volume = static_cast<int32_t>(std::max<double>(kSilence, e.Volume - drop));
    if (e.Volume <= kSilence) {
      sink.Stop(e.Buffer);
      e = {};
    } else if (drop > 0) {
      sink.SetVolume(e.Buffer, e.Volume);
    }
  }
}

}  // namespace tessaru
