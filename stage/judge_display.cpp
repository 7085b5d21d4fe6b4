#include "stage/judge_display.h"

#include <cmath>

#include "core/numbers.h"

namespace tessaru {

JudgeDisplayRing::JudgeDisplayRing(double bpm)
    : holdMs_(static_cast<int32_t>(RoundHalfEven(15000.0 / (bpm > 0 ? bpm : 120.0) * 8))) {}

void JudgeDisplayRing::Push(int p, int16_t slot, JudgeDisplayCode code, int32_t nowMs) {
  if (p < 0 || p >= kStagePlayerSlots) return;
  auto& index = writeIndex_[p];
  entries_[p][static_cast<size_t>(index)] = {
      slot, code, static_cast<int16_t>(code == DisplayJust9 ? 1 : static_cast<int16_t>(code)), nowMs};
  index = (index + 1) % kJudgeRingSize;
}

JudgePicturePhase JudgeDisplayRing::PhaseAt(int32_t ageMs) const {
  if (ageMs < kOpeningMs) return JudgePicturePhase::Opening;
  if (ageMs < kOpeningMs + holdMs_) return JudgePicturePhase::Holding;
  if (ageMs < 2 * kOpeningMs + holdMs_) return JudgePicturePhase::Closing;
  return JudgePicturePhase::Done;
}

void JudgeDisplayRing::Update(int32_t nowMs) {
  for (auto& ring : entries_) {
    for (auto& e : ring) {
      if (e.Code != DisplayDone && PhaseAt(nowMs - e.StartTime) == JudgePicturePhase::Done) e.Code = DisplayDone;
    }
  }
}

}  // namespace tessaru
