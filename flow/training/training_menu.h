#pragma once
// The training menu: song, part, the section's bars, repeat, background track, speed and
// autoplay, then START or EXIT. Update is pure so the value rules can be tested alone.
#include <cstdint>
#include <string>

#include "flow/menu_input.h"

namespace tessaru {

enum TrainingRow : int {
  kTrainingSong = 0,
  kTrainingPart,
  kTrainingStart,
  kTrainingEnd,
  kTrainingRepeat,
  kTrainingBgm,
  kTrainingSpeed,
  kTrainingAutoplay,
  kTrainingPlay,  // the START action
  kTrainingExit,
  kTrainingRows
};

// A held value key acts again once this long after the press, then at every interval.
inline constexpr uint32_t kTrainingRepeatDelayMs = 1000;
inline constexpr uint32_t kTrainingRepeatMs = 101;

enum class TrainingKey : int8_t { None, Up, Decide, Down };

struct TrainingState {
  int Row = kTrainingSong;
  int16_t Song = 0;        // index into the offered songs
  int16_t SongCount = 1;
  int16_t Part = 0;        // index into the parts the song offers
  int16_t PartCount = 1;
  int16_t Bars = 2;        // the loaded song's length
  int16_t Start = 0;       // first bar, counted from 0
  int16_t End = 2;         // the bar the section stops at
  int16_t Repeat = 0;
  int16_t Bgm = 0;         // non-zero: no background track
  int16_t Speed = 0;       // -9..10
  int16_t Autoplay = 0;
  // The value key that is being held and the moment it was last armed.
  TrainingKey HeldKey = TrainingKey::None;
  uint32_t ArmedMs = 0;
};

enum class TrainingEvent : int8_t {
  None,
  Moved,
  Changed,
  SongChanged,  // load the song of state.Song, then call TrainingSongLoaded
  Play,
  Exit,  // EXIT or F1
  Quit,  // Esc
};

// One pass of the menu at `now` ms (any steadily rising clock). The speed's upper limit
// is 10 only while 1P's decide function is held (the value keys alone keep it at 0).
TrainingEvent UpdateTraining(TrainingState& state, const MenuButtons& buttons, uint32_t now);

// The value-up and value-down rules of the current row. furtherHeld lifts SPEED's upper
// limit from 0 to 10. True when the song changed.
bool RaiseTrainingValue(TrainingState& state, bool furtherHeld);
void LowerTrainingValue(TrainingState& state);

// After a song load: its length and parts, with the section back on its first two bars.
void TrainingSongLoaded(TrainingState& state, int16_t bars, int16_t partCount);

// The SPEED value as the player reads it: the tempo as a percentage ("55%".."150%").
std::string TrainingSpeedText(int16_t speed);

}  // namespace tessaru
