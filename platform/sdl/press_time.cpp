#include "platform/sdl/press_time.h"

#include <cmath>

namespace tessaru::platform {
namespace {

// The X stamp is truncated to the millisecond; the key moved somewhere in that
// millisecond, on average half way through it.
constexpr double kTruncationMs = 0.5;
// Clocks read a few microseconds apart, or a server that rounds rather than truncates,
// can make a fresh event look slightly in the future; that is still a zero wait.
constexpr double kFutureToleranceMs = 2.0;

}  // namespace

double RefinePressTime(double pumpStampMs, double monotonicMs, uint32_t xTimeMs) {
  if (!std::isfinite(monotonicMs) || monotonicMs < 0.0) return pumpStampMs;
  const double wholeMs = std::floor(monotonicMs);
  const uint32_t nowLow = static_cast<uint32_t>(static_cast<uint64_t>(wholeMs));
  // Modular difference: correct across the 49.7-day wrap of the X time.
  const int32_t wholeWait = static_cast<int32_t>(nowLow - xTimeMs);
  const double wait = static_cast<double>(wholeWait) + (monotonicMs - wholeMs) - kTruncationMs;
  if (wait < -kFutureToleranceMs || wait > kMaxQueueWaitMs) return pumpStampMs;
  return pumpStampMs - std::fmax(wait, 0.0);
}

}  // namespace tessaru::platform
