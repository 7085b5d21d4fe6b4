// Part files: any bytes load or are refused; what loads encodes back to the same record.
#include <cstddef>
#include <cstdint>
#include <span>

#include "content/part_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tessaru::PartRecord part;
  tessaru::InitPartRecord(part, 0, 1);
  if (!tessaru::LoadPartBytes(part, std::span<const uint8_t>(data, size))) return 0;
  tessaru::PartRecord again;
  tessaru::InitPartRecord(again, 0, 1);
  again.SoundFiles = part.SoundFiles;
  again.SoundPan = part.SoundPan;
  again.SoundVolume = part.SoundVolume;
  const auto bytes = tessaru::EncodePartFile(part);
  if (!tessaru::LoadPartBytes(again, bytes) || tessaru::EncodePartFile(again) != bytes) {
    __builtin_trap();
  }
  return 0;
}
