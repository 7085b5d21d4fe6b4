#pragma once
// Turning one press into a judgement: which chip it strikes and how far off it was.
// The bookkeeping that follows (points, combo, gauge, displays) belongs to the Stage.
#include <cstdint>
#include <span>

#include "content/song_record.h"
#include "core/indexed_array.h"
#include "stage/judge_display.h"
#include "stage/judge_windows.h"

namespace tessaru {

// Judgement categories, the index into JudgeCount; JudgeNone: outside every window.
enum class Judgement : int16_t { JudgeNone = -1, JudgeJust, JudgeEarly, JudgeLate, JudgeFar, JudgeMiss };
using enum Judgement;
inline constexpr int kJudgeCategories = 5;
using JudgeCounts = IndexedArray<int16_t, Judgement, kJudgeCategories>;

// Gauge events passed to ApplyGauge.
enum class GaugeEvent : int16_t { GaugeJust, GaugeNear, GaugeFar, GaugeBlank, GaugeMiss, GaugeBonus };
using enum GaugeEvent;


// Category of a press d ms off its chip (negative = early), tested just, late, early,
// far in that order; JudgeNone when d is outside every window (a blank press).
Judgement ClassifyDelta(double d, const JudgeWindows& w);

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
int32_t JudgePoints(Judgement category, int32_t combo, bool endless);

// Display code of a just hit at combo n (after counting it): 4, 3, 2 for the first three,
// 9 on every fourth, then 9 or 1 by JUDGESTYLE.
JudgeDisplayCode JustDisplayCode(int32_t combo, int16_t judgeStyle);

}  // namespace tessaru
