#pragma once
// The names the special modes are shown under (mode select, records screens).
#include <cstdint>
#include <string>

namespace tessaru {

inline constexpr int16_t kDoubleMode = 6;

// "COLOR", "SILVER", ...; the character modes carry their character's name; a number
// without a name shows "MODE" and the number from 1.
std::string SpecialModeName(int16_t mode);

}  // namespace tessaru
