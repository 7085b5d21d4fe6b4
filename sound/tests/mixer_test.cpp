#include "sound/mixer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

namespace tessaru {
namespace {

constexpr int kRate = 44100;
constexpr int kBuffer = 512;
constexpr int kLatency = kBuffer + kBuffer / 4;

std::shared_ptr<const PcmData> Mono(std::vector<int16_t> samples, int rate = kRate) {
  auto pcm = std::make_shared<PcmData>();
  pcm->Channels = 1;
  pcm->Rate = rate;
  pcm->Samples = std::move(samples);
  return pcm;
}

std::shared_ptr<const PcmData> Ramp(int frames) {
  std::vector<int16_t> s(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) s[static_cast<size_t>(i)] = static_cast<int16_t>(i + 1);
  return Mono(std::move(s));
}

// Drives a mixer the way the headless device does: buffer k falls due at k * N / rate.
class Driven {
 public:
  explicit Driven(Mixer& mixer) : mixer_(mixer) {}
  double DueMs(int64_t buffer) const { return static_cast<double>(buffer) * kBuffer * 1000.0 / kRate; }
  double NextDueMs() const { return DueMs(pulled_); }
  // Pulls every buffer due up to and including `ms`.
  void RunTo(double ms) {
    while (DueMs(pulled_) <= ms) {
      std::vector<int16_t> buffer(2 * kBuffer);
      mixer_.Mix(buffer.data(), kBuffer, DueMs(pulled_));
      out.insert(out.end(), buffer.begin(), buffer.end());
      ++pulled_;
    }
  }
  int16_t Left(int64_t frame) const { return out[static_cast<size_t>(2 * frame)]; }
  int16_t Right(int64_t frame) const { return out[static_cast<size_t>(2 * frame + 1)]; }
  int64_t Onset(int64_t from = 0) const {
    for (int64_t f = from; f < static_cast<int64_t>(out.size() / 2); ++f) {
      if (Left(f) != 0 || Right(f) != 0) return f;
    }
    return -1;
  }
  std::vector<int16_t> out;

