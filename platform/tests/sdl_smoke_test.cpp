// The real backend on SDL's dummy video and disk audio drivers: no display or sound card
// needed, but every call goes through SDL as in the game.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_audio.h"

namespace tessaru::platform {
namespace {

class SdlSmoke : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    setenv("SDL_DISKAUDIOFILE", audioFile_.c_str(), 1);
    platform_ = CreateSdlPlatform();
  }
  void TearDown() override {
    platform_.reset();
    std::remove(audioFile_.c_str());
  }

  std::vector<uint16_t> Frame(int width, int height) {
    std::vector<uint16_t> pixels(static_cast<size_t>(width * height));
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint16_t>(i * 7);
    return pixels;
  }

  // One file per process: CTest runs the cases of this suite side by side.
  const std::string audioFile_ =
      std::string(TESSARU_SCRATCH) + "/disk_audio_" + std::to_string(getpid()) + ".raw";
  std::unique_ptr<Platform> platform_;
};

TEST_F(SdlSmoke, EveryDisplayModeOpensAndPresents) {
  struct Case { int width, height; DisplayMode mode; };
  const Case cases[] = {{640, 480, DisplayMode::Windowed},
                        {320, 240, DisplayMode::Windowed},
                        {320, 240, DisplayMode::Doubled},
                        {640, 480, DisplayMode::FullScreen}};
  VideoOut& video = *platform_->video;
  for (const Case& c : cases) {
    VideoConfig config;
    config.Width = c.width;
    config.Height = c.height;
    config.Mode = c.mode;
    config.HideCursor = true;
    ASSERT_TRUE(video.Open(config)) << video.LastError();
    EXPECT_TRUE(video.IsOpen());
    const std::vector<uint16_t> pixels = Frame(c.width, c.height);
    EXPECT_FALSE(video.Present(pixels.data(), c.width, c.height / 2, c.width)) << "wrong size";
    // Timing is measured on a real X server by the key stamp probe; the dummy driver's
    // software scaling says nothing about it.
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(video.Present(pixels.data(), c.width, c.height, c.width));
    video.Close();
    EXPECT_FALSE(video.IsOpen());
    EXPECT_FALSE(video.Present(pixels.data(), c.width, c.height, c.width)) << "closed";
  }
  VideoConfig odd;
  odd.Width = 800;
  odd.Height = 600;
  EXPECT_FALSE(video.Open(odd));
  EXPECT_FALSE(video.LastError().empty());
}

TEST_F(SdlSmoke, RenderResetsFailOnePresentAndReportLoss) {
  VideoOut& video = *platform_->video;
  ASSERT_TRUE(video.Open(VideoConfig{}));
  const std::vector<uint16_t> pixels = Frame(640, 480);
  for (Uint32 type : {SDL_RENDER_TARGETS_RESET, SDL_RENDER_DEVICE_RESET}) {
    ASSERT_TRUE(video.Present(pixels.data(), 640, 480, 640));
    EXPECT_FALSE(video.TakeDeviceLost());
    SDL_Event event{};
    event.type = type;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    platform_->input->Pump();
    EXPECT_FALSE(video.Present(pixels.data(), 640, 480, 640)) << type;
    EXPECT_TRUE(video.TakeDeviceLost()) << type;
    EXPECT_FALSE(video.TakeDeviceLost()) << type;
    EXPECT_TRUE(video.Present(pixels.data(), 640, 480, 640)) << type;
  }
}

