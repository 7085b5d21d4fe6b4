#include "stage/song_clock.h"

#include <algorithm>

namespace tessaru {

SongClock::SongClock(TrackPosition* track, TickSource& ticks, int32_t bgmOffset)
    : track_(track), ticks_(ticks), bgmOffset_(bgmOffset) {}

void SongClock::Start(int32_t startMs) {
  // Unsigned arithmetic keeps the clock right across the tick counter's wrap.
  origin_ = ticks_.NowMs() - static_cast<uint32_t>(startMs);
  songTime_ = std::max(0, startMs);
  trackEnded_ = false;
}

int32_t SongClock::Read() {
  if (track_ != nullptr && !trackEnded_) {
    if (track_->IsPlaying()) {
      songTime_ = std::max({songTime_, track_->PositionMs() + bgmOffset_, 0});
      return songTime_;
    }
    trackEnded_ = true;
    origin_ = ticks_.NowMs() - static_cast<uint32_t>(track_->LengthMs() + bgmOffset_);
  }
  const auto elapsed = static_cast<int32_t>(ticks_.NowMs() - origin_);
  songTime_ = std::max({songTime_, elapsed, 0});
  return songTime_;
}

}  // namespace tessaru
