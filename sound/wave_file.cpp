#include "sound/wave_file.h"

#include <algorithm>
#include <cstring>

namespace tessaru {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// The tail of the KSDATAFORMAT_SUBTYPE_PCM GUID that follows its 16-bit format code.
constexpr uint8_t kPcmGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool Fail(std::string* error, const char* message) {
  if (error) *error = message;
  return false;
}

bool ReadFormat(std::span<const uint8_t> chunk, WaveFormat* format, std::string* error) {
  if (chunk.size() < 16) return Fail(error, "format chunk shorter than 16 bytes");
  uint16_t tag = U16(chunk.data());
  if (tag == kFormatExtensible) {
    if (chunk.size() < 40) return Fail(error, "extensible format chunk shorter than 40 bytes");
    if (U16(chunk.data() + 24) != kFormatPcm ||
        std::memcmp(chunk.data() + 26, kPcmGuidTail, sizeof kPcmGuidTail) != 0) {
      return Fail(error, "not PCM data (compressed or floating-point WAVE)");
    }
    tag = kFormatPcm;
  }
  if (tag != kFormatPcm) return Fail(error, "not PCM data (compressed or floating-point WAVE)");
  const uint16_t channels = U16(chunk.data() + 2);
  const uint32_t rate = U32(chunk.data() + 4);
  const uint16_t bits = U16(chunk.data() + 14);
  if (channels != 1 && channels != 2) return Fail(error, "only mono and stereo are supported");
  if (bits != 8 && bits != 16) return Fail(error, "only 8-bit and 16-bit samples are supported");
  if (rate < static_cast<uint32_t>(kMinWaveRate) || rate > static_cast<uint32_t>(kMaxWaveRate)) {
    return Fail(error, "sample rate out of range");
  }
  format->Channels = static_cast<int16_t>(channels);
  format->SamplesPerSec = static_cast<int32_t>(rate);
  format->BitsPerSample = static_cast<int16_t>(bits);
  return true;
}

}  // namespace

std::optional<WaveData> ParseWave(std::span<const uint8_t> bytes, std::string* error) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    Fail(error, "not a RIFF WAVE file");
    return std::nullopt;
  }
  // The RIFF size is often wrong in the wild (streamed writers leave it 0 or too big), so
  // the chunks are walked up to the real end of the bytes instead.
  std::optional<WaveFormat> format;
  std::span<const uint8_t> data;
  bool haveData = false;
  size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const uint8_t* header = bytes.data() + at;
    const uint32_t declared = U32(header + 4);
    const size_t available = bytes.size() - (at + 8);
    if (std::memcmp(header, "fmt ", 4) == 0 && !format) {
      if (declared > available) {
        Fail(error, "format chunk runs past the end of the file");
        return std::nullopt;
      }
      WaveFormat parsed;
      if (!ReadFormat(bytes.subspan(at + 8, declared), &parsed, error)) return std::nullopt;
      format = parsed;
    } else if (std::memcmp(header, "data", 4) == 0 && !haveData) {
      // 0xFFFFFFFF is the placeholder of writers that never came back to fill the size
      // in: the data then runs to the end of the file.
      if (declared == 0xFFFFFFFFu) {
        data = bytes.subspan(at + 8, available);
      } else if (declared > available) {
        Fail(error, "data chunk is cut short (file truncated)");
        return std::nullopt;
      } else {
        data = bytes.subspan(at + 8, declared);
      }
      haveData = true;
      if (format) break;
    }
    if (declared > available) break;  // an unknown chunk that runs off the end
    at += 8 + static_cast<size_t>(declared) + (declared & 1u);  // chunks are word-aligned
  }
  if (!format) {
    Fail(error, "no format chunk");
    return std::nullopt;
  }
  if (!haveData) {
    Fail(error, "no data chunk");
    return std::nullopt;
  }

  WaveData wave;
  wave.Format = *format;
  wave.DataBytes = static_cast<uint32_t>(std::min<size_t>(data.size(), 0xFFFFFFFFu));
  const int channels = format->Channels;
  const int bytesPerSample = format->BitsPerSample / 8;
  wave.Frames = static_cast<int64_t>(data.size() / static_cast<size_t>(channels * bytesPerSample));
  wave.Samples.resize(static_cast<size_t>(wave.Frames) * static_cast<size_t>(channels));
  const uint8_t* src = data.data();
  if (bytesPerSample == 1) {
    for (size_t i = 0; i < wave.Samples.size(); ++i) {
      wave.Samples[i] = static_cast<int16_t>((src[i] - 128) * 256);
    }
  } else {
    for (size_t i = 0; i < wave.Samples.size(); ++i) {
      wave.Samples[i] = static_cast<int16_t>(U16(src + 2 * i));
    }
  }
  return wave;
}

std::vector<uint8_t> BuildWaveHeader(uint32_t dataBytes, int channels, int rate, int bits) {
  const uint32_t bytesPerSample = bits == 8 ? 1 : 2;
  std::vector<uint8_t> out;
  out.reserve(44);
  auto put = [&out](const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
  };
  auto u16 = [&out](uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto u32 = [&u16](uint32_t v) {
    u16(v & 0xFFFFu);
    u16(v >> 16);
  };
  const uint32_t blockAlign = static_cast<uint32_t>(channels) * bytesPerSample;
  put("RIFF");
  u32(36 + dataBytes + (dataBytes & 1u));
  put("WAVE");
  put("fmt ");
  u32(16);
  u16(kFormatPcm);
  u16(static_cast<uint32_t>(channels));
  u32(static_cast<uint32_t>(rate));
  u32(static_cast<uint32_t>(rate) * blockAlign);
  u16(blockAlign);
  u16(static_cast<uint32_t>(bits));
  put("data");
  u32(dataBytes);
  return out;
}

std::vector<uint8_t> BuildWave(const std::vector<int16_t>& interleaved, int channels, int rate,
                               int bits) {
  const uint32_t bytesPerSample = bits == 8 ? 1 : 2;
  const uint32_t dataBytes = static_cast<uint32_t>(interleaved.size()) * bytesPerSample;
  std::vector<uint8_t> out = BuildWaveHeader(dataBytes, channels, rate, bits);
  out.reserve(44 + dataBytes + 1);
  auto u16 = [&out](uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
  };
  for (int16_t s : interleaved) {
    if (bits == 8) {
      out.push_back(static_cast<uint8_t>((s >> 8) + 128));
    } else {
      u16(static_cast<uint16_t>(s));
    }
  }
  if (dataBytes & 1u) out.push_back(0);
  return out;
}

}  // namespace tessaru
