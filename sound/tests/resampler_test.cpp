#include "sound/resampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tessaru {
namespace {

std::vector<int16_t> Sine(double freq, int rate, int frames, double amplitude, int channels = 1) {
  std::vector<int16_t> out(static_cast<size_t>(frames * channels), 0);
  for (int i = 0; i < frames; ++i) {
    out[static_cast<size_t>(i * channels)] = static_cast<int16_t>(
        std::lround(amplitude * std::sin(2 * std::numbers::pi * freq * i / rate)));
  }
  return out;
}

struct Fit {
  double amplitude;
  double residualDb;  // what is left after removing the fitted sine, relative to it
};

// Least-squares fit of a sine of the given frequency over the middle of one channel.
Fit FitSine(const std::vector<int16_t>& x, int channels, int channel, double freq, int rate) {
  const int frames = static_cast<int>(x.size()) / channels;
  const int from = frames / 8;
  const int to = frames - frames / 8;
  double ss = 0, sc = 0, cc = 0, xs = 0, xc = 0;
  for (int i = from; i < to; ++i) {
    const double w = 2 * std::numbers::pi * freq * i / rate;
    const double s = std::sin(w), c = std::cos(w), v = x[static_cast<size_t>(i * channels + channel)];
    ss += s * s;
    sc += s * c;
    cc += c * c;
    xs += v * s;
    xc += v * c;
  }
  const double det = ss * cc - sc * sc;
  const double a = (xs * cc - xc * sc) / det;
  const double b = (xc * ss - xs * sc) / det;
  double residual = 0;
  for (int i = from; i < to; ++i) {
    const double w = 2 * std::numbers::pi * freq * i / rate;
    const double e = x[static_cast<size_t>(i * channels + channel)] - (a * std::sin(w) + b * std::cos(w));
    residual += e * e;
  }
  const double amplitude = std::hypot(a, b);
  const double rms = std::sqrt(residual / (to - from));
  return {amplitude, 20 * std::log10(rms / (amplitude / std::sqrt(2.0)))};
}

TEST(Resampler, FrameCountsKeepTheTail) {
  EXPECT_EQ(ResampledFrames(22050, 22050, 44100), 44100);
  EXPECT_EQ(ResampledFrames(1, 22050, 44100), 2);
  EXPECT_EQ(ResampledFrames(3, 44100, 22050), 2);  // 1.5 rounds up
  EXPECT_EQ(ResampledFrames(48000, 48000, 44100), 44100);
  EXPECT_EQ(ResampledFrames(0, 22050, 44100), 0);
  EXPECT_EQ(ResampledFrames(10, 0, 44100), 0);
}

TEST(Resampler, EqualRatesCopy) {
  const std::vector<int16_t> in = {1, -2, 3, 32767, -32768};
  EXPECT_EQ(Resample(in, 1, 44100, 44100), in);
}

TEST(Resampler, SinesKeepFrequencyAndLevelChannelsApartWhatCannotBeRepresentedRemoved) {
  struct Case {
    int from, to;
    double freq;
  };
  for (const Case c : {Case{22050, 44100, 1000.0}, Case{11025, 44100, 3000.0}, Case{48000, 44100, 5000.0},
                       Case{44100, 22050, 440.0}, Case{32000, 22050, 7000.0}, Case{8000, 44100, 2500.0},
                       Case{44099, 44100, 10000.0}, Case{48000, 22050, 15000.0}}) {
    SCOPED_TRACE(::testing::Message() << c.from << " -> " << c.to << " at " << c.freq << " Hz");
    // The left channel carries the sine, the right one is silent.
    const std::vector<int16_t> out = Resample(Sine(c.freq, c.from, c.from / 2, 20000.0, 2), 2, c.from, c.to);
    ASSERT_EQ(static_cast<int64_t>(out.size()), 2 * ResampledFrames(c.from / 2, c.from, c.to));
    for (size_t i = 1; i < out.size(); i += 2) ASSERT_EQ(out[i], 0) << "right channel at " << i / 2;
    if (c.freq < c.to / 2) {
      const Fit fit = FitSine(out, 2, 0, c.freq, c.to);
      EXPECT_NEAR(20 * std::log10(fit.amplitude / 20000.0), 0.0, 0.05);
      EXPECT_LT(fit.residualDb, -70.0);
    } else {
      // Above the new Nyquist frequency: no alias may fold back.
      const Fit alias = FitSine(out, 2, 0, c.to - c.freq, c.to);
      EXPECT_LT(20 * std::log10(std::max(alias.amplitude, 1e-9) / 20000.0), -60.0);
    }
  }
}

TEST(Resampler, FullScaleDoesNotWrap) {
  // A full-scale square overshoots after band limiting; it must clip, not wrap around.
  std::vector<int16_t> in(2000);
  for (size_t i = 0; i < in.size(); ++i) in[i] = (i / 50) % 2 ? int16_t{32767} : int16_t{-32768};
  const std::vector<int16_t> out = Resample(in, 1, 22050, 44100);
  for (size_t i = 200; i + 200 < out.size(); ++i) {
    const int16_t before = in[(i / 2)];
    // Near a plateau of the input the output keeps the input's sign.
    if (i % 100 > 20 && i % 100 < 80) {
      ASSERT_EQ(out[i] > 0, before > 0) << i;
    }
  }
}

}  // namespace
}  // namespace tessaru
