#pragma once
// How early or late a player's judged presses were: the histogram of the results panel,
// the median and spread, and the JUDGEOFFSET that would have centred the median.
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace tessaru {

inline constexpr int kHitHistogramMs = 150;  // the histogram spans -150..+150 ms
inline constexpr int kHitBinMs = 5;
inline constexpr int kHitBins = 2 * kHitHistogramMs / kHitBinMs;
// Fewer presses than this say too little about a player's lag to suggest anything.
inline constexpr int kSuggestMinPresses = 50;

struct HitTiming {
  int Count = 0;
  // Bin i counts -150 + 5i <= d < -145 + 5i; +150 itself falls in the last bin. Presses
  // beyond the span are only counted in Outside (and in the median and spread).
  std::array<int, kHitBins> Bins{};
  int Outside = 0;
  double Median = 0;
  double SpreadLow = 0;   // the 10th percentile
  double SpreadHigh = 0;  // the 90th: the middle 80 % lie between the two
  // The median rounded to whole ms (halves to even): press minus chip times are measured
  // before the offset applies, so this is the offset itself, not a change of it.
  std::optional<int16_t> Suggested;

  double Spread() const { return SpreadHigh - SpreadLow; }
};

// d of every judged press (press minus chip, ms), in any order.
HitTiming SummarizeHitTiming(std::span<const double> deltas);

}  // namespace tessaru
