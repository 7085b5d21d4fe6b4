#pragma once
// Keys by name, for scripts a person writes: the names SDL gives keys ("Return",
// "Escape", "Left", "F1", "Z", ",", "Keypad 0"), in any letter case, plus "Enter".
#include <cstdint>
#include <string_view>

namespace tessaru::platform {

// The key's Windows virtual-key code; 0 when no key has that name.
uint8_t VirtualKeyFromName(std::string_view name);

}  // namespace tessaru::platform
