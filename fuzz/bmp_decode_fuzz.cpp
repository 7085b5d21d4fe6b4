// Bitmap files: any bytes decode or are refused. A decoded picture holds exactly the
// pixels it says, and a smaller limit keeps the top-left corner of the same picture.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "graphics/bmp_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const auto full = tessaru::DecodeBmp(bytes, 640, 480);
  if (!full) return 0;
  if (full->KeptWidth < 0 || full->KeptHeight < 0 || full->KeptWidth > std::min(full->Width, 640) ||
      full->KeptHeight > std::min(full->Height, 480) ||
      full->Pixels.size() != static_cast<size_t>(full->KeptWidth) * static_cast<size_t>(full->KeptHeight)) {
    __builtin_trap();
  }
  const int32_t w = full->KeptWidth / 2;
  const int32_t h = full->KeptHeight / 2;
  const auto corner = tessaru::DecodeBmp(bytes, w, h);
  if (!corner || corner->KeptWidth != w || corner->KeptHeight != h) __builtin_trap();
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      if (corner->Pixels[static_cast<size_t>(y * w + x)] !=
          full->Pixels[static_cast<size_t>(y * full->KeptWidth + x)]) {
        __builtin_trap();
      }
    }
  }
  return 0;
}
