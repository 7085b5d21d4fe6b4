#pragma once
// The judgement pictures waiting to be drawn: a ring of 32 entries per player.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/indexed_array.h"

namespace tessaru {

inline constexpr int kJudgeRingSize = 32;
inline constexpr int kStagePlayerSlots = 4;

// The picture of a judgement: 1..4 and 9 just (by combo), 5 early, 6 late, 7 far,
// 8 blank; 0 once it has closed.
enum class JudgeDisplayCode : int16_t {
  DisplayDone = 0,
  DisplayJust1 = 1,
  DisplayJust2 = 2,
  DisplayJust3 = 3,
  DisplayJust4 = 4,
  DisplayEarly = 5,
  DisplayLate = 6,
  DisplayFar = 7,
  DisplayBlank = 8,
  DisplayJust9 = 9,
};
using enum JudgeDisplayCode;

struct JudgeDisplayEntry {
  int16_t Slot = 0;  // lane-page slot of the judged step
  JudgeDisplayCode Code = DisplayDone;
  int16_t ImageIndex = 0;  // picture: the code, except 1 for code 9
  int32_t StartTime = 0;   // ms on the stage clock
};

// Phases of a picture's life, by its age.
enum class JudgePicturePhase { Opening, Holding, Closing, Done };

class JudgeDisplayRing {
 public:
  // Sets the hold time from the song's initial tempo (eight steps).
  explicit JudgeDisplayRing(double bpm = 120.0);

  void Push(int p, int16_t slot, JudgeDisplayCode code, int32_t nowMs);
  // Retires pictures whose closing phase has ended.
  void Update(int32_t nowMs);
  JudgePicturePhase PhaseAt(int32_t ageMs) const;

  const std::array<JudgeDisplayEntry, kJudgeRingSize>& Entries(int p) const {
    return entries_[p];
  }
  int WriteIndex(int p) const { return writeIndex_[p]; }
  int32_t OpeningMs() const { return kOpeningMs; }
  int32_t HoldMs() const { return holdMs_; }

 private:
  static constexpr int32_t kOpeningMs = 117;  // seven frames at 60 Hz
  int32_t holdMs_;
  PerPlayer<std::array<JudgeDisplayEntry, kJudgeRingSize>, kStagePlayerSlots> entries_{};
  PerPlayer<int, kStagePlayerSlots> writeIndex_{};
};

}  // namespace tessaru
