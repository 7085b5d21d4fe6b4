// The pairing of SDL key events with the raw X events pushed just before them, fed with
// made-up X events so no X server is needed.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_syswm.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/time_base.h"

namespace tessaru::platform {
namespace {

#if defined(SDL_VIDEO_DRIVER_X11)

void PushRawX11Key(bool press, double waitedMs) {
  SDL_SysWMmsg msg{};
  SDL_VERSION(&msg.version);
  msg.subsystem = SDL_SYSWM_X11;
  msg.msg.x11.event.type = press ? KeyPress : KeyRelease;
  msg.msg.x11.event.xkey.time =
      static_cast<Time>(static_cast<uint32_t>(static_cast<uint64_t>(std::floor(MonotonicMs() - waitedMs))));
  SDL_Event event{};
  event.type = SDL_SYSWMEVENT;
  event.syswm.msg = &msg;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void PushKey(bool down, SDL_Scancode scancode, Uint8 repeat = 0) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat;
  event.key.keysym.scancode = scancode;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

TEST(SdlKeyTime, RawXEventMovesOnlyTheKeyEventRightAfterIt) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  std::unique_ptr<Platform> platform = CreateSdlPlatform();
  InputSource& input = *platform->input;
  input.Pump();

  PushRawX11Key(true, 10.0);
  PushKey(true, SDL_SCANCODE_A);  // waited 10 ms in the X queue
  PushRawX11Key(false, 20.0);
  PushKey(false, SDL_SCANCODE_A);  // releases are moved too
  PushRawX11Key(true, 10.0);
  PushKey(true, SDL_SCANCODE_B, 1);  // an auto-repeat uses up its raw event
  PushKey(true, SDL_SCANCODE_C);     // no raw event of its own
  PushRawX11Key(true, 10.0);
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  PushKey(true, SDL_SCANCODE_D);  // the raw event is stale
  PushRawX11Key(true, 5000.0);
  PushKey(true, SDL_SCANCODE_E);  // an implausible wait: another time base
  PushRawX11Key(false, 10.0);
  PushKey(true, SDL_SCANCODE_F);  // a release cannot time a press
  input.Pump();

  const std::vector<KeyEvent> events = input.TakeKeyEvents();
  struct Expected {
    uint8_t virtualKey;
    bool down;
    double movedMs;  // how far TimeMs lies before ArrivalMs
  };
  const Expected expected[] = {
      {0x41, true, 10.0}, {0x41, false, 20.0}, {0x43, true, 0.0},
      {0x44, true, 0.0},  {0x45, true, 0.0},   {0x46, true, 0.0},
  };
  ASSERT_EQ(events.size(), std::size(expected));
  for (size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(events[i].VirtualKey, expected[i].virtualKey) << i;
    EXPECT_EQ(events[i].Down, expected[i].down) << i;
    // The made-up X time is truncated to the millisecond, as the server's is.
    EXPECT_NEAR(events[i].ArrivalMs - events[i].TimeMs, expected[i].movedMs, 1.0) << i;
    if (expected[i].movedMs == 0.0) {
      EXPECT_EQ(events[i].TimeMs, events[i].ArrivalMs) << i;
    }
  }
}

#endif

}  // namespace
}  // namespace tessaru::platform
