#pragma once
// The character roster (one character per part index): the three-letter codes label the
// ranking screens and are the names of ranking entries nobody has taken yet; the display
// names head the favourites and the character modes.
#include <array>
#include <string_view>

namespace tessaru {

inline constexpr std::array<std::string_view, 9> kCharacterCodes = {
    "KIT", "BAS", "RIF", "KEY", "PER", "SYN", "HRN", "VOX", "EXT"};
// Every index beyond the roster shows this.
inline constexpr std::string_view kUnknownCharacterCode = "???";

// The characters' display names, parts 0..9, and the name of every other index.
inline constexpr std::array<std::string_view, 10> kCharacterNames = {
    "KIT", "BASSO", "RIFF", "KEYA", "PICO", "SYNTHIA", "HORNE", "VOXIE", "GUEST", "BACKING"};
inline constexpr std::string_view kUnknownCharacterName = "-";

constexpr std::string_view CharacterName(int index) {
  return index >= 0 && index < static_cast<int>(kCharacterNames.size())
             ? kCharacterNames[static_cast<size_t>(index)]
             : kUnknownCharacterName;
}

constexpr std::string_view CharacterCode(int index) {
  return index >= 0 && index < static_cast<int>(kCharacterCodes.size())
             ? kCharacterCodes[static_cast<size_t>(index)]
             : kUnknownCharacterCode;
}

}  // namespace tessaru
