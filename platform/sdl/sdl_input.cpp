#include "platform/sdl/sdl_input.h"

#include <SDL.h>

#include <algorithm>
#include <utility>

#include "platform/sdl/keyboard_table.h"
#include "platform/sdl/press_time.h"

namespace tessaru::platform {
namespace {

constexpr double kRawEventFreshMs = 2.0;
static_assert(SDL_HAT_UP == 1 && SDL_HAT_RIGHT == 2 && SDL_HAT_DOWN == 4 && SDL_HAT_LEFT == 8,
              "ComposeJoystick reads the hat with SDL's bits");

PadControls ReadControls(SDL_Joystick* device) {
  PadControls controls;
  const int axes = SDL_JoystickNumAxes(device);
  if (axes > 0) controls.AxisX = SDL_JoystickGetAxis(device, 0);
  if (axes > 1) controls.AxisY = SDL_JoystickGetAxis(device, 1);
  if (SDL_JoystickNumHats(device) > 0) controls.Hat = SDL_JoystickGetHat(device, 0);
  const int buttons = std::min(SDL_JoystickNumButtons(device), 32);
  for (int b = 0; b < buttons; ++b) {
    if (SDL_JoystickGetButton(device, b) != 0) controls.Buttons |= 1u << b;
  }
  return controls;
}

}  // namespace

SdlInput::SdlInput(std::shared_ptr<const TimeBase> time) : time_(std::move(time)) {
  events_.Acquire(SDL_INIT_EVENTS, nullptr);
  // Pads keep working while another window has the focus.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (joysticks_.Acquire(SDL_INIT_JOYSTICK, nullptr)) {
    // Pads present at start take the two slots in the system's order; later arrivals
    // (and a pad plugged back in) take a free slot when SDL announces them.
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) OpenPad(i);
  }
  SDL_AddEventWatch(&SdlInput::Watch, this);
  watching_ = true;
}

SdlInput::~SdlInput() {
  if (watching_) SDL_DelEventWatch(&SdlInput::Watch, this);
  for (Pad& pad : pads_) {
    if (pad.device != nullptr) SDL_JoystickClose(pad.device);
    pad = Pad{};
  }
}

int SdlInput::Watch(void* self, SDL_Event* event) {
  auto* input = static_cast<SdlInput*>(self);
  if (event->type == SDL_SYSWMEVENT) {
    X11KeyTime key;
    if (ReadX11KeyTime(*event, &key)) {
      const double nowMs = input->time_->NowMs();
      std::lock_guard<std::mutex> lock(input->mutex_);
      input->pendingX11_ = key;
      input->pendingX11AtMs_ = nowMs;
    }
  } else if (event->type == SDL_KEYDOWN || event->type == SDL_KEYUP) {
    input->OnKey(*event);
  } else if (event->type == SDL_JOYAXISMOTION || event->type == SDL_JOYHATMOTION ||
             event->type == SDL_JOYBUTTONDOWN || event->type == SDL_JOYBUTTONUP) {
    input->OnJoystick(*event);
  }
  return 1;
}

void SdlInput::OnJoystick(const SDL_Event& event) {
  const double timeMs = time_->NowMs();
  std::lock_guard<std::mutex> lock(mutex_);
  // All four joystick events carry the instance at the same place.
  const SDL_JoystickID which = event.jbutton.which;
  for (size_t pad = 0; pad < padEvents_.size(); ++pad) {
    PadEvents& slot = padEvents_[pad];
    if (slot.instance < 0 || slot.instance != which) continue;
    PadControls& c = slot.controls;
    switch (event.type) {
      case SDL_JOYAXISMOTION:
        if (event.jaxis.axis == 0) c.AxisX = event.jaxis.value;
        else if (event.jaxis.axis == 1) c.AxisY = event.jaxis.value;
        else return;
        break;
      case SDL_JOYHATMOTION:
        if (event.jhat.hat != 0) return;
        c.Hat = event.jhat.value;
        break;
      default: {
        if (event.jbutton.button >= 32) return;
        const uint32_t bit = 1u << event.jbutton.button;
        c.Buttons = event.type == SDL_JOYBUTTONDOWN ? (c.Buttons | bit) : (c.Buttons & ~bit);
        break;
      }
    }
    joystickSamples_.push_back({static_cast<int>(pad), ComposeJoystick(c), timeMs});
    return;
  }
}

