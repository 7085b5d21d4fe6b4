#pragma once
// The seam between the game and the operating system. Everything above this folder sees
// only these interfaces; SDL appears nowhere else. Two backends implement them: "sdl"
// (the real devices) and "headless" (a virtual clock the caller advances, scripted
// input, frames kept in memory, audio pulled as the clock moves).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaru::platform {

// Millisecond time. GetTickCount wraps at 2^32 like the system tick counter; NowMs is
// the same scale with sub-millisecond precision (for stamping key presses).
class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t GetTickCount() = 0;
  virtual double NowMs() = 0;
  // Gives the time to the system (real backend) or advances the virtual clock (headless).
  virtual void SleepMs(uint32_t ms) = 0;
};

enum class DisplayMode { Windowed, FullScreen, Doubled };

struct VideoConfig {
  int Width = 640;   // 640x480 or 320x240
  int Height = 480;
  DisplayMode Mode = DisplayMode::Windowed;
  std::string Title = "Tessaru";
  bool HideCursor = false;
  // A PNG shown as the window's icon (none when empty or unreadable).
  std::string IconFile;
};

// Presents RGB565 frames. Full screen keeps the desktop mode and scales with the aspect
// kept; Doubled shows a 320x240 frame in a 640x480 window.
class VideoOut {
 public:
  virtual ~VideoOut() = default;
  virtual bool Open(const VideoConfig& config) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // pitch is in pixels. False when the frame could not be shown (device lost).
  virtual bool Present(const uint16_t* pixels, int width, int height, int pitch) = 0;
  // True once after the device lost its content (SDL render-target reset, or an injected
  // failure in the headless backend); the caller then restores its pages.
  virtual bool TakeDeviceLost() = 0;
  // Changes the open window's caption; without a window it does nothing.
  virtual void SetTitle(const std::string& title) = 0;
  // Why the last Open failed, for the error log; empty when it did not.
  virtual std::string LastError() const { return {}; }
};

struct AudioFormat {
  int Rate = 44100;
  int Bits = 16;         // 16 or 8 at the device; the mixer always renders 16-bit
  int Channels = 2;
  int BufferFrames = 512;
  std::string Device{};  // a name from AudioOut::DeviceNames; empty = the default device
};

// Fills `frames` interleaved stereo 16-bit frames. `deviceTimeMs` is the Clock::NowMs at
// which the callback started (the mixer uses it to place sounds sample-exactly).
using MixCallback = std::function<void(int16_t* out, int frames, double deviceTimeMs)>;

class AudioOut {
 public:
  virtual ~AudioOut() = default;
  // Opens the device and starts pulling from `mix`; the format actually granted, or
  // nothing when the device refuses.
  virtual std::optional<AudioFormat> Open(const AudioFormat& wanted, MixCallback mix) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Holds the callback off while the game thread changes what it reads (keep it short).
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
  virtual std::vector<std::string> DeviceNames() = 0;
  // Why the last Open failed, for the error log; empty when it did not.
  virtual std::string LastError() const { return {}; }
};

// Windows virtual-key numbering, 0..255.
struct KeyEvent {
  uint8_t VirtualKey = 0;
  bool Down = false;
  double TimeMs = 0.0;  // Clock::NowMs scale: when the key moved, as well as we can tell
  double ArrivalMs = 0.0;  // when our event pump received it (TimeMs before any refinement)
};

struct JoystickState {
  bool Connected = false;
  int X = 0;  // -10000..10000
  int Y = 0;
  uint32_t Buttons = 0;  // bit i = button i, 32 buttons
};

// A joystick's whole state right after one of its events, stamped when the event came.
struct JoystickSample {
  int Pad = 0;
  JoystickState State;
  double TimeMs = 0.0;  // Clock::NowMs scale
};

class InputSource {
 public:
  virtual ~InputSource() = default;
  // Services the window's event queue: keys, joysticks, window close, device resets.
  virtual void Pump() = 0;
  // Key transitions since the last call, in arrival order.
  virtual std::vector<KeyEvent> TakeKeyEvents() = 0;
  virtual bool KeyDown(uint8_t virtualKey) const = 0;
  // The first two joysticks; an unplugged one reads as not connected.
  virtual JoystickState Joystick(int index) const = 0;
  // Joystick changes since the last call, in arrival order, so that a button pressed and
  // let go between two polls is still seen.
  virtual std::vector<JoystickSample> TakeJoystickSamples() = 0;
  // The window was closed by the player.
  virtual bool QuitRequested() const = 0;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
};

// One backend's set of devices; owned by the Game for the whole run.
struct Platform {
  std::unique_ptr<Clock> clock;
  std::unique_ptr<VideoOut> video;
  std::unique_ptr<AudioOut> audio;
  std::unique_ptr<InputSource> input;
  std::unique_ptr<Dialogs> dialogs;
};

std::unique_ptr<Platform> CreateSdlPlatform();

}  // namespace tessaru::platform
