#include "flow/training/training_menu.h"

#include <algorithm>

#include "core/numbers.h"
#include "stage/play/training_run.h"

namespace tessaru {
namespace {

constexpr int16_t kBarStep = 2;

int16_t Toggled(int16_t v) { return v == 0 ? int16_t{1} : int16_t{0}; }
int16_t RaisedToEven(int v) { return static_cast<int16_t>(v % 2 != 0 ? v + 1 : v); }

// A tempo other than the song's own cannot follow the track, which keeps its own pace.
void ForceBgmOffWhenSped(TrainingState& s) {
  if (s.Speed != 0) s.Bgm = 1;
}

bool ValueKeyHeld(const MenuButtons& b, TrainingKey key) {
  switch (key) {
    case TrainingKey::Up: return b.Side[0].RightHeld || b.Side[1].RightHeld;
    case TrainingKey::Decide: return b.Side[0].DecideHeld || b.Side[1].DecideHeld;
    case TrainingKey::Down: return b.Side[0].LeftHeld || b.Side[1].LeftHeld;
    default: return false;
  }
}

TrainingEvent ActOnValue(TrainingState& s, TrainingKey key, bool furtherHeld) {
  if (key == TrainingKey::Down) {
    LowerTrainingValue(s);
    return TrainingEvent::Changed;
  }
  return RaiseTrainingValue(s, furtherHeld) ? TrainingEvent::SongChanged : TrainingEvent::Changed;
}

}  // namespace

bool RaiseTrainingValue(TrainingState& s, bool furtherHeld) {
  bool songChanged = false;
  switch (s.Row) {
    case kTrainingSong:
      s.Song = static_cast<int16_t>((s.Song + 1) % std::max<int16_t>(s.SongCount, 1));
      songChanged = true;
      break;
    case kTrainingPart: s.Part = static_cast<int16_t>((s.Part + 1) % std::max<int16_t>(s.PartCount, 1)); break;
    case kTrainingStart:
      s.Start = static_cast<int16_t>(s.Start + kBarStep);
      if (s.Start >= s.End) s.Start = 0;
      break;
    case kTrainingEnd:
      s.End = static_cast<int16_t>(s.End + kBarStep);
      if (s.End > s.Bars) s.End = static_cast<int16_t>(s.Start + kBarStep);
      s.End = RaisedToEven(s.End);
      break;
    case kTrainingRepeat: s.Repeat = Toggled(s.Repeat); break;
    case kTrainingBgm: s.Bgm = Toggled(s.Bgm); break;
    case kTrainingAutoplay: s.Autoplay = Toggled(s.Autoplay); break;
    case kTrainingSpeed: {
      const int16_t limit = furtherHeld ? kFastestTrainingSpeed : int16_t{0};
      s.Speed = static_cast<int16_t>(s.Speed + 1);
      if (s.Speed > limit) s.Speed = kSlowestTrainingSpeed;
      break;
    }
    default: break;
  }
  ForceBgmOffWhenSped(s);
  return songChanged;
}

void LowerTrainingValue(TrainingState& s) {
  switch (s.Row) {
    case kTrainingPart: {
      const int16_t count = std::max<int16_t>(s.PartCount, 1);
      s.Part = static_cast<int16_t>((s.Part + count - 1) % count);
      break;
    }
    case kTrainingStart:
      s.Start = static_cast<int16_t>(s.Start - kBarStep);
      if (s.Start < 0) s.Start = static_cast<int16_t>(s.End - kBarStep);
      s.Start = RaisedToEven(s.Start);
      break;
    case kTrainingEnd:
      s.End = static_cast<int16_t>(s.End - kBarStep);
      if (s.End < s.Start + kBarStep) s.End = s.Bars;
      s.End = RaisedToEven(s.End);
      break;
    case kTrainingSpeed:
      s.Speed = static_cast<int16_t>(s.Speed - 1);
      if (s.Speed < kSlowestTrainingSpeed) s.Speed = 0;
      // Back at the song's own tempo the track can play along again.
      s.Bgm = s.Speed == 0 ? int16_t{0} : int16_t{1};
      return;
    case kTrainingRepeat: s.Repeat = Toggled(s.Repeat); break;
    case kTrainingBgm: s.Bgm = Toggled(s.Bgm); break;
    case kTrainingAutoplay: s.Autoplay = Toggled(s.Autoplay); break;
    default: return;  // SONG and the actions do not react to Left
  }
  ForceBgmOffWhenSped(s);
}

void TrainingSongLoaded(TrainingState& s, int16_t bars, int16_t partCount) {
  s.Bars = std::max<int16_t>(bars, 0);
  s.PartCount = std::max<int16_t>(partCount, 1);
  s.Part = std::min<int16_t>(s.Part, static_cast<int16_t>(s.PartCount - 1));
  s.Start = 0;
  s.End = kBarStep;
}

std::string TrainingSpeedText(int16_t speed) {
  return NumberText(int64_t{100 + 5 * speed}) + "%";
}

TrainingEvent UpdateTraining(TrainingState& s, const MenuButtons& b, uint32_t now) {
  if (b.Escape) return TrainingEvent::Quit;
  if (b.F1) return TrainingEvent::Exit;
  if (b.Tab) return TrainingEvent::Play;
  if (b.AnyUp() || b.AnyDown()) {
    s.Row = (s.Row + (b.AnyUp() ? kTrainingRows - 1 : 1)) % kTrainingRows;
    s.HeldKey = TrainingKey::None;
    return TrainingEvent::Moved;
  }
  if (s.Row == kTrainingPlay && b.AnyDecide()) return TrainingEvent::Play;
  if (s.Row == kTrainingExit && b.AnyDecide()) return TrainingEvent::Exit;
  if (s.Row >= kTrainingPlay) return TrainingEvent::None;

  const bool further = b.Side[0].DecideHeld;
  TrainingKey pressed = TrainingKey::None;
  if (b.AnyRight()) pressed = TrainingKey::Up;
  else if (b.AnyDecide()) pressed = TrainingKey::Decide;
  else if (b.AnyLeft() && s.Row != kTrainingSong) pressed = TrainingKey::Down;
  if (pressed != TrainingKey::None) {
    s.HeldKey = pressed;
    s.ArmedMs = now + kTrainingRepeatDelayMs;
    return ActOnValue(s, pressed, further);
  }
  if (s.HeldKey == TrainingKey::None) return TrainingEvent::None;
  if (!ValueKeyHeld(b, s.HeldKey)) {
    s.HeldKey = TrainingKey::None;
    return TrainingEvent::None;
  }
  // Signed: the armed time lies in the future during the first second.
  if (static_cast<int32_t>(now - s.ArmedMs) < static_cast<int32_t>(kTrainingRepeatMs)) return TrainingEvent::None;
  s.ArmedMs = now;
  return ActOnValue(s, s.HeldKey, further);
}

}  // namespace tessaru
