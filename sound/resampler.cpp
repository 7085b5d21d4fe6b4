#include "sound/resampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace tessaru {
namespace {

// Zero crossings of the sinc on each side of the centre at the narrower of the two rates;
// with the Kaiser beta below this gives about 80 dB of stopband.
constexpr int kZeroCrossings = 16;
constexpr double kKaiserBeta = 8.0;
// The passband ends a little below the lower Nyquist frequency so that the transition
// band does not fold back into audible content.
constexpr double kCutoff = 0.94;
// Beyond this many distinct phases the fractional position is quantised to this many.
constexpr int64_t kMaxPhases = 4096;

double BesselI0(double x) {
  double sum = 1.0;
  double term = 1.0;
  for (int k = 1; k < 40; ++k) {
    term *= (x / (2.0 * k)) * (x / (2.0 * k));
    sum += term;
    if (term < sum * 1e-17) break;
  }
  return sum;
}

int16_t Clamp16(double v) {
  const double r = std::nearbyint(v);
  return static_cast<int16_t>(std::clamp(r, -32768.0, 32767.0));
}

}  // namespace

int64_t ResampledFrames(int64_t frames, int srcRate, int dstRate) {
  if (frames <= 0 || srcRate <= 0 || dstRate <= 0) return 0;
  return (frames * dstRate + srcRate - 1) / srcRate;
}

std::vector<int16_t> Resample(std::span<const int16_t> interleaved, int channels, int srcRate,
                              int dstRate) {
  if (channels <= 0 || srcRate <= 0 || dstRate <= 0) return {};
  if (srcRate == dstRate) return {interleaved.begin(), interleaved.end()};
  const int64_t srcFrames = static_cast<int64_t>(interleaved.size()) / channels;
  const int64_t dstFrames = ResampledFrames(srcFrames, srcRate, dstRate);
  std::vector<int16_t> out(static_cast<size_t>(dstFrames * channels));
  if (dstFrames == 0) return out;

  // Output frame j sits at source position j * srcRate / dstRate. With g = gcd the
  // fractional part takes dstRate / g distinct values, one filter phase each.
  const int64_t g = std::gcd(srcRate, dstRate);
  const int64_t step = srcRate / g;   // source advance per output frame, in 1/den units
  const int64_t den = dstRate / g;
  const int64_t phases = std::min(den, kMaxPhases);
  // Downsampling lowers the cutoff and widens the filter in source samples.
  const double scale = std::min(1.0, static_cast<double>(dstRate) / srcRate) * kCutoff;
  const int half = static_cast<int>(std::ceil(kZeroCrossings / scale));
  const int taps = 2 * half;

  // table[p * taps + k] weighs source frame (i0 - half + 1 + k) for fraction p / phases.
  std::vector<float> table(static_cast<size_t>(phases * taps));
  const double i0Beta = BesselI0(kKaiserBeta);
  for (int64_t p = 0; p < phases; ++p) {
    const double frac = static_cast<double>(p) / static_cast<double>(phases);
    double sum = 0.0;
    std::vector<double> w(static_cast<size_t>(taps));
    for (int k = 0; k < taps; ++k) {
      const double x = frac - static_cast<double>(k - half + 1);  // distance from the tap
      const double u = x / half;
      double v = 0.0;
      if (std::fabs(u) < 1.0) {
        const double arg = std::numbers::pi * scale * x;
        const double sinc = std::fabs(arg) < 1e-12 ? 1.0 : std::sin(arg) / arg;
        v = scale * sinc * BesselI0(kKaiserBeta * std::sqrt(1.0 - u * u)) / i0Beta;
      }
      w[static_cast<size_t>(k)] = v;
      sum += v;
    }
    // Each phase passes DC at exactly unity, so levels never drift between phases.
    for (int k = 0; k < taps; ++k) {
      table[static_cast<size_t>(p * taps + k)] = static_cast<float>(w[static_cast<size_t>(k)] / sum);
    }
  }

  // One channel at a time from a float copy, so the inner loop is a plain dot product.
  std::vector<float> plane(static_cast<size_t>(srcFrames));
  for (int c = 0; c < channels; ++c) {
    for (int64_t i = 0; i < srcFrames; ++i) {
      plane[static_cast<size_t>(i)] = interleaved[static_cast<size_t>(i * channels + c)];
    }
    int64_t whole = 0;  // integer source position of output frame j
    int64_t rem = 0;    // fractional part, in 1/den units
    for (int64_t j = 0; j < dstFrames; ++j) {
      const int64_t phase = phases == den ? rem : (rem * phases + den / 2) / den;
      int64_t base = whole - half + 1;
      const float* weights;
      if (phase == phases) {  // the quantised fraction rounded up to the next whole frame
        weights = table.data();
        ++base;
      } else {
        weights = table.data() + phase * taps;
      }
      const int64_t first = std::max<int64_t>(0, -base);
      const int64_t last = std::min<int64_t>(taps, srcFrames - base);
      const int64_t n = last - first;
      const float* w = weights + first;
      const float* x = plane.data() + (base + first);
      // Four partial sums keep the adds independent of each other.
      float a0 = 0.0f, a1 = 0.0f, a2 = 0.0f, a3 = 0.0f;
      int64_t k = 0;
      for (; k + 4 <= n; k += 4) {
        a0 += w[k] * x[k];
        a1 += w[k + 1] * x[k + 1];
        a2 += w[k + 2] * x[k + 2];
        a3 += w[k + 3] * x[k + 3];
      }
      for (; k < n; ++k) a0 += w[k] * x[k];
      out[static_cast<size_t>(j * channels + c)] = Clamp16((a0 + a1) + (a2 + a3));
      rem += step;
      whole += rem / den;
      rem %= den;
    }
  }
  return out;
}

}  // namespace tessaru
