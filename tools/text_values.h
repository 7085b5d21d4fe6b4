#pragma once
// The authoring form of packed texts: one value per line, UTF-8.
#include <string>
#include <string_view>
#include <vector>

#include "content/packed.h"

namespace tessaru {

// Parses the authoring text: a line in double quotes is a string; an integer that fits 16
// bits is a 16-bit value, one that fits 32 bits a 32-bit value; any other number a double.
// Blank lines are skipped; LF or CR LF line ends. Throws CommandFailure naming the line
// of the first value that the game could not read back.
std::vector<TextValue> ParseValueLines(std::string_view text);

// The authoring text of values (the inverse of ParseValueLines, LF line ends).
std::string ValueLines(const std::vector<TextValue>& values);

}  // namespace tessaru
