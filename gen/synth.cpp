#include "gen/synth.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tessaru::gen {
namespace {

constexpr double kTwoPi = 6.283185307179586;

// A small deterministic noise source: the same note always renders the same bytes.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
  double Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
  }

 private:
  uint32_t state_;
};

double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

// Band-limited oscillators driven by a phase in [0, 1).
struct Osc {
  double phase = 0;
  double Saw(double hz, int rate) {
    const double dt = hz / rate;
    double v = 2.0 * phase - 1.0 - PolyBlep(phase, dt);
    Advance(dt);
    return v;
  }
  double Pulse(double hz, int rate, double duty) {
    const double dt = hz / rate;
    double v = phase < duty ? 1.0 : -1.0;
    v += PolyBlep(phase, dt);
    double shifted = phase - duty;
    if (shifted < 0) shifted += 1.0;
    v -= PolyBlep(shifted, dt);
    Advance(dt);
    return v;
  }
  double Sine(double hz, int rate) {
    const double v = std::sin(kTwoPi * phase);
    Advance(hz / rate);
    return v;
  }
  double Triangle(double hz, int rate) {
    const double v = 1.0 - 4.0 * std::fabs(phase - 0.5);
    Advance(hz / rate);
    return v;
  }
  void Advance(double dt) {
    phase += dt;
    phase -= std::floor(phase);
  }
};

// Chamberlin state-variable filter; cutoff may change every sample.
struct Svf {
  double low = 0, band = 0;
  double Low(double in, double cutoff, double q, int rate) {
    Step(in, cutoff, q, rate);
    return low;
  }
  double Band(double in, double cutoff, double q, int rate) {
    Step(in, cutoff, q, rate);
    return band;
  }
  double High(double in, double cutoff, double q, int rate) {
    const double high = Step(in, cutoff, q, rate);
    return high;
  }
  // Run at twice the rate: the plain form turns unstable above about a sixth of the rate.
  double Step(double in, double cutoff, double q, int rate) {
    const double f = 2.0 * std::sin(3.141592653589793 * std::min(cutoff, rate * 0.3) / (2.0 * rate));
    const double damp = 1.0 / std::max(0.5, q);
    double high = 0;
    for (int pass = 0; pass < 2; ++pass) {
      high = in - low - damp * band;
      band += f * high;
      low += f * band;
    }
    return high;
  }
};

// Attack-decay-sustain-release gain at time t for a key held `hold` seconds.
double Adsr(double t, double hold, double a, double d, double s, double r) {
  double level;
  auto held = [&](double x) {
    if (x < a) return a > 0 ? x / a : 1.0;
    return s + (1.0 - s) * std::exp(-(x - a) / std::max(1e-4, d));
  };
  if (t < hold) {
    level = held(t);
  } else {
    level = held(hold) * std::exp(-(t - hold) / std::max(1e-4, r));
  }
  return level;
}

double Decay(double t, double tau) { return std::exp(-t / tau); }

// A plucked string (Karplus-Strong) with a brightness control.
std::vector<float> Pluck(double hz, double seconds, double brightness, double damping, int rate,
                         Noise& noise, double hold) {
  const size_t n = static_cast<size_t>(seconds * rate);
  std::vector<float> out(n);
  const size_t period = std::max<size_t>(2, static_cast<size_t>(rate / hz));
  std::vector<double> line(period);
  Svf shape;
  for (auto& v : line) v = shape.Low(noise.Next(), 800 + 7000 * brightness, 0.7, rate);
  size_t idx = 0;
  double prev = 0;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double cur = line[idx];
    const double loss = t < hold ? damping : 0.90;
    const double next = loss * (0.5 * (cur + prev));
    prev = cur;
    line[idx] = next;
    idx = (idx + 1) % period;
    out[i] = static_cast<float>(cur);
  }
  return out;
}

uint32_t SeedOf(Instrument instrument, int midi, double velocity) {
  return static_cast<uint32_t>(instrument) * 7919u + static_cast<uint32_t>(midi + 200) * 131u +
         static_cast<uint32_t>(velocity * 100);
}

}  // namespace

bool IsDrum(Instrument i) { return i <= Instrument::Woodblock; }

double MidiToHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

