#pragma once
// The devices one stage needs, brought up outside the game (the developer's play
// command, tests and benchmarks): a platform backend, the display, sound output and
// input with the default key map.
#include <memory>
#include <string>

#include "core/error_log.h"
#include "graphics/graph_lib.h"
#include "input/input_lib.h"
#include "platform/headless.h"
#include "sound/sound_lib.h"

namespace tessaru {

struct PlayDevices {
  std::unique_ptr<platform::Platform> Platform;
  platform::HeadlessControl* Headless = nullptr;  // set for the headless backend
  ErrorLog Errors;
  std::unique_ptr<GraphLib> Graph;
  std::unique_ptr<SoundLib> Sound;
  std::unique_ptr<InputLib> Input;
};

// Brings the devices up at 640x480 (windowed unless fullScreen). Null, with the reason
// in `error`, when the display or the sound output cannot be opened.
std::unique_ptr<PlayDevices> OpenPlayDevices(bool headless, bool fullScreen, const std::string& dataPath,
                                             std::string& error);

}  // namespace tessaru
