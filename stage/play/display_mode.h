#pragma once
// Switching the display between 640x480 and 320x240. Every page of the pool is lost on
// the way; the caller makes the pages it needs again.
#include <cstdint>

#include "core/error_log.h"
#include "graphics/graph_lib.h"
#include "persist/user_settings.h"

namespace tessaru {

// Re-creates the display for RESOLUTION value mode (0 = 640x480, 1 = 320x240), full
// screen when FULLSCREEN is 0, else windowed (mode 1 with DRAWSTRET 1 doubled). When the
// full screen refuses 320x240 the setting falls back to 0 and 640x480 is made instead.
// False when no display could be made.
bool ChangeResolution(GraphLib& graph, UserSettings& settings, ErrorLog& errors, int16_t mode);

}  // namespace tessaru
