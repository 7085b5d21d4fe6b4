#pragma once
// SDL reports axes as -32768..32767; the game expects the -10000..10000 range that it
// sets on its pads, with the same threshold meaning (half way is 5000).
#include <cmath>
#include <cstdint>

#include "platform/platform.h"

namespace tessaru::platform {

inline int ScaleJoystickAxis(int16_t raw) {
  const double scaled = std::round(static_cast<double>(raw) * 10000.0 / 32767.0);
  return static_cast<int>(std::fmax(-10000.0, std::fmin(10000.0, scaled)));
}

// What the game reads of a pad: the first two axes, the first hat and 32 buttons.
struct PadControls {
  int16_t AxisX = 0;  // raw SDL values
  int16_t AxisY = 0;
  uint8_t Hat = 0;    // SDL_HAT_* bits
  uint32_t Buttons = 0;
};

// Most pads of today report the cross key as a hat rather than as X and Y; it steers the
// same directions, over the stick.
inline JoystickState ComposeJoystick(const PadControls& controls) {
  JoystickState state;
  state.Connected = true;
  state.X = ScaleJoystickAxis(controls.AxisX);
  state.Y = ScaleJoystickAxis(controls.AxisY);
  constexpr uint8_t kHatUp = 1, kHatRight = 2, kHatDown = 4, kHatLeft = 8;  // as SDL_HAT_*
  if ((controls.Hat & kHatLeft) != 0) state.X = -10000;
  if ((controls.Hat & kHatRight) != 0) state.X = 10000;
  if ((controls.Hat & kHatUp) != 0) state.Y = -10000;
  if ((controls.Hat & kHatDown) != 0) state.Y = 10000;
  state.Buttons = controls.Buttons;
  return state;
}

}  // namespace tessaru::platform
