#pragma once
// SDL reports axes as -32768..32767; the game expects the -10000..10000 range that it
// sets on its pads, with the same threshold meaning (half way is 5000).
#include <cmath>
#include <cstdint>

namespace tessaru::platform {

inline int ScaleJoystickAxis(int16_t raw) {
  const double scaled = std::round(static_cast<double>(raw) * 10000.0 / 32767.0);
  return static_cast<int>(std::fmax(-10000.0, std::fmin(10000.0, scaled)));
}

}  // namespace tessaru::platform
