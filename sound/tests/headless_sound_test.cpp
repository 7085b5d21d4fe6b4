// Whole-layer checks through the headless platform: the recorded output against a mix
// worked out by hand, and the keysound lag measured over many presses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/random.h"
#include "sound/tests/sound_test_support.h"

namespace tessaru {
namespace {

using test::HeadlessSound;

int16_t Saturated(double v) {
  return static_cast<int16_t>(std::clamp(std::nearbyint(v), -32768.0, 32767.0));
}

TEST(HeadlessSound, GoldenMix) {
  HeadlessSound h("golden");
  SoundLib& s = h.sound;
  ASSERT_TRUE(s.OpenSound(1));
  h.control.RecordAudio(true);
  const int latency = s.GetMixer().LatencyFrames();

  // A: a looped 300-frame mono ramp at -6 dB; B: a stereo one-shot panned right by
  // 10 dB; C: a loud mono tone that is stopped early and saturates against B.
  std::vector<int16_t> a(300), b(2 * 2000), c(4000);
  for (int i = 0; i < 300; ++i) a[i] = static_cast<int16_t>(i * 90 - 13000);
  for (int i = 0; i < 2000; ++i) {
    b[2 * i] = static_cast<int16_t>(((i * 37) % 2001) - 1000);
    b[2 * i + 1] = static_cast<int16_t>(20000 - i * 3);
  }
  for (int i = 0; i < 4000; ++i) c[i] = static_cast<int16_t>(i % 2 ? 30000 : 25000);
  const SoundSlot sa = s.LoadWave(h.WriteWave("a.wav", a, 1, 44100), 0, -600);
  const SoundSlot sb = s.LoadWave(h.WriteWave("b.wav", b, 2, 44100), 1000, 0);
  const SoundSlot sc = s.LoadWave(h.WriteWave("c.wav", c, 1, 44100), -300, -100);
  ASSERT_TRUE(sa >= 0 && sb >= 0 && sc >= 0);

  struct Start {
    double ms;
    SoundSlot slot;
    bool loop;
  };
  h.control.AdvanceMs(5.3);
  s.PlaySound(sa, true, true);
  h.control.AdvanceMs(12.6);
  s.PlaySound(sb, true, false);
  s.PlaySound(sc, true, false);
  h.control.AdvanceMs(22.1);
  s.StopSound(sc);
  h.control.AdvanceMs(100.0);

  const auto frameOf = [latency](double ms) { return latency + std::llround(ms * 44.1); };
  const int64_t aStart = frameOf(5.3), bStart = frameOf(17.9), cStart = bStart;
  const int64_t cStop = frameOf(40.0);
  const double aGain = std::pow(10.0, -600 / 2000.0);
  const double bLeft = std::pow(10.0, -1000 / 2000.0);
  const double cLeft = std::pow(10.0, -100 / 2000.0);
  const double cRight = std::pow(10.0, -400 / 2000.0);
  int mismatches = 0;
  int saturated = 0;
  for (int64_t f = 0; f < static_cast<int64_t>(h.RecordedFrames()); ++f) {
    double left = 0.0, right = 0.0;
    if (f >= aStart) {
      const double v = a[static_cast<size_t>((f - aStart) % 300)] * aGain;
      left += v;
      right += v;
    }
    if (f >= bStart && f - bStart < 2000) {
      left += b[static_cast<size_t>(2 * (f - bStart))] * bLeft;
      right += b[static_cast<size_t>(2 * (f - bStart) + 1)];
    }
    if (f >= cStart && f < cStop) {
      left += c[static_cast<size_t>(f - cStart)] * cLeft;
      right += c[static_cast<size_t>(f - cStart)] * cRight;
    }
    if (std::fabs(right) > 32767.0) ++saturated;
    // Single-precision mixing may round a half differently; nothing more.
    if (std::abs(h.Left(static_cast<size_t>(f)) - Saturated(left)) > 1 ||
        std::abs(h.Right(static_cast<size_t>(f)) - Saturated(right)) > 1) {
      if (++mismatches < 5) ADD_FAILURE() << "frame " << f;
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(saturated, 100);  // the case of clipping is covered
}

TEST(HeadlessSound, ASoundStartedAtATrackPositionLinesUpWithIt) {
  // The track sounds on the left, a click on the right; the click started when the
  // track reads position p must meet the track's frame p, as an automatic chip must.
  HeadlessSound h("sync");
  SoundLib& s = h.sound;
  ASSERT_TRUE(s.OpenSound(1));
  h.control.RecordAudio(true);
  std::vector<int16_t> ramp(44100);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int16_t>(i % 30000 + 1);
  const SoundSlot track = s.LoadWave(h.WriteWave("track.wav", ramp, 1, 44100), -10000, 0);
  const SoundSlot click = s.LoadWave(h.WriteWave("click.wav", test::Constant(4, 9), 1, 44100), 10000, 0);
  h.control.AdvanceMs(3.3);
  s.PlaySound(track, true, false);
  for (double wait : {0.4, 11.0, 57.77, 123.45}) {
    h.control.AdvanceMs(wait);
    const double trackFrame = s.GetSoundPositionExactMs(track) * 44.1;
    const size_t from = h.RecordedFrames();
    s.PlaySound(click, true, false);
    h.control.AdvanceMs(40.0);
    size_t onset = from;
    while (onset < h.RecordedFrames() && h.Right(onset) == 0) ++onset;
    ASSERT_LT(onset, h.RecordedFrames());
    // Both starts are rounded to whole frames: together within one frame.
    EXPECT_NEAR(h.Left(onset) - 1, trackFrame, 1.0) << "after " << wait << " ms";
  }
}

struct Spread {
  double minLag, maxLag;
};

// Plays a short click at random moments and finds each click in the recording.
Spread MeasureLag(HeadlessSound& h, int rate, int presses) {
  SoundLib& s = h.sound;
  const SoundSlot click = s.LoadWave(h.WriteWave("click.wav", std::vector<int16_t>(8, 12000), 1, rate), 0, 0);
  EXPECT_GE(click, 0);
  h.control.RecordAudio(true);
  Random random(1234);
  std::vector<double> pressed;
  for (int i = 0; i < presses; ++i) {
    h.control.AdvanceMs(2.0 + random.Uniform() * 30.0);
    pressed.push_back(h.clock.NowMs());
    s.PlaySound(click, true, false);
  }
  h.control.AdvanceMs(100.0);
  const double openedMs = 0.0;  // the device opened at virtual time 0
  std::vector<double> onsets;
  bool inClick = false;
  for (size_t f = 0; f < h.RecordedFrames(); ++f) {
    const bool sounding = h.Left(f) != 0;
    if (sounding && !inClick) onsets.push_back(openedMs + static_cast<double>(f) * 1000.0 / rate);
    inClick = sounding;
  }
  EXPECT_EQ(onsets.size(), pressed.size());
  Spread spread{1e9, -1e9};
  for (size_t i = 0; i < std::min(onsets.size(), pressed.size()); ++i) {
    const double lag = onsets[i] - pressed[i];
    spread.minLag = std::min(spread.minLag, lag);
    spread.maxLag = std::max(spread.maxLag, lag);
  }
  return spread;
}

TEST(HeadlessSound, KeysoundLagIsConstantToWithinOneSample) {
  for (int rate : {44100, 22050}) {
    HeadlessSound h("lag" + std::to_string(rate));
    ASSERT_TRUE(h.sound.OpenSound(1));
    ASSERT_TRUE(h.sound.SetPrimaryFormat(true, 16, rate, 2));
    const Spread spread = MeasureLag(h, rate, 300);
    const double samplePeriodMs = 1000.0 / rate;
    const double latencyMs = h.sound.GetMixer().LatencyFrames() * samplePeriodMs;
    std::printf("[ lag @%d Hz ] %.4f .. %.4f ms (spread %.4f ms, sample %.4f ms)\n", rate,
                spread.minLag, spread.maxLag, spread.maxLag - spread.minLag, samplePeriodMs);
    EXPECT_LT(spread.maxLag - spread.minLag, samplePeriodMs);
    EXPECT_NEAR((spread.minLag + spread.maxLag) / 2, latencyMs, samplePeriodMs);
  }
}

TEST(HeadlessSound, LagStaysTightWhenCallbacksJitter) {
  // The real device calls back with jitter; the mixer's smoothed timeline keeps the lag
  // spread far below a buffer.
  constexpr int kRate = 44100, kBuffer = 512;
  Mixer mixer(kRate, kBuffer);
  auto click = std::make_shared<PcmData>();
  click->Rate = kRate;
  click->Samples.assign(8, 12000);
  const Mixer::VoiceId voice = mixer.CreateVoice(click, {});
  Random random(99);
  std::vector<int16_t> out, buffer(2 * kBuffer);
  std::vector<double> pressed;
  double now = 0.0;
  double nextPress = 5.0;
  for (int k = 0; k < 2000; ++k) {
    const double due = k * kBuffer * 1000.0 / kRate;
    const double stamp = due + (random.Uniform() - 0.5) * 2.0;  // +-1 ms
    // Presses that happen before this callback.
    while (nextPress < stamp) {
      now = nextPress;
      mixer.Stop(voice, now);
      mixer.SetPosition(voice, now, 0);
      mixer.Play(voice, now, false);
      pressed.push_back(now);
      nextPress += 20.0 + random.Uniform() * 30.0;
    }
    mixer.Mix(buffer.data(), kBuffer, stamp);
    out.insert(out.end(), buffer.begin(), buffer.end());
  }
  std::vector<double> onsets;
  bool inClick = false;
  for (size_t f = 0; 2 * f < out.size(); ++f) {
    const bool sounding = out[2 * f] != 0;
    if (sounding && !inClick) onsets.push_back(static_cast<double>(f) * 1000.0 / kRate);
    inClick = sounding;
  }
  ASSERT_GE(onsets.size(), pressed.size() - 1);
  double lo = 1e9, hi = -1e9;
  for (size_t i = 10; i < pressed.size() - 1; ++i) {
    lo = std::min(lo, onsets[i] - pressed[i]);
    hi = std::max(hi, onsets[i] - pressed[i]);
  }
  std::printf("[ lag, +-1 ms jitter ] %.4f .. %.4f ms (spread %.4f ms)\n", lo, hi, hi - lo);
  EXPECT_LT(hi - lo, 1.0);
}

}  // namespace
}  // namespace tessaru
