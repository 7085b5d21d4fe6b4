#pragma once
// Content strings are CP932 (Shift-JIS as Windows writes it); the game works in UTF-8.
// Convert once, at the content boundary. Invalid bytes never fail a conversion: each is
// replaced (U+FFFD going in, "?" going out) and the rest of the text goes on.
#include <string>
#include <string_view>

namespace tessaru {

std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

// The text without any of the `blanks` characters at either end.
std::string_view TrimBlanks(std::string_view text, std::string_view blanks = " \t");

}  // namespace tessaru
