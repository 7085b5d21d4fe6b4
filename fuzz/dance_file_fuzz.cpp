// Dance files: load or refuse; a loaded dance's pattern table stays inside its frames.
#include <cstddef>
#include <cstdint>
#include <span>

#include "content/dance_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tessaru::DanceRecord dance;
  if (!tessaru::LoadDanceBytes(dance, std::span<const uint8_t>(data, size))) return 0;
  if (dance.PatternCount < 0 || dance.PatternCount > tessaru::kMaxDancePatterns) __builtin_trap();
  for (size_t p = 0; p < static_cast<size_t>(dance.PatternCount); ++p) {
    const size_t end = static_cast<size_t>(dance.PatternFirst[p]) +
                       static_cast<size_t>(dance.PatternLengths[p]);
    if (dance.PatternLengths[p] > 0 && end > dance.Frames.size()) __builtin_trap();
  }
  (void)tessaru::PackText(tessaru::EncodeDanceFile(dance));
  return 0;
}
