#pragma once
// RIFF WAVE reading: uncompressed PCM, 8 or 16 bit, mono or stereo, any sane rate.
// Files come from authors, converters and old tools, so every size field is checked
// against the bytes actually present before it is used.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessaru {

// The format as a WAVE file's format chunk states it.
struct WaveFormat {
  int16_t Channels = 0;
  int32_t SamplesPerSec = 0;
  int16_t BitsPerSample = 0;
};

struct WaveData {
  WaveFormat Format;
  // Size of the sound data in bytes, as stored (the length in milliseconds is figured
  // from it, so an odd trailing byte still counts).
  uint32_t DataBytes = 0;
  // The whole frames of the data, widened to 16-bit signed and interleaved.
  std::vector<int16_t> Samples;
  int64_t Frames = 0;
};

// Rates outside this range are refused: a tiny rate would blow up when converted to the
// output rate, and nothing real is recorded above it.
inline constexpr int32_t kMinWaveRate = 1000;
inline constexpr int32_t kMaxWaveRate = 384000;

// Decodes a whole WAVE file held in memory. On failure returns nothing and, when error
// is given, says what was wrong in plain words.
std::optional<WaveData> ParseWave(std::span<const uint8_t> bytes, std::string* error = nullptr);

// A canonical 44-byte-header PCM WAVE file for the given 16-bit samples (tools and tests
// write sounds with it). Bits 8 stores each sample's top byte, offset to unsigned.
std::vector<uint8_t> BuildWave(const std::vector<int16_t>& interleaved, int channels, int rate,
                               int bits = 16);

// The 44-byte header alone, for writers that stream the data after it (a header written
// before the length is known is rewritten with the final size).
std::vector<uint8_t> BuildWaveHeader(uint32_t dataBytes, int channels, int rate, int bits = 16);

}  // namespace tessaru
