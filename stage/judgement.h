#pragma once
// Turning one press into a judgement: which chip it strikes and how far off it was.
// The bookkeeping that follows (points, combo, gauge, displays) belongs to the Stage.
#include <cstdint>
#include <span>

#include "content/song_record.h"
#include "stage/judge_windows.h"

namespace tessaru {

// Judgement categories, the index into JudgeCount.
inline constexpr int16_t JudgeJust = 0;
inline constexpr int16_t JudgeEarly = 1;
inline constexpr int16_t JudgeLate = 2;
inline constexpr int16_t JudgeFar = 3;
inline constexpr int16_t JudgeMiss = 4;
inline constexpr int kJudgeCategories = 5;

// Gauge events passed to ApplyGauge.
inline constexpr int16_t GaugeJust = 0;
inline constexpr int16_t GaugeNear = 1;
inline constexpr int16_t GaugeFar = 2;
inline constexpr int16_t GaugeBlank = 3;
inline constexpr int16_t GaugeMiss = 4;
inline constexpr int16_t GaugeBonus = 5;

// Category of a press d ms off its chip (negative = early), tested just, late, early,
// far in that order; -1 when d is outside every window (a blank press).
int16_t ClassifyDelta(double d, const JudgeWindows& w);

struct PressCandidate {
  int32_t Step = -1;  // best candidate chip's step; -1 when no chip qualified
  double Delta = 0;   // press time minus the chip's time
};

// Finds the chip a press of `lane` at song time `now` aims at: the steps lastStep-2 ..
// lastStep+2 whose word is `lane` and that are not hit yet; the smallest |d| wins and the
// earlier step keeps a tie.
PressCandidate FindPressCandidate(const SongRecord& song, std::span<const int16_t> stepWords,
                                  std::span<const uint8_t> hit, int32_t lastStep, int16_t lane,
                                  double now);

// Points for a category. combo is the combo after a just hit has been counted; endless
// selects the endless-run amounts.
int32_t JudgePoints(int16_t category, int32_t combo, bool endless);

// Display code of a just hit at combo n (after counting it): 4, 3, 2 for the first three,
// 9 on every fourth, then 9 or 1 by JUDGESTYLE.
int16_t JustDisplayCode(int32_t combo, int16_t judgeStyle);

}  // namespace tessaru
