#pragma once
// SDL scancodes (key positions) to Windows virtual-key codes, as a US 101/102-key layout
// names them, plus the extra keys of the Japanese 106-key keyboard. Keying on position
// keeps a player's key map valid whatever layout the desktop uses.
#include <cstdint>

namespace tessaru::platform {

// 0 for a key the table does not know (0 is no virtual key).
uint8_t ScancodeToVirtualKey(int scancode);

// The side-neutral code that Windows also reports as down with a left or right Shift,
// Ctrl or Alt (0x10, 0x11, 0x12); 0 for every other key.
uint8_t GenericVirtualKey(uint8_t virtualKey);

}  // namespace tessaru::platform
