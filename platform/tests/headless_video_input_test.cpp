#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless.h"

namespace tessaru::platform {
namespace {

VideoConfig Config(int width, int height, DisplayMode mode = DisplayMode::Windowed) {
  VideoConfig config;
  config.Width = width;
  config.Height = height;
  config.Mode = mode;
  return config;
}

TEST(HeadlessVideo, OpensOnlyTheGameFrameSizes) {
  struct Case { int width, height; DisplayMode mode; bool opens; };
  const Case cases[] = {
      {640, 480, DisplayMode::Windowed, true},  {320, 240, DisplayMode::Windowed, true},
      {320, 240, DisplayMode::Doubled, true},   {640, 480, DisplayMode::FullScreen, true},
      {800, 600, DisplayMode::Windowed, false}, {640, 240, DisplayMode::Windowed, false},
      {0, 0, DisplayMode::Windowed, false},
  };
  for (const Case& c : cases) {
    auto headless = CreateHeadlessPlatform();
    VideoOut& video = *headless.platform->video;
    EXPECT_EQ(video.Open(Config(c.width, c.height, c.mode)), c.opens) << c.width;
    EXPECT_EQ(video.IsOpen(), c.opens);
    EXPECT_EQ(video.LastError().empty(), c.opens);
    EXPECT_EQ(headless.control->CurrentVideoConfig().has_value(), c.opens);
  }
}

TEST(HeadlessVideo, PresentKeepsTheFrameRefusesMismatchesAndReportsLoss) {
  auto headless = CreateHeadlessPlatform();
  VideoOut& video = *headless.platform->video;
  std::vector<uint16_t> pixels(400 * 240, 0xFFFF);  // pitch wider than the frame
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) pixels[static_cast<size_t>(y * 400 + x)] =
        static_cast<uint16_t>(y * 320 + x);

  EXPECT_FALSE(video.Present(pixels.data(), 320, 240, 400)) << "not open";
  ASSERT_TRUE(video.Open(Config(320, 240)));
  EXPECT_FALSE(video.Present(pixels.data(), 640, 480, 640)) << "wrong size";
  EXPECT_FALSE(video.Present(pixels.data(), 320, 240, 319)) << "pitch below width";
  EXPECT_FALSE(video.Present(nullptr, 320, 240, 320));
  EXPECT_EQ(headless.control->PresentCount(), 0u);

  ASSERT_TRUE(video.Present(pixels.data(), 320, 240, 400));
  int width = 0, height = 0;
  const std::vector<uint16_t>& frame = headless.control->LastFrame(&width, &height);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 240);
  ASSERT_EQ(frame.size(), 320u * 240u);
  for (size_t i = 0; i < frame.size(); ++i) ASSERT_EQ(frame[i], static_cast<uint16_t>(i));
  EXPECT_EQ(headless.control->PresentCount(), 1u);
  EXPECT_FALSE(video.TakeDeviceLost());

  // An injected loss fails one present, keeps the last frame and is reported once.
  const std::vector<uint16_t> second(320 * 240, 0x4321);
  headless.control->InjectDeviceLost();
  EXPECT_FALSE(video.Present(second.data(), 320, 240, 320));
  EXPECT_EQ(headless.control->LastFrame(nullptr, nullptr)[1], 1) << "lost frame not shown";
  EXPECT_TRUE(video.TakeDeviceLost());
  EXPECT_FALSE(video.TakeDeviceLost());
  EXPECT_TRUE(video.Present(second.data(), 320, 240, 320));
  EXPECT_EQ(headless.control->LastFrame(nullptr, nullptr)[1], 0x4321);
  EXPECT_EQ(headless.control->PresentCount(), 2u);
}

TEST(HeadlessVideo, SavedImagesReadBackWithWidenedChannels) {
  auto headless = CreateHeadlessPlatform();
  const std::string png = std::string(TESSARU_SCRATCH) + "/frame.png";
  const std::string bmp = std::string(TESSARU_SCRATCH) + "/frame.bmp";
  EXPECT_FALSE(headless.control->SaveLastFramePng(png)) << "nothing presented yet";

  ASSERT_TRUE(headless.platform->video->Open(Config(320, 240)));
  struct Colour { uint16_t rgb565; uint8_t r, g, b; };
  const Colour colours[] = {
      {0x0000, 0, 0, 0},       {0xFFFF, 255, 255, 255}, {0xF800, 255, 0, 0},
      {0x07E0, 0, 255, 0},     {0x001F, 0, 0, 255},     {0x8410, 132, 130, 132},
      {0x0821, 8, 4, 8},
  };
  std::vector<uint16_t> pixels(320 * 240, 0);
  for (size_t i = 0; i < std::size(colours); ++i) pixels[i] = colours[i].rgb565;
  pixels[320 * 239 + 319] = 0xF800;  // the last pixel catches a flipped or short image
  ASSERT_TRUE(headless.platform->video->Present(pixels.data(), 320, 240, 320));

  for (const std::string& path : {png, bmp}) {
    ASSERT_TRUE(path == png ? headless.control->SaveLastFramePng(path)
                            : headless.control->SaveLastFrameBmp(path));
    int w = 0, h = 0, n = 0;
    unsigned char* data = stbi_load(path.c_str(), &w, &h, &n, 3);
    ASSERT_NE(data, nullptr) << path;
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    for (size_t i = 0; i < std::size(colours); ++i) {
      EXPECT_EQ(data[i * 3 + 0], colours[i].r) << path << " colour " << i;
      EXPECT_EQ(data[i * 3 + 1], colours[i].g) << path << " colour " << i;
      EXPECT_EQ(data[i * 3 + 2], colours[i].b) << path << " colour " << i;
    }
    const size_t last = (320u * 240u - 1u) * 3u;
    EXPECT_EQ(data[last], 255);
    EXPECT_EQ(data[last + 1], 0);
    stbi_image_free(data);
  }
  EXPECT_FALSE(headless.control->SaveLastFramePng(std::string(TESSARU_SCRATCH) + "/no/such/dir.png"));
}

