#pragma once
// The stage's master clock. While the background track plays, song time follows the
// track's play position (plus the song's BgmOffset) and never runs backwards; once the
// track has stopped, it continues on the tick counter from the track's end; a stage
// without a track runs on the tick counter alone.
#include <cstdint>

namespace tessaru {

// The background track as the clock sees it.
class TrackPosition {
 public:
  virtual ~TrackPosition() = default;
  virtual bool IsPlaying() = 0;
  virtual int32_t PositionMs() = 0;
  virtual int32_t LengthMs() = 0;
};

// The millisecond tick counter (wraps at 2^32 like the system's).
class TickSource {
 public:
  virtual ~TickSource() = default;
  virtual uint32_t NowMs() = 0;
};

class SongClock {
 public:
  // track may be null: the stage then runs on the tick counter.
  SongClock(TrackPosition* track, TickSource& ticks, int32_t bgmOffset);

  // Takes the start tick. startMs lets a stage begin part-way into the song (training
  // starts at its first bar); without a track the clock then starts there.
  void Start(int32_t startMs = 0);
  // The song time for this iteration.
  int32_t Read();
  int32_t SongTime() const { return songTime_; }
  bool OnTickCounter() const { return track_ == nullptr || trackEnded_; }

 private:
  TrackPosition* track_;
  TickSource& ticks_;
  int32_t bgmOffset_;
  uint32_t origin_ = 0;  // tick at which song time was 0
  bool trackEnded_ = false;
  int32_t songTime_ = 0;
};

}  // namespace tessaru
