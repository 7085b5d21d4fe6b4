#include "gen/wave.h"

#include <algorithm>
#include <cmath>

#include "sound/wave_file.h"

namespace tessaru::gen {

std::vector<uint8_t> EncodeWave(const Wave& wave) {
  std::vector<int16_t> pcm;
  pcm.reserve(wave.samples.size());
  for (float s : wave.samples) {
    pcm.push_back(static_cast<int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f)));
  }
  return BuildWave(pcm, std::max(1, wave.channels), wave.rate, 16);
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
