#pragma once
// The headless keyboard and joysticks: key events are scripted ahead with their times
// and delivered by Pump once the virtual clock has reached them.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/headless.h"
#include "platform/platform.h"

namespace tessaru::platform {

class ScriptedInput {
 public:
  // Events with equal times keep the order in which they were scheduled.
  void Schedule(const ScriptedKey& key);
  void Pump(double nowMs);
  std::vector<KeyEvent> TakeKeyEvents();
  bool KeyDown(uint8_t virtualKey) const { return down_[virtualKey]; }
  size_t PendingCount() const { return pending_.size(); }

  // The new state is also kept as a sample stamped nowMs.
  void SetJoystick(int index, const JoystickState& state, double nowMs);
  std::vector<JoystickSample> TakeJoystickSamples();
  JoystickState Joystick(int index) const;

  void RequestQuit() { quit_ = true; }
  bool QuitRequested() const { return quit_; }

 private:
  std::vector<ScriptedKey> pending_;  // sorted by time, stable
  std::vector<KeyEvent> events_;
  std::array<bool, 256> down_{};
  std::array<JoystickState, 2> joysticks_{};
  std::vector<JoystickSample> samples_;
  bool quit_ = false;
};

}  // namespace tessaru::platform