std::vector<float> RenderNote(Instrument instrument, int midi, double seconds, double velocity,
                              int rate, double maxSeconds) {
  Noise noise(SeedOf(instrument, midi, velocity));
  const double hz = MidiToHz(midi);
  double tail = 0.25;
  double length = seconds;
  switch (instrument) {
    case Instrument::Kick: length = 0.45; tail = 0; break;
    case Instrument::Snare: length = 0.32; tail = 0; break;
    case Instrument::Clap: length = 0.3; tail = 0; break;
    case Instrument::ClosedHat: length = 0.09; tail = 0; break;
    case Instrument::OpenHat: length = 0.45; tail = 0; break;
    case Instrument::Crash: length = 1.8; tail = 0; break;
    case Instrument::Ride: length = 1.2; tail = 0; break;
    case Instrument::TomLow: case Instrument::TomMid: case Instrument::TomHigh: length = 0.5; tail = 0; break;
    case Instrument::Rim: case Instrument::Woodblock: length = 0.08; tail = 0; break;
    case Instrument::Shaker: length = 0.12; tail = 0; break;
    case Instrument::Tambourine: length = 0.3; tail = 0; break;
    case Instrument::CongaLow: case Instrument::CongaHigh: length = 0.35; tail = 0; break;
    case Instrument::Cowbell: length = 0.35; tail = 0; break;
    case Instrument::Guitar: case Instrument::CleanGuitar: case Instrument::RockGuitar:
    case Instrument::Piano: case Instrument::EPiano: case Instrument::Bell: tail = 0.5; break;
    case Instrument::Pad: case Instrument::Strings: case Instrument::Choir: tail = 0.6; break;
    case Instrument::Impact: length = 1.8; tail = 0; break;
    default: break;
  }
  const double total = std::min(maxSeconds, length + tail);
  const size_t n = static_cast<size_t>(std::max(0.01, total) * rate);
  std::vector<float> out(n, 0.0f);
  const double hold = std::min(seconds, total);
  Osc o1, o2, o3, lfo;
  Svf f1, f2, f3;
  switch (instrument) {
    case Instrument::Kick: {
      double phase = 0;
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double f = 45 + 110 * Decay(t, 0.035);
        phase += f / rate;
        const double body = std::sin(kTwoPi * phase) * Decay(t, 0.32);
        const double click = noise.Next() * Decay(t, 0.004) * 0.4;
        out[i] = static_cast<float>(std::tanh(1.6 * (body + click)) * 0.95);
      }
      break;
    }
    case Instrument::Snare: case Instrument::Clap: {
      const bool clap = instrument == Instrument::Clap;
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double tone = clap ? 0 : std::sin(kTwoPi * 185 * t) * Decay(t, 0.05) * 0.6;
        double env = Decay(t, clap ? 0.09 : 0.12);
        if (clap) {
          const double burst = std::fmod(t, 0.011);
          if (t < 0.033) env = Decay(burst, 0.004);
        }
        const double nz = f1.Band(noise.Next(), clap ? 1300 : 3200, clap ? 1.4 : 0.6, rate);
        out[i] = static_cast<float>((tone + nz * env * 1.1) * 0.8);
      }
      break;
    }
    case Instrument::ClosedHat: case Instrument::OpenHat: case Instrument::Crash:
    case Instrument::Ride: case Instrument::Tambourine: {
      static constexpr std::array<double, 6> kRatios{2.0, 3.0, 4.16, 5.43, 6.79, 8.21};
      std::array<Osc, 6> metal{};
      const double tau = instrument == Instrument::ClosedHat ? 0.025
                         : instrument == Instrument::OpenHat ? 0.14
                         : instrument == Instrument::Crash   ? 0.6
                         : instrument == Instrument::Ride    ? 0.35
                                                             : 0.08;
      const double base = instrument == Instrument::Ride ? 300 : 410;
      const double noiseMix = instrument == Instrument::Ride ? 0.3 : 0.8;
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        double m = 0;
        for (size_t k = 0; k < kRatios.size(); ++k) m += metal[k].Pulse(base * kRatios[k], rate, 0.5);
        const double src = m / 6.0 * (1 - noiseMix) + noise.Next() * noiseMix;
        const double hp = f1.High(src, instrument == Instrument::Tambourine ? 5000 : 7000, 0.7, rate);
        double env = Decay(t, tau) * std::min(1.0, t * rate / 20.0);
        if (instrument == Instrument::Tambourine) env *= 0.7 + 0.3 * std::cos(kTwoPi * 28 * t);
        out[i] = static_cast<float>(hp * env * 0.7);
      }
      break;
    }
    case Instrument::TomLow: case Instrument::TomMid: case Instrument::TomHigh: {
      const double f0 = instrument == Instrument::TomLow ? 95 : instrument == Instrument::TomMid ? 135 : 185;
      double phase = 0;
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        phase += f0 * (1 + 0.5 * Decay(t, 0.05)) / rate;
        out[i] = static_cast<float>((std::sin(kTwoPi * phase) * 0.9 + noise.Next() * 0.15 * Decay(t, 0.02)) * Decay(t, 0.22) * 0.85);
      }
      break;
    }
    case Instrument::Rim: case Instrument::Woodblock: {
      const double f0 = instrument == Instrument::Rim ? 1700 : 950;
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        out[i] = static_cast<float>(std::sin(kTwoPi * f0 * t) * Decay(t, 0.018) * 0.7 + noise.Next() * Decay(t, 0.003) * 0.3);
      }
      break;
    }
    case Instrument::Shaker: {
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double env = std::min(1.0, t / 0.012) * Decay(std::max(0.0, t - 0.012), 0.035);
        out[i] = static_cast<float>(f1.Band(noise.Next(), 6500, 1.0, rate) * env * 0.8);
      }
      break;
    }
    case Instrument::CongaLow: case Instrument::CongaHigh: {
      const double f0 = instrument == Instrument::CongaLow ? 210 : 320;
      double phase = 0;
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        phase += f0 * (1 + 0.15 * Decay(t, 0.02)) / rate;
        out[i] = static_cast<float>((std::sin(kTwoPi * phase) + 0.3 * noise.Next() * Decay(t, 0.006)) * Decay(t, 0.13) * 0.8);
      }
      break;
    }
    case Instrument::Cowbell: {
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double v = o1.Pulse(545, rate, 0.5) + o2.Pulse(815, rate, 0.5);
        out[i] = static_cast<float>(f1.Band(v, 900, 2.0, rate) * Decay(t, 0.09) * 0.5);
      }
      break;
    }
    case Instrument::Bass: case Instrument::SynthBass: case Instrument::SubBass: case Instrument::ChipBass: {
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double env = Adsr(t, hold, 0.004, 0.25, 0.6, 0.06);
        double v;
        if (instrument == Instrument::SubBass) {
          const double s = o1.Sine(hz, rate);
          v = std::tanh(1.5 * s) * 0.8;
        } else if (instrument == Instrument::ChipBass) {
          v = o1.Triangle(hz, rate) * 0.9;
        } else if (instrument == Instrument::SynthBass) {
          const double cutoff = 300 + 2400 * Decay(t, 0.09) * velocity;
          v = f1.Low(o1.Saw(hz, rate) + 0.5 * o2.Pulse(hz * 1.003, rate, 0.5), cutoff, 3.0, rate) * 0.7;
        } else {
          const double cutoff = 250 + 1200 * Decay(t, 0.12);
          v = f1.Low(0.7 * o1.Saw(hz, rate) + 0.6 * o2.Sine(hz, rate), cutoff, 0.9, rate) * 1.2;
        }
        out[i] = static_cast<float>(v * env);
      }
      break;
    }
    case Instrument::Guitar: case Instrument::CleanGuitar: case Instrument::RockGuitar: {
      const bool rock = instrument == Instrument::RockGuitar;
      const std::vector<float> s = Pluck(hz, total, rock ? 0.9 : instrument == Instrument::Guitar ? 0.7 : 0.45,
                                         rock ? 0.998 : 0.996, rate, noise, hold);
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        double v = s[i];
        if (rock) v = std::tanh(4.0 * v) * 0.45;
        else v = f1.Low(v, 5000, 0.7, rate) * 0.9;
        out[i] = static_cast<float>(v * (t < hold ? 1.0 : Decay(t - hold, 0.08)));
      }
      break;
    }
    case Instrument::EPiano: case Instrument::Bell: {
      const bool bell = instrument == Instrument::Bell;
      double cPhase = 0, mPhase = 0;
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double index = (bell ? 3.0 : 1.8) * Decay(t, bell ? 0.6 : 0.25) * (0.6 + 0.6 * velocity);
        mPhase += hz * (bell ? 3.5 : 1.0) / rate;
        cPhase += hz / rate;
        double v = std::sin(kTwoPi * cPhase + index * std::sin(kTwoPi * mPhase));
        if (!bell) v += 0.15 * std::sin(kTwoPi * hz * 14 * t) * Decay(t, 0.02);
        const double env = bell ? Decay(t, 0.9) : Adsr(t, hold, 0.002, 1.2, 0.3, 0.15);
        out[i] = static_cast<float>(v * env * 0.55);
      }
      break;
    }
    case Instrument::Piano: {
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        double v = 0;
        for (int k = 1; k <= 6; ++k) {
          const double fk = hz * k * std::sqrt(1 + 0.0004 * k * k);
          v += std::sin(kTwoPi * fk * t) * Decay(t, 1.2 / k) / k;
        }
        const double env = std::min(1.0, t / 0.002) * (t < hold ? 1.0 : Decay(t - hold, 0.12));
        out[i] = static_cast<float>(v * env * 0.45);
      }
      break;
    }
    case Instrument::Organ: {
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double v = o1.Sine(hz, rate) + 0.6 * o2.Sine(hz * 2, rate) + 0.4 * o3.Sine(hz * 3, rate);
        out[i] = static_cast<float>(v * Adsr(t, hold, 0.005, 0.1, 0.85, 0.04) * 0.35);
      }
      break;
    }
    case Instrument::SawLead: case Instrument::SquareLead: case Instrument::Brass: case Instrument::Sax: {
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double vib = 1.0 + 0.004 * std::sin(kTwoPi * 5.5 * t) * std::min(1.0, t / 0.3);
        double v;
        if (instrument == Instrument::SquareLead) {
          v = o1.Pulse(hz * vib, rate, 0.25) * 0.45;
          v *= Adsr(t, hold, 0.002, 0.2, 0.7, 0.05);
        } else if (instrument == Instrument::SawLead) {
          v = 0.5 * (o1.Saw(hz * vib, rate) + o2.Saw(hz * vib * 1.006, rate));
          v = f1.Low(v, 2500 + 2000 * Decay(t, 0.2), 1.2, rate) * 0.55;
          v *= Adsr(t, hold, 0.005, 0.3, 0.75, 0.08);
        } else if (instrument == Instrument::Brass) {
          const double cutoff = 500 + 3200 * std::min(1.0, t / 0.06) * (0.7 + 0.3 * velocity);
          v = f1.Low(0.5 * (o1.Saw(hz * vib, rate) + o2.Saw(hz * 1.004 * vib, rate)), cutoff, 0.9, rate) * 0.6;
          v *= Adsr(t, hold, 0.025, 0.3, 0.8, 0.08);
        } else {
          v = f1.Low(o1.Pulse(hz * vib, rate, 0.4), 1800, 1.5, rate) * 0.55;
          v *= Adsr(t, hold, 0.02, 0.2, 0.8, 0.07);
        }
        out[i] = static_cast<float>(v);
      }
      break;
    }
    case Instrument::Choir: {
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double vib = 1.0 + 0.005 * std::sin(kTwoPi * 5.0 * t);
        const double src = o1.Saw(hz * vib, rate) + o2.Saw(hz * vib * 1.007, rate);
        const double v = f1.Band(src, 750, 4.0, rate) + 0.7 * f2.Band(src, 1150, 5.0, rate) +
                         0.25 * f3.Band(src, 2800, 6.0, rate);
        out[i] = static_cast<float>(v * Adsr(t, hold, 0.09, 0.3, 0.85, 0.25) * 0.45);
      }
      break;
    }
    case Instrument::Pad: case Instrument::Strings: {
      const bool strings = instrument == Instrument::Strings;
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double v = (o1.Saw(hz * 0.997, rate) + o2.Saw(hz * 1.003, rate) + o3.Saw(hz * (strings ? 1.0 : 2.0), rate)) / 3.0;
        const double lp = f1.Low(v, strings ? 3200 : 1400, 0.8, rate);
        out[i] = static_cast<float>(lp * Adsr(t, hold, strings ? 0.12 : 0.35, 0.5, 0.9, 0.35) * 0.55);
      }
      break;
    }
    case Instrument::Pluck: {
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double v = f1.Low(o1.Saw(hz, rate) + 0.5 * o2.Pulse(hz * 2.001, rate, 0.5), 600 + 5000 * Decay(t, 0.07), 1.5, rate);
        out[i] = static_cast<float>(v * Decay(t, 0.25) * (t < hold ? 1.0 : Decay(t - hold, 0.1)) * 0.5);
      }
      break;
    }
    case Instrument::Flute: {
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double vib = 1.0 + 0.006 * std::sin(kTwoPi * 5.2 * t) * std::min(1.0, t / 0.25);
        const double v = o1.Sine(hz * vib, rate) + 0.2 * o2.Sine(hz * 2 * vib, rate) + 0.08 * f1.Band(noise.Next(), hz * 2, 2, rate);
        out[i] = static_cast<float>(v * Adsr(t, hold, 0.04, 0.2, 0.85, 0.08) * 0.55);
      }
      break;
    }
    case Instrument::Riser: {
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double p = std::min(1.0, t / std::max(0.1, hold));
        const double v = f1.Band(noise.Next(), 300 + 6000 * p * p, 2.0, rate);
        out[i] = static_cast<float>(v * p * p * (t < hold ? 1.0 : Decay(t - hold, 0.05)) * 0.5);
      }
      break;
    }
    case Instrument::Impact: {
      double phase = 0;
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        phase += (40 + 60 * Decay(t, 0.1)) / rate;
        const double v = std::sin(kTwoPi * phase) * Decay(t, 0.6) + f1.Low(noise.Next(), 2000, 0.7, rate) * Decay(t, 0.4) * 0.4;
        out[i] = static_cast<float>(v * 0.7);
      }
      break;
    }
    case Instrument::Noise: {
      for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double crackle = noise.Next() > 0.9993 ? noise.Next() : 0.0;
        const double hiss = f1.Low(noise.Next(), 2500, 0.5, rate) * 0.05;
        out[i] = static_cast<float>((crackle * 0.5 + hiss) * Adsr(t, hold, 0.3, 1, 1, 0.3));
      }
      break;
    }
  }
  for (auto& s : out) s = static_cast<float>(s * (0.35 + 0.65 * velocity));
  FadeOut(out, rate, 0.012);
  // Trim leading silence so the sound starts on its attack when its chip is hit.
  size_t lead = 0;
  while (lead < out.size() && std::fabs(out[lead]) < 1e-4f && lead < static_cast<size_t>(rate / 50)) ++lead;
  if (lead > 0) out.erase(out.begin(), out.begin() + static_cast<long>(lead));
  return out;
}