TEST_F(SdlSmoke, MixerOutputReachesTheDeviceBitForBit) {
  for (int bits : {16, 8}) {
    std::remove(audioFile_.c_str());
    std::mutex mutex;
    std::vector<int16_t> mixed;
    std::vector<double> starts;
    int16_t next = 1;
    AudioFormat wanted;
    wanted.Bits = bits;
    AudioOut& audio = *platform_->audio;
    auto granted = audio.Open(wanted, [&](int16_t* out, int frames, double deviceTimeMs) {
      std::lock_guard<std::mutex> lock(mutex);
      for (int i = 0; i < frames * 2; ++i) {
        // Never zero, so leading silence written before the device started stands out.
        out[i] = next;
        next = static_cast<int16_t>(next == 32767 ? -32768 : (next + 97 == 0 ? 1 : next + 97));
      }
      mixed.insert(mixed.end(), out, out + frames * 2);
      starts.push_back(deviceTimeMs);
    });
    ASSERT_TRUE(granted.has_value()) << audio.LastError();
    EXPECT_EQ(granted->Bits, bits);
    EXPECT_EQ(granted->Channels, 2);
    EXPECT_GT(granted->BufferFrames, 0);
    for (int wait = 0; wait < 200; ++wait) {
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (starts.size() >= 40) break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    audio.Lock();
    const double lockedAt = platform_->clock->NowMs();
    audio.Unlock();
    audio.Close();
    EXPECT_FALSE(audio.IsOpen());
    ASSERT_GE(starts.size(), 40u);
    for (size_t i = 1; i < starts.size(); ++i) ASSERT_GE(starts[i], starts[i - 1]);
    EXPECT_LE(starts.back(), platform_->clock->NowMs());
    EXPECT_GT(lockedAt, 0.0);

    std::ifstream file(audioFile_, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<uint8_t> expected;
    if (bits == 16) {
      expected.resize(mixed.size() * 2);
      std::memcpy(expected.data(), mixed.data(), expected.size());
    } else {
      for (int16_t s : mixed) expected.push_back(SampleS16ToU8(s));
    }
    // Skip what the device played before it was started and while it was being closed
    // (under load SDL writes one more buffer as it stops): whole buffers of silence.
    const uint8_t silence = bits == 16 ? 0 : 0x80;
    const size_t block = static_cast<size_t>(granted->BufferFrames) * 2 * static_cast<size_t>(bits / 8);
    const auto silent = [&](size_t at) {
      return std::all_of(bytes.begin() + static_cast<ptrdiff_t>(at), bytes.begin() + static_cast<ptrdiff_t>(at + block),
                         [&](uint8_t b) { return b == silence; });
    };
    size_t skip = 0;
    while (skip + block <= bytes.size() && silent(skip)) skip += block;
    while (bytes.size() >= skip + block && silent(bytes.size() - block)) bytes.resize(bytes.size() - block);
    ASSERT_EQ(bytes.size() - skip, expected.size()) << bits << "-bit";
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin() + static_cast<ptrdiff_t>(skip)))
        << bits << "-bit";
  }
}

