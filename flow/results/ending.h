#pragma once
// The ending's pacing: the text rises through a three-line window under the picture, one
// line every kEndingLineMs; the ending returns once the last line has left the window
// (and not before kEndingMinMs, so the voice is heard out), or on decide once
// kEndingSkipAfterMs have passed.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaru {

inline constexpr uint32_t kEndingLineMs = 1800;
inline constexpr int kEndingWindowLines = 3;
inline constexpr uint32_t kEndingMinMs = 6000;
inline constexpr uint32_t kEndingSkipAfterMs = 2000;

// How long the ending runs for a text of `lines` lines.
uint32_t EndingDurationMs(size_t lines);
// The index of the text line in the window's top row at `now` ms (negative while the
// first lines are still coming up from below).
int EndingTopLine(uint32_t now);

// The lines of the packed text "ed.zxt" at `path` up to "<EOF>"; empty when it cannot
// be read (found = false).
std::vector<std::string> ReadEndingText(std::string_view path, bool& found);

}  // namespace tessaru
