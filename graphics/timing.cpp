#include <cmath>
#include <limits>

#include "graphics/graph_lib.h"

namespace tessaru {
namespace {

// Int(seconds * 1000), kept within what a signed 32-bit tick difference can express.
int32_t WaitMs(double seconds) {
  const double ms = std::floor(seconds * 1000.0);
  if (std::isnan(ms)) return 0;
  constexpr double kLimit = std::numeric_limits<int32_t>::max();
  if (ms >= kLimit) return std::numeric_limits<int32_t>::max();
  if (ms <= -kLimit) return -std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(ms);
}

}  // namespace

void GraphLib::WaitUntil(uint32_t target) {
  // The signed difference stays right across the 32-bit wrap of the tick count, so a
  // wait that straddles it ends on time instead of never.
  while (static_cast<int32_t>(clock_.GetTickCount() - target) < 0) {
    Pump();
    clock_.SleepMs(1);
  }
}

void GraphLib::WaitFromMark(double seconds) {
  WaitUntil(mark_ + static_cast<uint32_t>(WaitMs(seconds)));
}

void GraphLib::WaitSeconds(double seconds) {
  WaitUntil(clock_.GetTickCount() + static_cast<uint32_t>(WaitMs(seconds)));
}

}  // namespace tessaru