TEST(SampleConversion, SixteenToUnsignedEightKeepsTheTopByte) {
  const std::pair<int16_t, uint8_t> cases[] = {
      {-32768, 0}, {-257, 126}, {-256, 127}, {-1, 127}, {0, 128}, {255, 128}, {256, 129}, {32767, 255},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(SampleS16ToU8(in), out) << in;
}

SDL_Event KeyEventOf(Uint32 type, SDL_Scancode scancode, Uint8 repeat = 0) {
  SDL_Event event{};
  event.type = type;
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat;
  event.key.keysym.scancode = scancode;
  return event;
}

TEST_F(SdlSmoke, KeysAreStampedWhenPushedAndMappedToVirtualKeys) {
  InputSource& input = *platform_->input;
  ASSERT_TRUE(platform_->video->Open(VideoConfig{}));
  input.Pump();
  input.TakeKeyEvents();

  const double before = platform_->clock->NowMs();
  const SDL_Event script[] = {
      KeyEventOf(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT),
      KeyEventOf(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT),
      KeyEventOf(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT, 1),  // auto-repeat: not a transition
      KeyEventOf(SDL_KEYUP, SDL_SCANCODE_LSHIFT),
      KeyEventOf(SDL_KEYDOWN, SDL_SCANCODE_Z),
      KeyEventOf(SDL_KEYDOWN, SDL_SCANCODE_POWER),  // unknown: ignored
      KeyEventOf(SDL_KEYUP, SDL_SCANCODE_X),        // never went down: ignored
      KeyEventOf(SDL_KEYUP, SDL_SCANCODE_RSHIFT),
  };
  for (SDL_Event event : script) {
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(input.KeyDown(0x5A)) << "state follows the push, before any pump";
  EXPECT_FALSE(input.KeyDown(0x10));
  const double after = platform_->clock->NowMs();
  input.Pump();

  const std::vector<KeyEvent> events = input.TakeKeyEvents();
  const std::pair<uint8_t, bool> expected[] = {
      {0xA0, true}, {0x10, true}, {0xA1, true}, {0xA0, false}, {0x5A, true}, {0xA1, false}, {0x10, false},
  };
  ASSERT_EQ(events.size(), std::size(expected));
  for (size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(events[i].VirtualKey, expected[i].first) << i;
    EXPECT_EQ(events[i].Down, expected[i].second) << i;
    EXPECT_GE(events[i].TimeMs, before);
    EXPECT_LE(events[i].TimeMs, after);
    EXPECT_DOUBLE_EQ(events[i].TimeMs, events[i].ArrivalMs) << "no X server here";
    if (i > 0) {
      EXPECT_GE(events[i].TimeMs, events[i - 1].TimeMs);
    }
  }
  // Pushed a millisecond apart: the stamps are from the push, not from the pump.
  EXPECT_GE(events[4].TimeMs - events[0].TimeMs, 3.0);
  EXPECT_TRUE(input.KeyDown(0x5A));
  EXPECT_FALSE(input.KeyDown(0x10));
  EXPECT_FALSE(input.KeyDown(0xA1));
}

TEST_F(SdlSmoke, JoysticksScaleReadAndSurviveUnplugging) {
  InputSource& input = *platform_->input;
  input.Pump();
  EXPECT_FALSE(input.Joystick(0).Connected);
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 34, 1);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* handle = SDL_JoystickOpen(index);
  ASSERT_NE(handle, nullptr);
  input.Pump();
  ASSERT_TRUE(input.Joystick(0).Connected);
  EXPECT_FALSE(input.Joystick(1).Connected);

  struct Case { Sint16 rawX, rawY; Uint8 hat; int x, y; };
  const Case cases[] = {
      {0, 0, SDL_HAT_CENTERED, 0, 0},
      {-32768, 32767, SDL_HAT_CENTERED, -10000, 10000},
      {16384, -16384, SDL_HAT_CENTERED, 5000, -5000},
      {16388, -16388, SDL_HAT_CENTERED, 5001, -5001},
      {0, 0, SDL_HAT_LEFTUP, -10000, -10000},
      {0, 0, SDL_HAT_RIGHTDOWN, 10000, 10000},
  };
  for (const Case& c : cases) {
    SDL_JoystickSetVirtualAxis(handle, 0, c.rawX);
    SDL_JoystickSetVirtualAxis(handle, 1, c.rawY);
    SDL_JoystickSetVirtualHat(handle, 0, c.hat);
    input.Pump();
    EXPECT_EQ(input.Joystick(0).X, c.x) << c.rawX;
    EXPECT_EQ(input.Joystick(0).Y, c.y) << c.rawY;
  }
  SDL_JoystickSetVirtualButton(handle, 0, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(handle, 31, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(handle, 33, SDL_PRESSED);  // beyond the 32 the game reads
  input.Pump();
  EXPECT_EQ(input.Joystick(0).Buttons, 0x80000001u);

  input.TakeJoystickSamples();

  // A button tapped between two pumps is still seen, each change stamped when it came.
  SDL_JoystickSetVirtualButton(handle, 0, SDL_RELEASED);
  SDL_JoystickSetVirtualButton(handle, 31, SDL_RELEASED);
  input.Pump();
  input.TakeJoystickSamples();
  const double before = platform_->clock->NowMs();
  for (const Uint32 type : {SDL_JOYBUTTONDOWN, SDL_JOYBUTTONUP}) {
    SDL_Event event{};
    event.type = type;
    event.jbutton.which = SDL_JoystickInstanceID(handle);
    event.jbutton.button = 2;
    event.jbutton.state = type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const double after = platform_->clock->NowMs();
  input.Pump();
  const std::vector<JoystickSample> samples = input.TakeJoystickSamples();
  ASSERT_EQ(samples.size(), 2u);
  EXPECT_EQ(samples[0].State.Buttons, 1u << 2);
  EXPECT_EQ(samples[1].State.Buttons, 0u);
  EXPECT_EQ(samples[0].Pad, 0);
  EXPECT_GE(samples[0].TimeMs, before);
  EXPECT_GE(samples[1].TimeMs - samples[0].TimeMs, 1.5) << "stamped at the push, not the pump";
  EXPECT_LE(samples[1].TimeMs, after);
  EXPECT_EQ(samples[1].State.X, 10000) << "each sample is the whole pad: the hat is still right";
  EXPECT_EQ(input.Joystick(0).Buttons, 0u);

  SDL_JoystickDetachVirtual(index);
  input.Pump();
  EXPECT_FALSE(input.Joystick(0).Connected);
  EXPECT_EQ(input.Joystick(0).Buttons, 0u);
  SDL_JoystickClose(handle);
  input.Pump();
  EXPECT_FALSE(input.Joystick(0).Connected);
}

TEST_F(SdlSmoke, WindowCloseAndClockBehave) {
  InputSource& input = *platform_->input;
  ASSERT_TRUE(platform_->video->Open(VideoConfig{}));
  input.Pump();
  EXPECT_FALSE(input.QuitRequested());
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  ASSERT_EQ(SDL_PushEvent(&quit), 1);
  input.Pump();
  EXPECT_TRUE(input.QuitRequested());

  Clock& clock = *platform_->clock;
  const double start = clock.NowMs();
  const uint32_t tick = clock.GetTickCount();
  clock.SleepMs(20);
  EXPECT_GE(clock.NowMs() - start, 19.0);
  EXPECT_LT(clock.NowMs() - start, 500.0);
  EXPECT_GE(clock.GetTickCount() - tick, 19u);
}

}  // namespace
}  // namespace tessaru::platform
