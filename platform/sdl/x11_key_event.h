#pragma once
// Reading the X server's own key event out of SDL's window-manager event, kept apart
// because the X headers define macros that clash with ordinary names.
#include <cstdint>

union SDL_Event;

namespace tessaru::platform {

struct X11KeyTime {
  uint32_t TimeMs = 0;  // the server's event time: 32-bit CLOCK_MONOTONIC milliseconds
  bool Press = false;
};

// True when the event is an X11 key press or release.
bool ReadX11KeyTime(const SDL_Event& event, X11KeyTime* key);

}  // namespace tessaru::platform
