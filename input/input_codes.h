#pragma once
// Input codes, input states and the key-map type shared by the input layer, the key
// settings and every screen that reads the tables.
//
// Codes 0..255 are keyboard virtual-key codes (Windows numbering); 256 and above are
// joypad elements: 256 + 36 * pad + element, element 0 up, 1 down, 2 left, 3 right,
// 4..35 buttons 0..31. Two joypads fit in the table.
#include <array>
#include <cstdint>

namespace tessaru {

inline constexpr int KeyCount = 328;
inline constexpr int kKeyboardInputs = 256;
inline constexpr int kJoypadInputBase = 256;
inline constexpr int kJoypadElements = 36;
inline constexpr int kMaxJoypads = (KeyCount - kJoypadInputBase) / kJoypadElements;

// The four states of an input. Their order matters: a function reads the largest state
// among its inputs, so a fresh press beats a release, which beats a hold.
inline constexpr int16_t KeyIdle = 0;
inline constexpr int16_t KeyHeld = 1;
inline constexpr int16_t KeyReleased = 2;
inline constexpr int16_t KeyPressed = 3;

inline constexpr int kJoyUp = 0;
inline constexpr int kJoyDown = 1;
inline constexpr int kJoyLeft = 2;
inline constexpr int kJoyRight = 3;
inline constexpr int kJoyFirstButton = 4;
inline constexpr int kJoyButtons = 32;
// An axis counts as a direction only beyond half of its +/-10000 range.
inline constexpr int kJoyAxisThreshold = 5000;

constexpr int JoypadInput(int pad, int element) {
  return kJoypadInputBase + kJoypadElements * pad + element;
}

// Virtual keys the game names directly.
inline constexpr int kVkTab = 9;
inline constexpr int kVkEnter = 13;
inline constexpr int kVkEscape = 27;
inline constexpr int kVkLeft = 37;
inline constexpr int kVkUp = 38;
inline constexpr int kVkRight = 39;
inline constexpr int kVkDown = 40;
inline constexpr int kVkDelete = 46;
inline constexpr int kVkF1 = 112;
inline constexpr int kVkF2 = 113;
inline constexpr int kVkF3 = 114;

// Function groups and slots: code c is group c / 5, slot c % 5. Group 0 is player 1,
// group 1 player 2 (slot 0 the decide button, 1..4 the lanes); group 2 slot 0 can stand
// in for F1.
inline constexpr int kFuncGroups = 4;
inline constexpr int kFuncSlots = 6;
inline constexpr int kFuncSlotsUsed = 5;
inline constexpr int kFunctionCodes = kFuncGroups * kFuncSlotsUsed;
inline constexpr int16_t kNoFunction = -1;
inline constexpr int16_t kF1MirrorFunction = 2 * kFuncSlotsUsed;

constexpr bool IsFunctionCode(int code) { return code >= 0 && code < kFunctionCodes; }

// Per input code, the function it drives (kNoFunction for none).
using KeyMapTable = std::array<int16_t, KeyCount>;

}  // namespace tessaru
