#include <gtest/gtest.h>

#include <cmath>

#include "platform/sdl/press_time.h"

namespace tessaru::platform {
namespace {

TEST(PressTime, MovesTheStampBackByTheTimeTheEventWaited) {
  struct Case {
    const char* name;
    double monotonicMs;
    uint32_t xTimeMs;
    double expected;  // with a pump stamp of 1000
  };
  const Case cases[] = {
      {"fresh event", 5000.8, 5000u, 999.7},
      {"waited through a present", 5010.5, 5000u, 990.0},
      {"same millisecond, early in it", 5000.2, 5000u, 1000.0},
      {"slightly ahead is no wait", 5000.0, 5001u, 1000.0},
      {"far ahead: another time base", 5000.0, 5003u, 1000.0},
      {"longest wait believed", 6000.5, 5000u, 0.0},
      {"longer: another time base", 6001.6, 5000u, 1000.0},
      {"across the 32-bit wrap", 4294967299.5, 0xFFFFFFFEu, 995.0},
      {"unusable clock", std::nan(""), 5000u, 1000.0},
      {"negative clock", -3.0, 5000u, 1000.0},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(RefinePressTime(1000.0, c.monotonicMs, c.xTimeMs), c.expected, 1e-9) << c.name;
  }
}

}  // namespace
}  // namespace tessaru::platform
