#pragma once
// Keyboard and joypads, polled once per frame into one table of four-valued input states
// (KeyState) and, through the key map, a small table of per-function states (FuncState).
//
// Menus react to KeyPressed; the stage judges only fresh presses, and for those it wants
// the moment the key went down rather than the moment of the poll, so every poll also
// keeps the list of inputs that became pressed, each with its arrival time.
#include <array>
#include <cstdint>
#include <vector>

#include "input/input_codes.h"
#include "platform/platform.h"

namespace tessaru {

// One press since the previous poll, and when the input went down (Clock::NowMs scale):
// the platform's event time for keys and joypads alike; the poll's time only for an
// input found down with no event (held through ResetInput, a pad plugged in held).
struct InputPress {
  int Input = 0;
  double TimeMs = 0.0;
  bool operator==(const InputPress&) const = default;
};

class InputLib {
 public:
  InputLib(platform::InputSource& source, platform::Clock& clock);
  InputLib(const InputLib&) = delete;
  InputLib& operator=(const InputLib&) = delete;

  // Sets up the tables; with useJoypads the two joypad slots are polled. Joypads plugged
  // in later are picked up, and an unplugged one reads as all up. Always true.
  bool InitInput(bool useJoypads);
  // Stops polling the joypads; every later call is a no-op until InitInput. Always true.
  bool ReleaseInput();
  // Clears the keyboard states (held keys then read as fresh presses at the next poll)
  // and refreshes the joypad states.
  void ResetInput();
  // Pumps the window's events, then updates every KeyState by the four-state rule, except
  // that an input that went down since the last poll reads KeyPressed even when it is up
  // again (a short tap is never lost).
  void PollInput();
  // PollInput, then rebuilds FuncState. With mirrorF1 an input mapped to group 2 slot 0
  // raises F1's KeyState to its own state for this poll; F1's next state still follows
  // the F1 key alone.
  void UpdateFuncState(bool mirrorF1);

  // KeyIdle for codes outside the table and before InitInput.
  int16_t KeyState(int input) const;
  int16_t FuncState(int group, int slot) const;
  const std::array<int16_t, KeyCount>& KeyStates() const { return keyState_; }

  KeyMapTable& KeyMap() { return keyMap_; }
  const KeyMapTable& KeyMap() const { return keyMap_; }

  // Every press since the previous poll, earliest first (ties by input code). A key
  // struck twice between polls is here twice; KeyState shows it as KeyPressed once.
  const std::vector<InputPress>& PressesSinceLastPoll() const { return presses_; }
  // The same, restricted to the inputs the key map gives to one function.
  std::vector<InputPress> FuncPresses(int group, int slot) const;
  // Clock::NowMs right after the last pump.
  double LastPollTimeMs() const { return lastPollMs_; }

  bool Initialised() const { return initialised_; }
  bool JoypadsEnabled() const { return joypadsEnabled_; }
  // Joypads that were connected when InitInput ran.
  int JoypadCount() const { return joypadCount_; }

 private:
  using JoyStates = std::array<int16_t, kJoypadElements>;

  void PollJoypads(const std::vector<platform::JoystickSample>& samples);
  void CopyJoypadStates();

  platform::InputSource& source_;
  platform::Clock& clock_;
  bool initialised_ = false;
  bool joypadsEnabled_ = false;
  int joypadCount_ = 0;
  double lastPollMs_ = 0.0;
  std::array<int16_t, KeyCount> keyState_{};
  int16_t ownF1State_ = KeyIdle;  // F1 as the key alone reads, before any mirroring
  std::array<JoyStates, kMaxJoypads> joyState_{};
  std::array<std::array<bool, kJoypadElements>, kMaxJoypads> joyDown_{};  // at the last sample or poll
  std::array<std::array<int16_t, kFuncSlots>, kFuncGroups> funcState_{};
  KeyMapTable keyMap_{};
  std::vector<InputPress> presses_;
};

// The four-state rule: 0/2 -> 3 when down, 3 -> 1 while down, 1/3 -> 2 when up, 2 -> 0.
int16_t NextKeyState(int16_t state, bool down);
// Whether joypad element k reads as down in a joystick state (axes strictly beyond 5000).
bool JoypadElementDown(const platform::JoystickState& joystick, int element);

}  // namespace tessaru
