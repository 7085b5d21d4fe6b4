#include "stage/hit_timing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "core/numbers.h"

namespace tessaru {
namespace {

// Linear interpolation between the two nearest ranks of a sorted list.
double Percentile(const std::vector<double>& sorted, double fraction) {
  const double rank = fraction * static_cast<double>(sorted.size() - 1);
  const size_t below = static_cast<size_t>(std::floor(rank));
  const size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (sorted[above] - sorted[below]) * (rank - static_cast<double>(below));
}

}  // namespace

HitTiming SummarizeHitTiming(std::span<const double> deltas) {
  HitTiming t;
  std::vector<double> sorted;
  sorted.reserve(deltas.size());
  for (const double d : deltas) {
    if (!std::isfinite(d)) continue;
    sorted.push_back(d);
    const double offset = d + kHitHistogramMs;
    if (offset < 0 || offset > 2 * kHitHistogramMs) {
      ++t.Outside;
      continue;
    }
    const int bin = std::min(static_cast<int>(offset / kHitBinMs), kHitBins - 1);
    ++t.Bins[static_cast<size_t>(bin)];
  }
  t.Count = static_cast<int>(sorted.size());
  if (sorted.empty()) return t;
  std::sort(sorted.begin(), sorted.end());
  t.Median = Percentile(sorted, 0.5);
  t.SpreadLow = Percentile(sorted, 0.1);
  t.SpreadHigh = Percentile(sorted, 0.9);
  if (t.Count >= kSuggestMinPresses) {
    // JUDGEOFFSET is 16-bit; a median beyond it cannot be centred anyway.
    const int64_t limit = std::numeric_limits<int16_t>::max();
    t.Suggested = static_cast<int16_t>(std::clamp<int64_t>(RoundHalfEven(t.Median), -limit, limit));
  }
  return t;
}

}  // namespace tessaru
