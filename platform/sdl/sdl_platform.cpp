// The real backend's devices, sharing one time scale. Each device starts only the SDL
// subsystem it needs, when it needs it.
#include <memory>

#include "platform/platform.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_dialogs.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_video.h"

namespace tessaru::platform {

std::unique_ptr<Platform> CreateSdlPlatform() {
  auto time = std::make_shared<const TimeBase>();
  auto platform = std::make_unique<Platform>();
  platform->clock = std::make_unique<SdlClock>(time);
  auto video = std::make_unique<SdlVideo>();
  platform->dialogs = std::make_unique<SdlDialogs>(video.get());
  platform->video = std::move(video);
  platform->audio = std::make_unique<SdlAudio>(time);
  platform->input = std::make_unique<SdlInput>(time);
  return platform;
}

}  // namespace tessaru::platform
