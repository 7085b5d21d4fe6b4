#include "stage/judge_windows.h"

#include <cmath>

#include "core/numbers.h"

namespace tessaru {
namespace {

int32_t R(double x) { return static_cast<int32_t>(RoundHalfEven(x)); }

}  // namespace

JudgeWindows SetJudgeWindows(double bpm, int16_t judgeMode, int16_t judgeOffset, int16_t specialFlag) {
  if (!(bpm > 0.0) || !std::isfinite(bpm)) bpm = 10.0;
  const double s = 15000.0 / bpm;  // one step
  const double f = 100.0 / 6.0;    // one frame at 60 Hz
  JudgeWindows w;
  auto set = [&w](int32_t je, int32_t ne, int32_t fe, int32_t jl, int32_t nl, int32_t fl) {
    w = {je, ne, fe, jl, nl, fl};
  };
  if (judgeMode == 4 || specialFlag == 1) {
    set(9, 25, 50, 9, 33, R(s - f));
  } else if (judgeMode == 0) {
    if (bpm < 104.0) {
      set(33, 66, 132, 33, 66, 132);
    } else if (bpm >= 180.0) {
      set(25, 50, 100, 41, 85, 160);
    } else {
      set(25, 50, R(s), 33, R(s - f), R(2 * s - f));
    }
  } else if (judgeMode == 1) {
    set(16, 50, R(s), 33, R(s - f), R(2 * s - f));
  } else if (judgeMode == 2) {
    set(16, 16, R(s), 16, R(s - f), R(2 * s - f));
  } else {
    set(25, 50, R(s), 25, R(s - f), R(2 * s - f));
  }
  w.WinJustEarly -= judgeOffset;
  w.WinNearEarly -= judgeOffset;
  w.WinFarEarly -= judgeOffset;
  w.WinJustLate += judgeOffset;
  w.WinNearLate += judgeOffset;
  w.WinFarLate += judgeOffset;
  return w;
}

}  // namespace tessaru
