// Background animations: load or refuse; every entry animates at any time without faults.
#include <cstddef>
#include <cstdint>
#include <span>

#include "content/bga_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tessaru::BgaRecord bga;
  if (!tessaru::LoadBgaBytes(bga, std::span<const uint8_t>(data, size))) return 0;
  for (const double t : {-2147483648.0, -1.0, 0.0, 12345.0, 2147483647.0}) {
    for (int i = 0; i < bga.AObjCount; ++i) (void)tessaru::AnimFrame(t, bga.AObjs[static_cast<size_t>(i)]);
    for (int i = 0; i < bga.ProgCount; ++i) {
      int32_t x = 0;
      int32_t y = 0;
      tessaru::ProgPosition(t, bga.Progs[static_cast<size_t>(i)], x, y);
    }
  }
  return 0;
}
