#include "gen/wave.h"

#include <algorithm>
#include <cmath>

namespace tessaru::gen {
namespace {
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}
}  // namespace

std::vector<uint8_t> EncodeWave(const Wave& wave) {
  const uint32_t channels = static_cast<uint32_t>(std::max(1, wave.channels));
  const uint32_t dataBytes = static_cast<uint32_t>(wave.samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  PutTag(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, channels);
  Put32(out, static_cast<uint32_t>(wave.rate));
  Put32(out, static_cast<uint32_t>(wave.rate) * channels * 2);
  Put16(out, channels * 2);
  Put16(out, 16);
  PutTag(out, "data");
  Put32(out, dataBytes);
  for (float s : wave.samples) {
    const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    Put16(out, static_cast<uint32_t>(static_cast<int16_t>(v)) & 0xFFFF);
  }
  return out;
}

float Peak(const std::vector<float>& samples) {
  float peak = 0;
  for (float s : samples) peak = std::max(peak, std::fabs(s));
  return peak;
}

void MixInto(std::vector<float>& dst, int dstChannels, const std::vector<float>& src, size_t offset,
             float gain) {
  const size_t ch = static_cast<size_t>(std::max(1, dstChannels));
  const size_t need = (offset + src.size()) * ch;
  if (dst.size() < need) dst.resize(need, 0.0f);
  for (size_t i = 0; i < src.size(); ++i)
    for (size_t c = 0; c < ch; ++c) dst[(offset + i) * ch + c] += src[i] * gain;
}

std::vector<float> Resample(const std::vector<float>& mono, int fromRate, int toRate) {
  if (fromRate == toRate || mono.empty()) return mono;
  const double ratio = static_cast<double>(fromRate) / toRate;
  const size_t n = static_cast<size_t>(static_cast<double>(mono.size()) / ratio);
  std::vector<float> out(n);
  for (size_t i = 0; i < n; ++i) {
    const double pos = static_cast<double>(i) * ratio;
    const size_t j = static_cast<size_t>(pos);
    const double f = pos - static_cast<double>(j);
    const float a = mono[std::min(j, mono.size() - 1)];
    const float b = mono[std::min(j + 1, mono.size() - 1)];
    out[i] = static_cast<float>(a + (b - a) * f);
  }
  return out;
}

double ToDbfs(double linear) { return linear > 0 ? 20.0 * std::log10(linear) : -200.0; }

}  // namespace tessaru::gen
