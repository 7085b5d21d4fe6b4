#pragma once
// The real keyboard and joysticks. Key transitions are caught by an event watch the
// moment SDL pushes them, stamped there with the performance counter (and, on X11,
// moved back by the time the event waited in the X queue), then handed to the game in
// order at the next TakeKeyEvents. Joystick events are caught and stamped the same way.
#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/joystick_axis.h"
#include "platform/sdl/sdl_subsystem.h"
#include "platform/sdl/time_base.h"
#include "platform/sdl/x11_key_event.h"

struct _SDL_Joystick;
union SDL_Event;

namespace tessaru::platform {

class SdlInput final : public InputSource {
 public:
  explicit SdlInput(std::shared_ptr<const TimeBase> time);
  ~SdlInput() override;

  void Pump() override;
  std::vector<KeyEvent> TakeKeyEvents() override;
  bool KeyDown(uint8_t virtualKey) const override;
  JoystickState Joystick(int index) const override;
  std::vector<JoystickSample> TakeJoystickSamples() override;
  bool QuitRequested() const override { return quit_; }

 private:
  struct Pad {
    _SDL_Joystick* device = nullptr;
    int32_t instance = -1;
    JoystickState state;
  };
  // A pad as its events have left it, kept apart from the polled state so that every
  // event can be stamped with the whole pad's state at that moment.
  struct PadEvents {
    int32_t instance = -1;
    PadControls controls;
  };

  static int Watch(void* self, SDL_Event* event);
  void OnKey(const SDL_Event& event);
  void OnJoystick(const SDL_Event& event);
  void SetVirtualKey(uint8_t virtualKey, bool down, double timeMs, double arrivalMs);
  void OpenPad(int deviceIndex);
  void ClosePad(int32_t instance);
  void ReadPads();

  std::shared_ptr<const TimeBase> time_;
  SdlSubsystem events_;
  SdlSubsystem joysticks_;
  bool watching_ = false;
  bool quit_ = false;
  std::array<Pad, 2> pads_{};

  // Written by the event watch: SDL pushes keyboard events on the thread that pumps, but
  // other events may be pushed from SDL's own threads, so the key state is guarded.
  mutable std::mutex mutex_;
  std::array<uint8_t, 512> scancodeDown_{};  // per SDL scancode
  std::array<uint8_t, 256> virtualDown_{};   // how many held keys report each code
  std::vector<KeyEvent> keyEvents_;
  std::array<PadEvents, 2> padEvents_{};
  std::vector<JoystickSample> joystickSamples_;
  std::optional<X11KeyTime> pendingX11_;     // the raw X event of the key SDL sends next
  double pendingX11AtMs_ = 0.0;              // when it was pushed
};

}  // namespace tessaru::platform
