#pragma once
// Breaking a message into lines that fit a width, for text the game draws itself.
#include <functional>
#include <string>
#include <vector>

namespace tessaru::platform {

// Splits UTF-8 `text` into lines no wider than `width` by `measure` (the pixel width of a
// piece of text). Line ends in the text ("\n", "\r\n") are kept; a line is broken after
// its last blank when it has one, else between any two characters (Japanese has no
// blanks), never inside a character. A character wider than the width stands alone.
std::vector<std::string> WrapText(const std::string& text,
                                  const std::function<int(const std::string&)>& measure, int width);

}  // namespace tessaru::platform