void SdlInput::OnKey(const SDL_Event& event) {
  // Stamp first: everything after this is bookkeeping.
  const double arrivalMs = time_->NowMs();
  const double monotonicMs = MonotonicMs();
  const bool down = event.type == SDL_KEYDOWN;

  std::lock_guard<std::mutex> lock(mutex_);
  // The raw X event is pushed just before the key event SDL makes of it; it belongs to
  // this key event only.
  const std::optional<X11KeyTime> x11 = std::exchange(pendingX11_, std::nullopt);
  if (event.key.repeat != 0) return;
  const int scancode = event.key.keysym.scancode;
  if (scancode < 0 || scancode >= static_cast<int>(scancodeDown_.size())) return;
  if ((scancodeDown_[static_cast<size_t>(scancode)] != 0) == down) return;
  scancodeDown_[static_cast<size_t>(scancode)] = down ? 1 : 0;

  const uint8_t virtualKey = ScancodeToVirtualKey(scancode);
  if (virtualKey == 0) return;
  double timeMs = arrivalMs;
  // SDL sends the key event right after the raw one; an older raw event was one SDL made
  // nothing of (an auto-repeat release), and a key SDL makes up itself (the releases on
  // focus loss) has none.
  if (x11 && x11->Press == down && arrivalMs - pendingX11AtMs_ < kRawEventFreshMs) {
    timeMs = RefinePressTime(arrivalMs, monotonicMs, x11->TimeMs);
  }
  SetVirtualKey(virtualKey, down, timeMs, arrivalMs);
  const uint8_t generic = GenericVirtualKey(virtualKey);
  if (generic != 0) SetVirtualKey(generic, down, timeMs, arrivalMs);
}

void SdlInput::SetVirtualKey(uint8_t virtualKey, bool down, double timeMs, double arrivalMs) {
  // Several keys can report one code (both Enters, both Shifts for 0x10): the code is
  // down while any of them is, and only its first press and last release are events.
  uint8_t& holders = virtualDown_[virtualKey];
  if (down) {
    if (holders++ != 0) return;
  } else {
    if (holders == 0 || --holders != 0) return;
  }
  keyEvents_.push_back(KeyEvent{virtualKey, down, timeMs, arrivalMs});
}

void SdlInput::Pump() {
  if (SDL_EventState(SDL_SYSWMEVENT, SDL_QUERY) != SDL_ENABLE) {
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  }
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    switch (event.type) {
      case SDL_QUIT:
        quit_ = true;
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) quit_ = true;
        break;
      case SDL_JOYDEVICEADDED:
        OpenPad(event.jdevice.which);
        break;
      case SDL_JOYDEVICEREMOVED:
        ClosePad(event.jdevice.which);
        break;
      default:
        break;
    }
  }
  ReadPads();
}

std::vector<KeyEvent> SdlInput::TakeKeyEvents() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(keyEvents_, {});
}

std::vector<JoystickSample> SdlInput::TakeJoystickSamples() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(joystickSamples_, {});
}

bool SdlInput::KeyDown(uint8_t virtualKey) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return virtualDown_[virtualKey] != 0;
}

JoystickState SdlInput::Joystick(int index) const {
  if (index < 0 || index >= static_cast<int>(pads_.size())) return {};
  return pads_[static_cast<size_t>(index)].state;
}

void SdlInput::OpenPad(int deviceIndex) {
  if (!joysticks_.Held()) return;
  const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  if (instance < 0) return;
  for (const Pad& pad : pads_) {
    if (pad.instance == instance) return;
  }
  for (size_t slot = 0; slot < pads_.size(); ++slot) {
    Pad& pad = pads_[slot];
    if (pad.device != nullptr) continue;
    // Not under the lock: opening may push events, and the watch takes it.
    SDL_Joystick* device = SDL_JoystickOpen(deviceIndex);
    if (device == nullptr) return;
    pad.device = device;
    pad.instance = SDL_JoystickInstanceID(device);
    pad.state = JoystickState{};
    const PadControls controls = ReadControls(device);
    std::lock_guard<std::mutex> lock(mutex_);
    padEvents_[slot] = PadEvents{pad.instance, controls};
    return;
  }
}

void SdlInput::ClosePad(int32_t instance) {
  for (size_t slot = 0; slot < pads_.size(); ++slot) {
    Pad& pad = pads_[slot];
    if (pad.device == nullptr || pad.instance != instance) continue;
    SDL_JoystickClose(pad.device);
    pad = Pad{};
    std::lock_guard<std::mutex> lock(mutex_);
    padEvents_[slot] = PadEvents{};
  }
}

void SdlInput::ReadPads() {
  for (Pad& pad : pads_) {
    if (pad.device == nullptr) continue;
    if (!SDL_JoystickGetAttached(pad.device)) {
      // Unplugged and not yet announced: reads as nothing pressed until it is closed.
      pad.state = JoystickState{};
      continue;
    }
    pad.state = ComposeJoystick(ReadControls(pad.device));
  }
}

}  // namespace tessaru::platform
