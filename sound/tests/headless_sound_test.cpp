// Whole-layer timing through the headless platform: sounds lined up with the track, and
// the keysound lag measured over many presses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/random.h"
#include "sound/tests/sound_test_support.h"

namespace tessaru {
namespace {

using test::HeadlessSound;

TEST(HeadlessSound, ASoundStartedAtATrackPositionLinesUpWithIt) {
  // The track sounds on the left, a click on the right; the click started when the
  // track reads position p must meet the track's frame p, as an automatic chip must.
  HeadlessSound h("sync");
  SoundLib& s = h.sound;
  ASSERT_TRUE(s.OpenSound(1));
  h.control.RecordAudio(true);
  const SoundSlot track = s.LoadWave(h.WriteWave("track.wav", test::Ramp(44100), 1, 44100), -10000, 0);
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

// Where each click starts in interleaved stereo output, in ms from its first frame.
std::vector<double> ClickOnsetsMs(const std::vector<int16_t>& out, int rate) {
  std::vector<double> onsets;
  for (size_t f = 0; 2 * f < out.size(); ++f) {
    if (out[2 * f] != 0 && (f == 0 || out[2 * f - 2] == 0)) onsets.push_back(static_cast<double>(f) * 1000.0 / rate);
  }
  return onsets;
}

// The smallest and largest lag from press to sound, over presses [from, to).
std::pair<double, double> LagRange(const std::vector<double>& pressed, const std::vector<double>& onsets,
                                   size_t from, size_t to) {
  EXPECT_GE(onsets.size(), to);
  double lo = 1e9, hi = -1e9;
  for (size_t i = from; i < to && i < onsets.size(); ++i) {
    lo = std::min(lo, onsets[i] - pressed[i]);
    hi = std::max(hi, onsets[i] - pressed[i]);
  }
  return {lo, hi};
}

TEST(HeadlessSound, KeysoundLagIsConstantToWithinOneSample) {
  for (int rate : {44100, 22050}) {
    HeadlessSound h("lag" + std::to_string(rate));
    ASSERT_TRUE(h.sound.OpenSound(1));  // at virtual time 0
    ASSERT_TRUE(h.sound.SetPrimaryFormat(true, 16, rate, 2));
    const SoundSlot click = h.sound.LoadWave(h.WriteWave("click.wav", test::Constant(8, 12000), 1, rate), 0, 0);
    ASSERT_GE(click, 0);
    h.control.RecordAudio(true);
    Random random(1234);
    std::vector<double> pressed;
    for (int i = 0; i < 300; ++i) {
      h.control.AdvanceMs(2.0 + random.Uniform() * 30.0);
      pressed.push_back(h.clock.NowMs());
      h.sound.PlaySound(click, true, false);
    }
    h.control.AdvanceMs(100.0);
    const std::vector<double> onsets = ClickOnsetsMs(h.control.RecordedAudio(), rate);
    EXPECT_EQ(onsets.size(), pressed.size());
    const auto [lo, hi] = LagRange(pressed, onsets, 0, pressed.size());
    const double sampleMs = 1000.0 / rate;
    std::printf("[ lag @%d Hz ] %.4f .. %.4f ms (spread %.4f ms, sample %.4f ms)\n", rate, lo, hi, hi - lo, sampleMs);
    EXPECT_LT(hi - lo, sampleMs);
    EXPECT_NEAR((lo + hi) / 2, h.sound.GetMixer().LatencyFrames() * sampleMs, sampleMs);
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
  double nextPress = 5.0;
  for (int k = 0; k < 2000; ++k) {
    const double stamp = k * kBuffer * 1000.0 / kRate + (random.Uniform() - 0.5) * 2.0;  // +-1 ms
    for (; nextPress < stamp; nextPress += 20.0 + random.Uniform() * 30.0) {
      mixer.Stop(voice, nextPress);
      mixer.SetPosition(voice, nextPress, 0);
      mixer.Play(voice, nextPress, false);
      pressed.push_back(nextPress);
    }
    mixer.Mix(buffer.data(), kBuffer, stamp);
    out.insert(out.end(), buffer.begin(), buffer.end());
  }
  const auto [lo, hi] = LagRange(pressed, ClickOnsetsMs(out, kRate), 10, pressed.size() - 1);
  std::printf("[ lag, +-1 ms jitter ] %.4f .. %.4f ms (spread %.4f ms)\n", lo, hi, hi - lo);
  EXPECT_LT(hi - lo, 1.0);
}

}  // namespace
}  // namespace tessaru
