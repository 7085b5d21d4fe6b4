#include "stage/hit_timing.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace tessaru {
namespace {

std::vector<double> Repeat(double d, int n) { return std::vector<double>(static_cast<size_t>(n), d); }

std::vector<double> Evenly(double from, double to, int n) {
  std::vector<double> v;
  for (int k = 0; k < n; ++k) v.push_back(from + (to - from) * k / (n - 1));
  return v;
}

TEST(HitTiming, MedianSpreadAndSuggestion) {
  struct SummaryCase { const char* Name; std::vector<double> Deltas; int Count; double Median, Low, High;
                       std::optional<int16_t> Suggested; };
  const SummaryCase cases[] = {
      {"nothing judged", {}, 0, 0, 0, 0, std::nullopt},
      {"49 presses are too few", Repeat(12, 49), 49, 12, 12, 12, std::nullopt},
      {"50 presses suggest", Repeat(12, 50), 50, 12, 12, 12, int16_t{12}},
      {"early presses suggest a negative offset", Repeat(-7.4, 60), 60, -7.4, -7.4, -7.4, int16_t{-7}},
      {"a half rounds to even, down", Repeat(12.5, 50), 50, 12.5, 12.5, 12.5, int16_t{12}},
      {"a half rounds to even, up", Repeat(13.5, 50), 50, 13.5, 13.5, 13.5, int16_t{14}},
      {"even spread around the chip", Evenly(-20, 20, 81), 81, 0, -16, 16, int16_t{0}},
      {"middle 80 % of 0..100", Evenly(0, 100, 101), 101, 50, 10, 90, int16_t{50}},
      {"even count: between the middle two", {1, 2, 3, 10}, 4, 2.5, 1.3, 7.9, std::nullopt},
      {"beyond 16 bits is clamped", Repeat(40000, 50), 50, 40000, 40000, 40000, int16_t{32767}},
  };
  for (const SummaryCase& c : cases) {
    const HitTiming t = SummarizeHitTiming(c.Deltas);
    EXPECT_EQ(t.Count, c.Count) << c.Name;
    EXPECT_NEAR(t.Median, c.Median, 1e-9) << c.Name;
    EXPECT_NEAR(t.SpreadLow, c.Low, 1e-9) << c.Name;
    EXPECT_NEAR(t.SpreadHigh, c.High, 1e-9) << c.Name;
    EXPECT_EQ(t.Suggested, c.Suggested) << c.Name;
  }
}

TEST(HitTiming, HistogramBinEdges) {
  struct BinCase { double D; int Bin; };  // Bin -1: outside the span
  const BinCase cases[] = {{-150, 0},         {-150.5, -1}, {-145.01, 0}, {-145, 1},   {-0.01, 29},
                           {0, 30},           {4.99, 30},   {5, 31},      {149.9, 59}, {150, 59},
                           {150.01, -1},      {-1000, -1}};
  for (const BinCase& c : cases) {
    const double d[] = {c.D};
    const HitTiming t = SummarizeHitTiming(d);
    int found = -1;
    for (int i = 0; i < kHitBins; ++i) {
      if (t.Bins[static_cast<size_t>(i)] == 1) found = i;
    }
    EXPECT_EQ(found, c.Bin) << c.D;
    EXPECT_EQ(t.Outside, c.Bin < 0 ? 1 : 0) << c.D;
    EXPECT_EQ(t.Count, 1) << c.D;
  }
}

}  // namespace
}  // namespace tessaru
