#include "flow/song_select.h"

namespace tessaru {

int SongCarousel::Move(uint32_t now, int delta) {
  if (count_ <= 0) return 0;
  cursor_ = ((cursor_ + delta) % count_ + count_) % count_;
  lastMove_ = now;
  direction_ = delta;
  return delta;
}

int SongCarousel::Step(uint32_t now, bool leftPressed, bool rightPressed, bool leftHeld, bool rightHeld) {
  if (rightPressed) return Move(now, 1);
  if (leftPressed) return Move(now, -1);
  if (ScrollDirection(now) != 0 || now - lastMove_ < kRepeatDelayMs) return 0;
  if (rightHeld) return Move(now, 1);
  if (leftHeld) return Move(now, -1);
  return 0;
}

int SongCarousel::ScrollDirection(uint32_t now) const {
  return direction_ != 0 && now - lastMove_ < kScrollMs ? direction_ : 0;
}

double SongCarousel::ScrollProgress(uint32_t now) const {
  if (ScrollDirection(now) == 0) return 1.0;
  return static_cast<double>(now - lastMove_) / kScrollMs;
}

int InitialSongCursor(int count, int previous, TitleCode menuChoice) {
  if (menuChoice == TitleCode::TutorialStages || count <= 1) return 0;
  return previous >= 0 && previous < count ? previous : 0;
}

}  // namespace tessaru
