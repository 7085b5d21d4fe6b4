#pragma once
// KEY CONFIG: the keyboard picture with every assigned key marked, the ten functions of
// both players with their inputs, and CHANGE SETTING / RESET SETTING / SAVE & EXIT. The
// map is edited as a copy and reaches the game and "keyset.ini" only on SAVE & EXIT.
#include <array>
#include <cstdint>
#include <string>

#include "flow/game.h"
#include "flow/menu_input.h"
#include "input/input_codes.h"

namespace tessaru {

enum class KeyConfigMode : int8_t {
  Menu,     // the three items
  Pick,     // choosing the function to change
  Capture,  // "PRESS KEY TO CHANGE SETTING", then ENTER confirms
};

enum KeyConfigItem : int { kKeyItemChange = 0, kKeyItemReset, kKeyItemSave, kKeyItems };

// The functions the screen offers: decide and lanes 1..4 of each player.
inline constexpr int kKeyFunctionSlots = 5;

struct KeyConfigState {
  KeyConfigMode Mode = KeyConfigMode::Menu;
  int Item = kKeyItemChange;
  int Player = 0;
  int Slot = 0;
  int Pending = -1;  // the input waiting for ENTER
  KeyMapTable Map{};
  // What the last action did to other assignments, shown under the table.
  std::string Notice;
};

// What reached the screen on one pass: the menu buttons, the first newly pressed input
// that can be assigned (-1 for none) and the Enter key itself, which confirms.
struct KeyConfigInput {
  MenuButtons Buttons;
  int Pressed = -1;
  bool Enter = false;
};

enum class KeyConfigEvent : int8_t { None, Moved, Decided, Captured, Assigned, Refused, Save, Back, Quit };

KeyConfigEvent UpdateKeyConfig(KeyConfigState& state, const KeyConfigInput& input);

// The first newly pressed input a function can take: Enter, Esc and F1 keep their
// meanings, and the generic Shift, Ctrl and Alt codes give way to the left/right keys
// that come with them. -1 when none.
int CapturableInput(const std::array<int16_t, KeyCount>& keyStates);

// A short name for an input, six characters at most: "Z", "ENTER", "J1B3", "J2LT"; a key
// without a name shows its code.
std::string InputName(int input);
// "1P LANE 2"; codes the screen does not offer are named by their number.
std::string FunctionName(int code);
// The inputs of a function as the table shows them, at most `width` characters.
std::string FunctionInputs(const KeyMapTable& map, int code, size_t width);

// Returns after SAVE & EXIT, F1 or Esc (QuitRequested set).
void RunKeyConfig(Game& game);

}  // namespace tessaru
