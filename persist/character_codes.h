#pragma once
// The three-letter codes of the character roster (one character per part index). They
// label the ranking screens and are the names of ranking entries nobody has taken yet.
#include <array>
#include <string_view>

namespace tessaru {

inline constexpr std::array<std::string_view, 9> kCharacterCodes = {
    "KIT", "BAS", "RIF", "KEY", "PER", "SYN", "HRN", "VOX", "EXT"};
// Every index beyond the roster shows this.
inline constexpr std::string_view kUnknownCharacterCode = "???";

constexpr std::string_view CharacterCode(int index) {
  return index >= 0 && index < static_cast<int>(kCharacterCodes.size())
             ? kCharacterCodes[static_cast<size_t>(index)]
             : kUnknownCharacterCode;
}

}  // namespace tessaru

namespace tessaru {

// The characters' display names, parts 0..9 (the part select, the favourites view and
// the special modes named after a character show them).
inline constexpr std::array<std::string_view, 10> kCharacterNames = {
    "Kit", "Basso", "Riff", "Keya", "Pico", "Synthia", "Horne", "Voxie", "Guest", "Backing"};

constexpr std::string_view CharacterName(int index) {
  return index >= 0 && index < static_cast<int>(kCharacterNames.size())
             ? kCharacterNames[static_cast<size_t>(index)]
             : std::string_view("-");
}

}  // namespace tessaru
