// WAVE files: any bytes decode or are refused; what decodes is a sound the mixer can take
// and writes back to the same samples.
#include <cstddef>
#include <cstdint>
#include <span>

#include "sound/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto wave = tessaru::ParseWave(std::span<const uint8_t>(data, size));
  if (!wave) return 0;
  const tessaru::WaveFormat& f = wave->Format;
  if ((f.Channels != 1 && f.Channels != 2) || (f.BitsPerSample != 8 && f.BitsPerSample != 16) ||
      f.SamplesPerSec < tessaru::kMinWaveRate || f.SamplesPerSec > tessaru::kMaxWaveRate ||
      wave->Frames < 0 || wave->Samples.size() != static_cast<size_t>(wave->Frames) * static_cast<size_t>(f.Channels) ||
      wave->DataBytes < wave->Frames * f.Channels * (f.BitsPerSample / 8)) {
    __builtin_trap();
  }
  const auto again = tessaru::ParseWave(tessaru::BuildWave(wave->Samples, f.Channels, f.SamplesPerSec, f.BitsPerSample));
  if (!again || again->Samples != wave->Samples) __builtin_trap();
  return 0;
}