 private:
  Mixer& mixer_;
  int64_t pulled_ = 0;
};

// A mixer at 44100 Hz pulled by the device stand-in.
class MixerTest : public ::testing::Test {
 protected:
  Mixer mixer{kRate, kBuffer};
  Driven device{mixer};
};

TEST(Mixer, PanLawAndVolume) {
  struct Case {
    int32_t volume, pan;
    float left, right;
  };
  const std::vector<Case> cases = {
      {0, 0, 1.0f, 1.0f},
      {-2000, 0, 0.1f, 0.1f},
      {0, 2000, 0.1f, 1.0f},          // positive pan: left loses pan/100 dB
      {0, -600, 1.0f, 0.501187f},     // negative pan: right loses |pan|/100 dB
      {-1000, 1000, 0.1f, 0.316228f}, // both add up on the attenuated side
      {-10000, 0, 0.0f, 0.0f},        // the floor is silence
      {0, 10000, 0.0f, 1.0f},
      {500, -20000, 1.0f, 0.0f},      // out-of-range values are clamped
      {-5000, -5000, 0.00316228f, 0.0f},
  };
  for (const Case& c : cases) {
    const StereoGain g = GainForVolPan(c.volume, c.pan);
    EXPECT_NEAR(g.Left, c.left, 1e-5) << c.volume << "," << c.pan;
    EXPECT_NEAR(g.Right, c.right, 1e-5) << c.volume << "," << c.pan;
  }
}

TEST_F(MixerTest, StartsAtTheSampleOfTheRequestPlusOneBuffer) {
  const auto pcm = Mono(std::vector<int16_t>(50, 1000));
  std::vector<Mixer::VoiceId> voices;
  for (int i = 0; i < 6; ++i) voices.push_back(mixer.CreateVoice(pcm, {}));
  device.RunTo(0.0);
  // Requests at awkward times between buffers, including exactly on a buffer's due time.
  const std::vector<double> times = {0.5, 11.61, device.DueMs(2), 40.0001, 52.3, 70.9};
  for (size_t i = 0; i < times.size(); ++i) {
    device.RunTo(times[i]);
    mixer.Play(voices[i], times[i], false);
  }
  device.RunTo(200.0);
  int64_t from = 0;
  for (double t : times) {
    const int64_t expected = kLatency + std::llround(t * kRate / 1000.0);
    const int64_t onset = device.Onset(from);
    EXPECT_EQ(onset, expected) << "requested at " << t;
    from = onset + 50;
  }
}

TEST_F(MixerTest, SaturatesAtFullScale) {
  const auto loud = Mono(std::vector<int16_t>(100, 30000));
  const auto quiet = Mono(std::vector<int16_t>(100, -30000));
  const auto lowest = Mono(std::vector<int16_t>(100, -32768));
  const Mixer::VoiceId a = mixer.CreateVoice(loud, {});
  const Mixer::VoiceId b = mixer.CreateVoice(loud, {});
  const Mixer::VoiceId c = mixer.CreateVoice(quiet, {1.0f, 0.0f});
  const Mixer::VoiceId d = mixer.CreateVoice(quiet, {1.0f, 0.0f});
  for (Mixer::VoiceId v : {a, b, c, d}) mixer.Play(v, 0.0, false);
  device.RunTo(30.0);
  const int64_t f = kLatency + 10;
  EXPECT_EQ(device.Left(f), 30000 + 30000 - 30000 - 30000);
  EXPECT_EQ(device.Right(f), 32767);  // 60000 clipped, not wrapped
  for (int i = 0; i < 3; ++i) mixer.Play(mixer.CreateVoice(lowest, {}), 30.0, false);
  device.RunTo(60.0);
  const int64_t g = kLatency + std::llround(30.0 * kRate / 1000.0) + 10;
  EXPECT_EQ(device.Left(g), -32768);
  EXPECT_FALSE(mixer.IsPlaying(d, 30.0));  // 100 frames are long over
}

TEST_F(MixerTest, LoopsWithoutAGap) {
  const Mixer::VoiceId v = mixer.CreateVoice(Ramp(100), {});
  mixer.Play(v, 0.0, true);
  device.RunTo(50.0);
  for (int64_t f = kLatency; f < kLatency + 1500; ++f) {
    ASSERT_EQ(device.Left(f), (f - kLatency) % 100 + 1) << f;
  }
  EXPECT_TRUE(mixer.IsLooping(v, 50.0));
  // Position wraps within the sound.
  const double pos = mixer.PositionFrames(v, 50.0);
  EXPECT_GE(pos, 0.0);
  EXPECT_LT(pos, 100.0);
}

TEST_F(MixerTest, StopThenPlayContinuesWhereItStopped) {
  const Mixer::VoiceId v = mixer.CreateVoice(Ramp(20000), {});
  mixer.Play(v, 0.0, false);
  device.RunTo(30.0);
  mixer.Stop(v, 30.0);
  EXPECT_FALSE(mixer.IsPlaying(v, 30.0));
  device.RunTo(100.0);
  const double stoppedAt = mixer.PositionFrames(v, 100.0);
  mixer.Play(v, 100.0, false);
  device.RunTo(200.0);
  // Sounding stretches: from the first start up to the stop, then again from the restart.
  const int64_t stopFrame = kLatency + std::llround(30.0 * kRate / 1000.0);
  const int64_t restartFrame = kLatency + std::llround(100.0 * kRate / 1000.0);
  EXPECT_EQ(device.Left(stopFrame - 1), stopFrame - kLatency);
  EXPECT_EQ(device.Left(stopFrame), 0);
  EXPECT_EQ(device.Left(restartFrame - 1), 0);
  EXPECT_EQ(device.Left(restartFrame), stopFrame - kLatency + 1);
  EXPECT_DOUBLE_EQ(stoppedAt, static_cast<double>(stopFrame - kLatency));
}

TEST_F(MixerTest, PositionIsInterpolatedAndNeverGoesBack) {
  const Mixer::VoiceId v = mixer.CreateVoice(Ramp(30000), {});
  device.RunTo(0.0);
  mixer.Play(v, 0.0, false);
  EXPECT_DOUBLE_EQ(mixer.PositionFrames(v, 0.0), 0.0);  // nothing mixed yet
  double last = 0.0;
  for (double t = 0.25; t < 300.0; t += 0.25) {
    device.RunTo(t);
    const double pos = mixer.PositionFrames(v, t);
    // The position runs with the clock from the request, sample-exactly (the sound and
    // the position share the same latency).
    const double expected = std::clamp(t * kRate / 1000.0, 0.0, 30000.0);
    ASSERT_NEAR(pos, expected, 1e-6) << t;
    ASSERT_GE(pos, last);
    last = pos;
  }
  // The sound is 30000 frames: it stops once its last frame is due, not before.
  const double endMs = 30000.0 * 1000.0 / kRate;
  device.RunTo(endMs + 20.0);
  EXPECT_TRUE(mixer.IsPlaying(v, endMs - 0.1));
  EXPECT_FALSE(mixer.IsPlaying(v, endMs + 0.1));
  EXPECT_DOUBLE_EQ(mixer.PositionFrames(v, endMs + 1.0), 30000.0);
}

TEST(Mixer, PositionHoldsWhenCallbacksComeEarly) {
  // A stamp a little early for its buffer must not move a position backwards.
  Mixer mixer(kRate, kBuffer);
  const Mixer::VoiceId v = mixer.CreateVoice(Ramp(30000), {});
  std::vector<int16_t> buffer(2 * kBuffer);
  mixer.Play(v, 0.0, false);
  double last = 0.0;
  double stamp = 0.0;
  for (int k = 0; k < 40; ++k) {
    const double jitter = (k % 3 == 1) ? -1.5 : (k % 3 == 2 ? 1.2 : 0.0);
    stamp = k * kBuffer * 1000.0 / kRate + jitter;
    mixer.Mix(buffer.data(), kBuffer, stamp);
    for (double dt = 0; dt < 11.0; dt += 1.0) {
      const double pos = mixer.PositionFrames(v, stamp + dt);
      ASSERT_GE(pos, last);
      last = pos;
    }
  }
  EXPECT_GT(last, 30 * kBuffer);
}

TEST_F(MixerTest, GainChangesSlideOnASoundingVoice) {
  const Mixer::VoiceId v = mixer.CreateVoice(Mono(std::vector<int16_t>(20000, 10000)), {});
  mixer.Play(v, 0.0, false);
  device.RunTo(20.0);
  mixer.SetGain(v, 20.0, {0.5f, 0.25f});
  device.RunTo(100.0);
  const int64_t at = kLatency + std::llround(20.0 * kRate / 1000.0);
  EXPECT_EQ(device.Left(at - 1), 10000);
  EXPECT_GT(device.Left(at + 2), 5000);  // sliding, not jumping
  EXPECT_LT(device.Left(at + 2), 10000);
  EXPECT_EQ(device.Left(at + Mixer::kGainRampFrames), 5000);
  EXPECT_EQ(device.Right(at + Mixer::kGainRampFrames), 2500);
}

TEST_F(MixerTest, ManyCommandsBeforeACallbackKeepTheLatestState) {
  const Mixer::VoiceId v = mixer.CreateVoice(Ramp(20000), {});
  for (int i = 0; i < 3 * Mixer::kMaxPendingEvents; ++i) {
    mixer.SetPosition(v, 0.0, i);
    if (i % 2) mixer.Play(v, 0.0, true); else mixer.Stop(v, 0.0);
  }
  EXPECT_TRUE(mixer.IsLooping(v, 0.0));
  device.RunTo(30.0);
  EXPECT_TRUE(mixer.IsLooping(v, 30.0));
  EXPECT_NE(device.Onset(), -1);
}

TEST(Mixer, ConfigureScalesStoppedPositions) {
  Mixer mixer(kRate, kBuffer);
  const Mixer::VoiceId v = mixer.CreateVoice(Ramp(20000), {});
  mixer.SetPosition(v, 0.0, 10000);
  mixer.Configure(22050, 256);
  EXPECT_DOUBLE_EQ(mixer.PositionFrames(v, 0.0), 5000.0);
  EXPECT_EQ(mixer.Rate(), 22050);
  EXPECT_EQ(mixer.LatencyFrames(), 320);
}

TEST(Mixer, VoicesComeAndGoWhileTheAudioThreadMixes) {
  Mixer mixer(kRate, kBuffer);
  std::atomic<bool> stop{false};
  std::atomic<int64_t> callbacks{0};
  std::thread audio([&] {
    std::vector<int16_t> buffer(2 * kBuffer);
    double t = 0.0;
    while (!stop.load()) {
      mixer.Mix(buffer.data(), kBuffer, t);
      t += kBuffer * 1000.0 / kRate;
      callbacks.fetch_add(1);
    }
  });
  const auto pcm = Ramp(3000);
  double now = 0.0;
  std::vector<Mixer::VoiceId> live;
  for (int i = 0; i < 4000; ++i) {
    now += 0.05;
    if (live.size() < 64) {
      live.push_back(mixer.CreateVoice(i % 3 ? pcm : Ramp(500), {}));
      mixer.Play(live.back(), now, i % 5 == 0);
    } else {
      mixer.DestroyVoice(live.front());
      live.erase(live.begin());
    }
    if (i % 7 == 0 && !live.empty()) mixer.PositionFrames(live.back(), now);
  }
  while (callbacks.load() < 20) std::this_thread::yield();
  stop = true;
  audio.join();
  for (Mixer::VoiceId v : live) mixer.DestroyVoice(v);
  // Looped voices among them: only if every one is really gone is the next buffer silent.
  std::vector<int16_t> buffer(2 * kBuffer, 1);
  mixer.Mix(buffer.data(), kBuffer, 1000.0);
  EXPECT_EQ(buffer, std::vector<int16_t>(2 * kBuffer, 0));
}

}  // namespace
}  // namespace tessaru
