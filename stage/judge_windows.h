#pragma once
// The six timing windows (ms) that decide a press's category. They depend on the tempo,
// so the stage recomputes them whenever the tempo under the song position changes.
#include <cstdint>

namespace tessaru {

struct JudgeWindows {
  int32_t WinJustEarly = 25;
  int32_t WinNearEarly = 59;
  int32_t WinFarEarly = 75;
  int32_t WinJustLate = 25;
  int32_t WinNearLate = 59;
  int32_t WinFarLate = 75;
};

// judgeMode and judgeOffset are the JUDGEMODE and JUDGEOFFSET settings; specialFlag is the
// game state's SpecialFlag (1 forces the strict windows of mode 4).
JudgeWindows SetJudgeWindows(double bpm, int16_t judgeMode, int16_t judgeOffset, int16_t specialFlag);

}  // namespace tessaru
