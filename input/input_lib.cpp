#include "input/input_lib.h"

#include <algorithm>

namespace tessaru {

int16_t NextKeyState(int16_t state, bool down) {
  switch (state) {
    case KeyIdle:
    case KeyReleased:
      return down ? KeyPressed : KeyIdle;
    case KeyPressed:
    case KeyHeld:
      return down ? KeyHeld : KeyReleased;
    default:
      // Not reachable through the rule; recover to the state the key is in.
      return down ? KeyPressed : KeyIdle;
  }
}

bool JoypadElementDown(const platform::JoystickState& joystick, int element) {
  if (!joystick.Connected) return false;
  switch (element) {
    case kJoyUp:
      return joystick.Y < -kJoyAxisThreshold;
    case kJoyDown:
      return joystick.Y > kJoyAxisThreshold;
    case kJoyLeft:
      return joystick.X < -kJoyAxisThreshold;
    case kJoyRight:
      return joystick.X > kJoyAxisThreshold;
    default: {
      const int button = element - kJoyFirstButton;
      if (button < 0 || button >= kJoyButtons) return false;
      return ((joystick.Buttons >> button) & 1u) != 0;
    }
  }
}

InputLib::InputLib(platform::InputSource& source, platform::Clock& clock)
    : source_(source), clock_(clock) {
  keyMap_.fill(kNoFunction);
}

bool InputLib::InitInput(bool useJoypads) {
  if (initialised_) return true;
  initialised_ = true;
  keyState_.fill(KeyIdle);
  ownF1State_ = KeyIdle;
  for (auto& pad : joyState_) pad.fill(KeyIdle);
  for (auto& pad : joyDown_) pad.fill(false);
  for (auto& group : funcState_) group.fill(KeyIdle);
  presses_.clear();
  joypadCount_ = 0;
  for (int pad = 0; pad < kMaxJoypads; ++pad) {
    if (source_.Joystick(pad).Connected) ++joypadCount_;
  }
  // Both slots are polled even when nothing is plugged in yet: the platform reports an
  // absent pad as not connected, which reads as all up.
  joypadsEnabled_ = useJoypads;
  return true;
}

bool InputLib::ReleaseInput() {
  joypadsEnabled_ = false;
  initialised_ = false;
  return true;
}

void InputLib::ResetInput() {
  if (!initialised_) return;
  std::fill(keyState_.begin(), keyState_.begin() + kKeyboardInputs, KeyIdle);
  ownF1State_ = KeyIdle;
  if (joypadsEnabled_) {
    PollJoypads({});
    CopyJoypadStates();
  }
  presses_.clear();
}

void InputLib::PollInput() {
  if (!initialised_) return;
  source_.Pump();
  lastPollMs_ = clock_.NowMs();
  presses_.clear();

  // Every down event is a press of its own, even when the key is up again by the poll:
  // a short tap between two polls must still be judged, and two taps judged twice.
  std::array<bool, kKeyboardInputs> struck{};
  for (const platform::KeyEvent& event : source_.TakeKeyEvents()) {
    if (!event.Down) continue;
    struck[event.VirtualKey] = true;
    presses_.push_back({event.VirtualKey, event.TimeMs});
  }

  // F1 moves on from its own state, not from what the mirror lent it at the last poll:
  // otherwise a real F1 press made while the mirrored button is held would be lost.
  keyState_[kVkF1] = ownF1State_;
  for (int k = 0; k < kKeyboardInputs; ++k) {
    const bool down = source_.KeyDown(static_cast<uint8_t>(k));
    const int16_t next = struck[k] ? KeyPressed : NextKeyState(keyState_[k], down);
    // A key already down when the game started (or after ResetInput) has no event.
    if (next == KeyPressed && !struck[k]) presses_.push_back({k, lastPollMs_});
    keyState_[k] = next;
  }
  ownF1State_ = keyState_[kVkF1];

  // Taken even with the pads off, so that they do not pile up.
  const std::vector<platform::JoystickSample> samples = source_.TakeJoystickSamples();
  if (joypadsEnabled_) {
    PollJoypads(samples);
    CopyJoypadStates();
  }

  std::stable_sort(presses_.begin(), presses_.end(), [](const InputPress& a, const InputPress& b) {
    return a.TimeMs < b.TimeMs || (a.TimeMs == b.TimeMs && a.Input < b.Input);
  });
}

void InputLib::PollJoypads(const std::vector<platform::JoystickSample>& samples) {
  for (int pad = 0; pad < kMaxJoypads; ++pad) {
    // The samples replay what the pad did since the last poll, as keys' events do.
    std::array<bool, kJoypadElements> struck{};
    auto& wasDown = joyDown_[pad];
    for (const platform::JoystickSample& sample : samples) {
      if (sample.Pad != pad) continue;
      for (int element = 0; element < kJoypadElements; ++element) {
        const bool down = JoypadElementDown(sample.State, element);
        if (down && !wasDown[element]) {
          struck[element] = true;
          presses_.push_back({JoypadInput(pad, element), sample.TimeMs});
        }
        wasDown[element] = down;
      }
    }
    const platform::JoystickState joystick = source_.Joystick(pad);
    for (int element = 0; element < kJoypadElements; ++element) {
      const bool down = JoypadElementDown(joystick, element);
      auto& state = joyState_[pad][element];
      state = struck[element] ? KeyPressed : NextKeyState(state, down);
      // A pad plugged in with a button held has no sample of the press.
      if (state == KeyPressed && !struck[element]) {
        presses_.push_back({JoypadInput(pad, element), lastPollMs_});
      }
      wasDown[element] = down;
    }
  }
}

void InputLib::CopyJoypadStates() {
  for (int pad = 0; pad < kMaxJoypads; ++pad) {
    for (int element = 0; element < kJoypadElements; ++element) {
      const int input = JoypadInput(pad, element);
      if (input < KeyCount) keyState_[input] = joyState_[pad][element];
    }
  }
}

void InputLib::UpdateFuncState(bool mirrorF1) {
  if (!initialised_) return;
  PollInput();
  for (auto& group : funcState_) group.fill(KeyIdle);
  for (int i = 0; i < KeyCount; ++i) {
    const int code = keyMap_[i];
    // Codes beyond the table (a hand-edited key file) drive nothing.
    if (!IsFunctionCode(code)) continue;
    int16_t& state = funcState_[code / kFuncSlotsUsed][code % kFuncSlotsUsed];
    state = std::max(state, keyState_[i]);
  }
  if (mirrorF1) {
    const int16_t mirrored = funcState_[2][0];
    if (keyState_[kVkF1] < mirrored) keyState_[kVkF1] = mirrored;
  }
}

int16_t InputLib::KeyState(int input) const {
  if (!initialised_ || input < 0 || input >= KeyCount) return KeyIdle;
  return keyState_[input];
}

int16_t InputLib::FuncState(int group, int slot) const {
  if (!initialised_ || group < 0 || group >= kFuncGroups || slot < 0 || slot >= kFuncSlots) {
    return KeyIdle;
  }
  return funcState_[group][slot];
}

std::vector<InputPress> InputLib::FuncPresses(int group, int slot) const {
  std::vector<InputPress> out;
  if (group < 0 || group >= kFuncGroups || slot < 0 || slot >= kFuncSlotsUsed) return out;
  const int code = group * kFuncSlotsUsed + slot;
  for (const InputPress& press : presses_) {
    if (keyMap_[press.Input] == code) out.push_back(press);
  }
  return out;
}

}  // namespace tessaru
