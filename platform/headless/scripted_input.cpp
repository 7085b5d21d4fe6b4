#include "platform/headless/scripted_input.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace tessaru::platform {

void ScriptedInput::Schedule(const ScriptedKey& key) {
  const auto at = std::upper_bound(
      pending_.begin(), pending_.end(), key.TimeMs,
      [](double time, const ScriptedKey& other) { return time < other.TimeMs; });
  pending_.insert(at, key);
}

void ScriptedInput::Pump(double nowMs) {
  size_t due = 0;
  while (due < pending_.size() && pending_[due].TimeMs <= nowMs) {
    const ScriptedKey& key = pending_[due++];
    // A press of a key that is already down is not a transition (as with auto-repeat).
    if (down_[key.VirtualKey] == key.Down) continue;
    down_[key.VirtualKey] = key.Down;
    KeyEvent event;
    event.VirtualKey = key.VirtualKey;
    event.Down = key.Down;
    event.TimeMs = key.TimeMs;
    event.ArrivalMs = nowMs;
    events_.push_back(event);
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<ptrdiff_t>(due));
}

std::vector<KeyEvent> ScriptedInput::TakeKeyEvents() { return std::exchange(events_, {}); }

void ScriptedInput::SetJoystick(int index, const JoystickState& state, double nowMs) {
  if (index < 0 || index >= static_cast<int>(joysticks_.size())) return;
  joysticks_[static_cast<size_t>(index)] = state;
  samples_.push_back({index, Joystick(index), nowMs});
}

std::vector<JoystickSample> ScriptedInput::TakeJoystickSamples() {
  return std::exchange(samples_, {});
}

JoystickState ScriptedInput::Joystick(int index) const {
  if (index < 0 || index >= static_cast<int>(joysticks_.size())) return {};
  const JoystickState& state = joysticks_[static_cast<size_t>(index)];
  // An unplugged pad reads as nothing pressed, whatever was set with it.
  return state.Connected ? state : JoystickState{};
}

}  // namespace tessaru::platform
