#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/headless.h"

namespace tessaru::platform {
namespace {

TEST(HeadlessClock, TickIsLowBitsOfWholeMilliseconds) {
  struct Case { double clockMs; uint32_t tick; };
  const Case cases[] = {
      {0.0, 0u},
      {0.999, 0u},
      {1.0, 1u},
      {4294967295.0, 0xFFFFFFFFu},
      {4294967295.999, 0xFFFFFFFFu},
      {4294967296.0, 0u},  // wraps like the system tick counter
      {4294967296.0 + 1234.5, 1234u},
      {2.0 * 4294967296.0 + 7.0, 7u},
  };
  auto headless = CreateHeadlessPlatform();
  for (const Case& c : cases) {
    headless.control->SetClockMs(c.clockMs);
    EXPECT_EQ(headless.platform->clock->GetTickCount(), c.tick) << c.clockMs;
    EXPECT_DOUBLE_EQ(headless.platform->clock->NowMs(), c.clockMs);
  }
}

TEST(HeadlessClock, AdvanceAndSleepMoveTimeAcrossTheWrap) {
  auto headless = CreateHeadlessPlatform();
  Clock& clock = *headless.platform->clock;
  headless.control->SetClockMs(4294967290.0);
  const uint32_t start = clock.GetTickCount();
  headless.control->AdvanceMs(4.5);
  clock.SleepMs(3);
  // Elapsed time computed in wrapping arithmetic, as a wait loop does.
  EXPECT_EQ(clock.GetTickCount() - start, 7u);
  EXPECT_EQ(clock.GetTickCount(), 1u);
  headless.control->AdvanceMs(-5.0);  // time never runs backwards
  headless.control->AdvanceMs(std::nan(""));
  EXPECT_DOUBLE_EQ(clock.NowMs(), 4294967297.5);
}

TEST(HeadlessAudio, PullsWholeBuffersAtTheirDueTimes) {
  struct Pull { int frames; double deviceTimeMs; double clockAtCall; };
  struct Case { int rate; int bufferFrames; double startMs; double advanceMs; };
  const Case cases[] = {
      {44100, 512, 0.0, 100.0},
      {22050, 512, 1000.0, 250.0},
      {44100, 256, 5.25, 33.0},
      {48000, 480, 0.0, 30.0},  // a buffer due exactly at the target is pulled
  };
  for (const Case& c : cases) {
    auto headless = CreateHeadlessPlatform();
    Clock& clock = *headless.platform->clock;
    headless.control->SetClockMs(c.startMs);
    std::vector<Pull> pulls;
    AudioFormat wanted;
    wanted.Rate = c.rate;
    wanted.BufferFrames = c.bufferFrames;
    int16_t next = 0;
    headless.control->RecordAudio(true);
    auto granted = headless.platform->audio->Open(wanted, [&](int16_t* out, int frames, double deviceTimeMs) {
      pulls.push_back({frames, deviceTimeMs, clock.NowMs()});
      for (int i = 0; i < frames * 2; ++i) out[i] = next++;
    });
    ASSERT_TRUE(granted.has_value());
    EXPECT_EQ(granted->Rate, c.rate);
    EXPECT_TRUE(pulls.empty()) << "the mixer never runs inside Open";

    headless.control->AdvanceMs(c.advanceMs);
    const double bufferMs = c.bufferFrames * 1000.0 / c.rate;
    const size_t expected = static_cast<size_t>(std::floor(c.advanceMs / bufferMs + 1e-9)) + 1;
    ASSERT_EQ(pulls.size(), expected) << c.rate << "/" << c.bufferFrames;
    for (size_t k = 0; k < pulls.size(); ++k) {
      EXPECT_EQ(pulls[k].frames, c.bufferFrames);
      EXPECT_NEAR(pulls[k].deviceTimeMs, c.startMs + static_cast<double>(k) * bufferMs, 1e-9);
      EXPECT_DOUBLE_EQ(pulls[k].clockAtCall, pulls[k].deviceTimeMs);
    }
    EXPECT_DOUBLE_EQ(clock.NowMs(), c.startMs + c.advanceMs);
    EXPECT_EQ(headless.control->MixedFrames(), expected * static_cast<size_t>(c.bufferFrames));
    // The recording is exactly what the mixer wrote.
    const std::vector<int16_t>& recorded = headless.control->RecordedAudio();
    ASSERT_EQ(recorded.size(), expected * static_cast<size_t>(c.bufferFrames) * 2);
    for (size_t i = 0; i < recorded.size(); ++i) ASSERT_EQ(recorded[i], static_cast<int16_t>(i)) << i;
  }
}

TEST(HeadlessAudio, SmallStepsKeepTheSameCadenceAsOneBigStep) {
  auto countFrames = [](double stepMs, int steps) {
    auto headless = CreateHeadlessPlatform();
    AudioFormat wanted;
    headless.platform->audio->Open(wanted, [](int16_t*, int, double) {});
    for (int i = 0; i < steps; ++i) headless.control->AdvanceMs(stepMs);
    return headless.control->MixedFrames();
  };
  // Ten seconds in frame-sized steps against one jump: no drift from rounding.
  EXPECT_EQ(countFrames(1000.0 / 60.0, 600), countFrames(10000.0, 1));
  EXPECT_EQ(countFrames(10000.0, 1), (static_cast<uint64_t>(441000 / 512) + 1) * 512);
}

TEST(HeadlessAudio, RefusedAndInvalidFormatsOpenNothing) {
  auto headless = CreateHeadlessPlatform();
  headless.control->SetAudioAccepts([](const AudioFormat& f) { return f.Rate != 44100; });
  auto mix = [](int16_t*, int, double) {};
  AudioFormat wanted;
  EXPECT_FALSE(headless.platform->audio->Open(wanted, mix).has_value());
  EXPECT_FALSE(headless.platform->audio->IsOpen());
  wanted.Rate = 22050;
  wanted.Bits = 8;
  wanted.Channels = 1;
  auto granted = headless.platform->audio->Open(wanted, mix);
  ASSERT_TRUE(granted.has_value());
  EXPECT_EQ(granted->Bits, 8);
  EXPECT_EQ(granted->Channels, 2);  // the mixer always renders stereo
  EXPECT_EQ(headless.control->CurrentAudioFormat()->Rate, 22050);

  headless.control->SetAudioAccepts(nullptr);
  const AudioFormat invalid[] = {{44100, 12, 2, 512, ""}, {0, 16, 2, 512, ""}, {-1, 8, 2, 512, ""}};
  for (const AudioFormat& f : invalid) {
    EXPECT_FALSE(headless.platform->audio->Open(f, mix).has_value()) << f.Rate << "/" << f.Bits;
  }
  EXPECT_FALSE(headless.platform->audio->Open(AudioFormat{}, nullptr).has_value());
}

TEST(HeadlessAudio, CloseOrSleepFromInsideTheMixer) {
  // Closing stops the pulls at once; sleeping moves the clock but not the cadence.
  for (const bool close : {true, false}) {
    auto headless = CreateHeadlessPlatform();
    AudioOut& audio = *headless.platform->audio;
    int calls = 0;
    audio.Open(AudioFormat{}, [&](int16_t*, int, double) {
      ++calls;
      if (close && calls == 3) audio.Close();
      if (!close) headless.platform->clock->SleepMs(1);
    });
    const double advance = close ? 1000.0 : 20.0;
    headless.control->AdvanceMs(advance);
    EXPECT_EQ(calls, close ? 3 : 2) << close;
    EXPECT_EQ(audio.IsOpen(), !close);
    EXPECT_DOUBLE_EQ(headless.platform->clock->NowMs(), advance) << close;
  }
}

TEST(HeadlessAudio, ClockJumpKeepsTheCadenceWithoutFillingTheGap) {
  auto headless = CreateHeadlessPlatform();
  std::vector<double> times;
  headless.platform->audio->Open(AudioFormat{}, [&](int16_t*, int, double t) {
    times.push_back(t);
  });
  headless.control->AdvanceMs(5.0);
  headless.control->SetClockMs(4294967290.0);
  headless.control->AdvanceMs(20.0);  // due at 6.6 and 18.2 ms past the jump
  ASSERT_EQ(times.size(), 3u);
  const double bufferMs = 512 * 1000.0 / 44100;
  EXPECT_NEAR(times[1], 4294967290.0 - 5.0 + bufferMs, 1e-6);
  EXPECT_NEAR(times[2] - times[1], bufferMs, 1e-6);
}

}  // namespace
}  // namespace tessaru::platform
