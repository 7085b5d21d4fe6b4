#pragma once
// A stage's results as JSON, the same fields wherever they are printed (the content
// tool's stage commands, scripted runs).
#include <nlohmann/json.hpp>
#include <span>

#include "stage/play/stage_context.h"

namespace tessaru {

// A side's hit timing: {"Median", "Spread", "Suggested"}, each null when there is too
// little to say it.
nlohmann::ordered_json TimingJson(std::span<const double> deltas);

// One side's outcome: JudgeCount, StagePoints, TourTotal, StageScore, Gauge, MaxCombo,
// ComboCount, KnockedOut and Timing.
nlohmann::ordered_json OutcomePlayerJson(const StagePlayerOutcome& p);

}  // namespace tessaru
