#include "sound/wave_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "core/testing/kept_inputs.h"

namespace tessaru {
namespace {

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint8_t> FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  std::vector<uint8_t> f(16);
  f[0] = static_cast<uint8_t>(tag);
  f[1] = static_cast<uint8_t>(tag >> 8);
  f[2] = static_cast<uint8_t>(channels);
  PutU32(f, 4, rate);
  f[12] = static_cast<uint8_t>(channels * bits / 8);
  f[14] = static_cast<uint8_t>(bits);
  return f;
}

std::vector<uint8_t> RiffHeader() { return {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}; }

TEST(WaveFile, EveryPcmLayoutRoundTrips) {
  struct Case {
    int channels, rate, bits;
  };
  const std::vector<int16_t> samples = {0, 256, -256, 32512, -32768, 1024, 12800, -12800};
  for (const Case c : {Case{1, 22050, 16}, Case{2, 44100, 16}, Case{1, 8000, 8},
                       Case{2, 11025, 8}, Case{2, 96000, 16}}) {
    SCOPED_TRACE(::testing::Message() << c.channels << "ch " << c.rate << "Hz " << c.bits << "bit");
    std::string error;
    const auto wave = ParseWave(BuildWave(samples, c.channels, c.rate, c.bits), &error);
    ASSERT_TRUE(wave.has_value()) << error;
    EXPECT_EQ(wave->Format.Channels, c.channels);
    EXPECT_EQ(wave->Format.SamplesPerSec, c.rate);
    EXPECT_EQ(wave->Format.BitsPerSample, c.bits);
    EXPECT_EQ(wave->Frames, static_cast<int64_t>(samples.size()) / c.channels);
    EXPECT_EQ(wave->DataBytes, samples.size() * static_cast<size_t>(c.bits / 8));
    // These values survive 8 bits exactly (multiples of 256).
    EXPECT_EQ(wave->Samples, samples);
  }
}

// A RIFF/WAVE file of the given chunks: (tag, body, declared size).
std::vector<uint8_t> Riff(std::vector<std::tuple<const char*, std::vector<uint8_t>, uint32_t>> chunks) {
  std::vector<uint8_t> b = RiffHeader();
  for (const auto& [tag, body, size] : chunks) {
    b.insert(b.end(), tag, tag + 4);
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(size >> (8 * i)));
    b.insert(b.end(), body.begin(), body.end());
  }
  return b;
}

TEST(WaveFile, ToleratesWhatRealWritersDo) {
  const auto mono16 = FmtBody(1, 1, 22050, 16);
  // WAVE_FORMAT_EXTENSIBLE with the PCM sub-format.
  std::vector<uint8_t> ext = FmtBody(0xFFFE, 2, 48000, 16);
  ext.resize(40);
  ext[16] = 22;
  ext[18] = 16;
  ext[24] = 1;
  const uint8_t tail[14] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
  std::memcpy(ext.data() + 26, tail, 14);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    std::vector<int16_t> samples;
    uint32_t dataBytes;
    int rate = 22050;
  };
  const Case cases[] = {
      {"8 bits are unsigned around the middle",
       Riff({{"fmt ", FmtBody(1, 1, 22050, 8), 16}, {"data", {0x00, 0x80, 0xFF}, 3}}), {-32768, 0, 32512}, 3},
      {"an odd-sized chunk before the data is padded to an even boundary",
       Riff({{"fmt ", mono16, 16}, {"LIST", {'a', 'b', 'c', 0}, 3}, {"data", {1, 0, 2, 0}, 4}}), {1, 2}, 4},
      {"data before the format", Riff({{"data", {1, 0, 2, 0}, 4}, {"fmt ", FmtBody(1, 2, 22050, 16), 16}}), {1, 2}, 4},
      {"a streamed data size never filled in runs to the end",
       Riff({{"fmt ", mono16, 16}, {"data", {1, 0, 2, 0, 3, 0}, 0xFFFFFFFFu}}), {1, 2, 3}, 6},
      // Lengths are figured from the byte count, but only whole frames are decoded.
      {"an odd data size", Riff({{"fmt ", FmtBody(1, 2, 22050, 16), 16}, {"data", {1, 0, 2, 0, 3, 0, 4}, 7}}), {1, 2}, 7},
      {"extensible PCM", Riff({{"fmt ", ext, 40}, {"data", {1, 0, 2, 0}, 4}}), {1, 2}, 4, 48000},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto wave = ParseWave(c.bytes, &error);
    ASSERT_TRUE(wave.has_value()) << c.name << ": " << error;
    EXPECT_EQ(wave->Samples, c.samples) << c.name;
    EXPECT_EQ(wave->Frames, static_cast<int64_t>(c.samples.size()) / wave->Format.Channels) << c.name;
    EXPECT_EQ(wave->DataBytes, c.dataBytes) << c.name;
    EXPECT_EQ(wave->Format.SamplesPerSec, c.rate) << c.name;
  }
}

TEST(WaveFile, RefusesMalformedFilesWithAReason) {
  auto withFmt = [](std::vector<uint8_t> fmt, uint32_t fmtSize) {
    return Riff({{"fmt ", std::move(fmt), fmtSize}, {"data", {0, 0, 0, 0}, 4}});
  };
  const auto mono16 = FmtBody(1, 1, 22050, 16);
  std::vector<uint8_t> truncated = withFmt(mono16, 16);
  ASSERT_TRUE(ParseWave(truncated).has_value());
  truncated.pop_back();
  std::vector<uint8_t> floatExtensible = FmtBody(0xFFFE, 2, 48000, 16);
  floatExtensible.resize(40);
  floatExtensible[24] = 3;
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"not riff", {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}},
      {"not wave", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}},
      {"header only", RiffHeader()},
      {"truncated data", truncated},
      {"no data chunk", Riff({{"fmt ", mono16, 16}})},
      {"no format chunk", Riff({{"data", {0, 0}, 2}})},
      {"chunk size beyond the file", Riff({{"junk", {1, 2, 3}, 0x7FFFFFF0u}})},
      {"format chunk beyond the file", Riff({{"fmt ", mono16, 400}})},
      {"format chunk too short", withFmt({1, 0, 1, 0}, 4)},
      {"float samples", withFmt(FmtBody(3, 1, 22050, 32), 16)},
      {"compressed", withFmt(FmtBody(2, 1, 22050, 4), 16)},
      {"24 bit", withFmt(FmtBody(1, 1, 22050, 24), 16)},
      {"three channels", withFmt(FmtBody(1, 3, 22050, 16), 16)},
      {"zero channels", withFmt(FmtBody(1, 0, 22050, 16), 16)},
      {"rate zero", withFmt(FmtBody(1, 1, 0, 16), 16)},
      {"rate absurd", withFmt(FmtBody(1, 1, 4000000, 16), 16)},
      {"extensible float", withFmt(floatExtensible, 40)},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseWave(c.bytes, &error).has_value()) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
}

TEST(FuzzRegressions, KeptWaveInputsKeepTheirOutcome) {
  testing_support::ReplayKeptInputs(
      std::string(TESSARU_FIXTURES) + "/fuzz",
      [](const std::string&, const std::vector<uint8_t>& bytes) { return ParseWave(bytes).has_value(); }, 4);
}

}  // namespace
}  // namespace tessaru