void FadeOut(std::vector<float>& mono, int rate, double seconds) {
  const size_t n = std::min(mono.size(), static_cast<size_t>(seconds * rate));
  for (size_t i = 0; i < n; ++i) {
    mono[mono.size() - n + i] *= static_cast<float>(1.0 - static_cast<double>(i + 1) / static_cast<double>(n));
  }
}

void AddReverb(std::vector<float>& mono, int rate, double wet, double roomSize) {
  static constexpr std::array<double, 4> kCombMs{29.7, 37.1, 41.1, 43.7};
  static constexpr std::array<double, 2> kAllMs{5.0, 1.7};
  std::vector<float> acc(mono.size(), 0.0f);
  for (double ms : kCombMs) {
    const size_t d = static_cast<size_t>(ms * rate / 1000.0);
    std::vector<float> buf(d, 0.0f);
    size_t idx = 0;
    float lp = 0;
    const float feedback = static_cast<float>(0.7 + 0.12 * roomSize);
    for (size_t i = 0; i < mono.size(); ++i) {
      const float out = buf[idx];
      lp = out * 0.6f + lp * 0.4f;
      buf[idx] = mono[i] + lp * feedback;
      idx = (idx + 1) % d;
      acc[i] += out * 0.25f;
    }
  }
  for (double ms : kAllMs) {
    const size_t d = static_cast<size_t>(ms * rate / 1000.0);
    std::vector<float> buf(d, 0.0f);
    size_t idx = 0;
    for (float& s : acc) {
      const float delayed = buf[idx];
      const float in = s;
      buf[idx] = in + delayed * 0.5f;
      s = delayed - in * 0.5f;
      idx = (idx + 1) % d;
    }
  }
  for (size_t i = 0; i < mono.size(); ++i) mono[i] += static_cast<float>(acc[i] * wet);
}

}  // namespace tessaru::gen
