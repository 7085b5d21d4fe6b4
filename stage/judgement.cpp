#include "stage/judgement.h"

#include <cmath>

#include "stage/tempo_map.h"

namespace tessaru {

Judgement ClassifyDelta(double d, const JudgeWindows& w) {
  if (-w.WinJustEarly <= d && d <= w.WinJustLate) return JudgeJust;
  if (0 < d && d <= w.WinNearLate) return JudgeLate;
  if (-w.WinNearEarly <= d && d < 0) return JudgeEarly;
  if (-w.WinFarEarly <= d && d <= w.WinFarLate) return JudgeFar;
  return JudgeNone;
}

PressCandidate FindPressCandidate(const SongRecord& song, std::span<const int16_t> stepWords,
                                  std::span<const uint8_t> hit, int32_t lastStep, int16_t lane,
                                  double now) {
  PressCandidate best;
  for (int32_t s = lastStep - 2; s <= lastStep + 2; ++s) {
    if (s < 0 || static_cast<size_t>(s) >= stepWords.size()) continue;
    if (stepWords[static_cast<size_t>(s)] != lane) continue;
    if (static_cast<size_t>(s) < hit.size() && hit[static_cast<size_t>(s)] != 0) continue;
    const double d = now - StepToTime(song, s);
    if (best.Step < 0 || std::fabs(d) < std::fabs(best.Delta)) best = {s, d};
  }
  return best;
}

int32_t JudgePoints(Judgement category, int32_t combo, bool endless) {
  switch (category) {
    case JudgeJust:
      if (endless) return combo * 10;
      return combo >= 1 && combo <= 3 ? 200 * combo : 800;
    case JudgeEarly:
    case JudgeLate:
      return endless ? 5 : 100;
    case JudgeFar:
      return endless ? 1 : 10;
    default:
      return 0;
  }
}

JudgeDisplayCode JustDisplayCode(int32_t combo, int16_t judgeStyle) {
  if (combo % 4 == 0) return DisplayJust9;
  if (combo > 4) return judgeStyle == 0 ? DisplayJust9 : DisplayJust1;
  return static_cast<JudgeDisplayCode>(4 - (combo - 1) % 4);
}

}  // namespace tessaru