TEST(HeadlessInput, ScriptedKeysArriveOnceDueInTimeThenScheduleOrder) {
  auto headless = CreateHeadlessPlatform();
  InputSource& input = *headless.platform->input;
  headless.control->ScheduleKey({10.0, 0x41, true});
  headless.control->ScheduleKey({5.0, 0x5A, true});
  headless.control->ScheduleKey({5.0, 0x58, true});
  headless.control->ScheduleKey({5.5, 0x5A, true});  // already down: no transition
  headless.control->ScheduleKey({12.0, 0x5A, false});

  headless.control->AdvanceMs(4.9);
  input.Pump();
  EXPECT_TRUE(input.TakeKeyEvents().empty());
  EXPECT_FALSE(input.KeyDown(0x5A));

  headless.control->AdvanceMs(1.0);  // 5.9
  input.Pump();
  std::vector<KeyEvent> events = input.TakeKeyEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].VirtualKey, 0x5A);
  EXPECT_EQ(events[1].VirtualKey, 0x58);
  EXPECT_DOUBLE_EQ(events[0].TimeMs, 5.0);
  EXPECT_DOUBLE_EQ(events[0].ArrivalMs, 5.9);
  EXPECT_TRUE(input.KeyDown(0x5A));
  EXPECT_TRUE(input.KeyDown(0x58));
  EXPECT_FALSE(input.KeyDown(0x41));
  EXPECT_TRUE(input.TakeKeyEvents().empty()) << "taken events are gone";

  headless.control->AdvanceMs(10.0);  // 15.9: the press at 10 and the release at 12
  input.Pump();
  events = input.TakeKeyEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].VirtualKey, 0x41);
  EXPECT_TRUE(events[0].Down);
  EXPECT_DOUBLE_EQ(events[0].TimeMs, 10.0);
  EXPECT_EQ(events[1].VirtualKey, 0x5A);
  EXPECT_FALSE(events[1].Down);
  EXPECT_FALSE(input.KeyDown(0x5A));

  // A key scheduled in the past arrives at the next pump with its own time.
  headless.control->ScheduleKey({1.0, 0x0D, true});
  input.Pump();
  events = input.TakeKeyEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_DOUBLE_EQ(events[0].TimeMs, 1.0);
}

TEST(HeadlessInput, PumpAdvanceLetsABusyWaitFinish) {
  auto headless = CreateHeadlessPlatform();
  Clock& clock = *headless.platform->clock;
  InputSource& input = *headless.platform->input;
  headless.control->ScheduleKey({30.0, 0x1B, true});
  EXPECT_EQ(headless.control->PendingKeyCount(), 1u);
  input.Pump();
  EXPECT_EQ(clock.GetTickCount(), 0u) << "no advance unless asked";
  headless.control->SetPumpAdvanceMs(1.0);
  const uint32_t start = clock.GetTickCount();
  int pumps = 0;
  while (clock.GetTickCount() - start < 50 && pumps < 1000) {
    input.Pump();
    ++pumps;
  }
  EXPECT_EQ(pumps, 50);
  EXPECT_EQ(headless.control->PendingKeyCount(), 0u);
  const std::vector<KeyEvent> events = input.TakeKeyEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_DOUBLE_EQ(events[0].ArrivalMs, 30.0) << "the key arrives at the first pump at its time";
  headless.control->SetPumpAdvanceMs(-3.0);
  input.Pump();
  EXPECT_EQ(clock.GetTickCount(), 50u);
}

TEST(HeadlessInput, JoysticksQuitAndMessages) {
  auto headless = CreateHeadlessPlatform();
  InputSource& input = *headless.platform->input;
  EXPECT_FALSE(input.Joystick(0).Connected);
  headless.control->SetJoystick(1, {true, -10000, 5000, 0x80000001u});
  headless.control->SetJoystick(2, {true, 1, 1, 1});  // only two pads exist
  headless.control->SetJoystick(-1, {true, 1, 1, 1});
  EXPECT_EQ(input.Joystick(1).X, -10000);
  EXPECT_EQ(input.Joystick(1).Buttons, 0x80000001u);
  EXPECT_FALSE(input.Joystick(2).Connected);
  EXPECT_FALSE(input.Joystick(-1).Connected);
  headless.control->SetJoystick(1, {false, -10000, 5000, 1});  // unplugged mid-game
  EXPECT_EQ(input.Joystick(1).Buttons, 0u);
  EXPECT_EQ(input.Joystick(1).X, 0);

  EXPECT_FALSE(input.QuitRequested());
  headless.control->RequestQuit();
  EXPECT_TRUE(input.QuitRequested());

  headless.platform->dialogs->ShowMessage("Tessaru", "first");
  headless.platform->dialogs->ShowMessage("Other", "second");
  EXPECT_EQ(headless.control->Messages(), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(headless.control->MessageTitles(), (std::vector<std::string>{"Tessaru", "Other"}));
}

}  // namespace
}  // namespace tessaru::platform
