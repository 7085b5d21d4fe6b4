#pragma once
// PCM audio as the generator builds it (floats, interleaved) and the WAVE bytes the game
// reads (16-bit PCM).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaru::gen {

struct Wave {
  int rate = 44100;
  int channels = 1;
  std::vector<float> samples;  // interleaved, full scale = 1.0
  size_t Frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
  double Seconds() const { return rate > 0 ? static_cast<double>(Frames()) / rate : 0.0; }
};

// RIFF WAVE, PCM 16-bit; samples beyond full scale are clipped (the mix is levelled
// before this, so clipping only guards rounding).
std::vector<uint8_t> EncodeWave(const Wave& wave);
float Peak(const std::vector<float>& samples);
// Adds src into dst starting at frame offset (mono into mono or stereo).
void MixInto(std::vector<float>& dst, int dstChannels, const std::vector<float>& src, size_t offset,
             float gain = 1.0f);
// Linear resampling of a mono signal.
std::vector<float> Resample(const std::vector<float>& mono, int fromRate, int toRate);
// Decibels relative to full scale of a linear peak.
double ToDbfs(double linear);

}  // namespace tessaru::gen
