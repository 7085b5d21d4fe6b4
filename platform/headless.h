#pragma once
// The headless backend: complete, deterministic, and driven by the caller. Time moves
// only when the caller advances it (or when the game sleeps); audio is mixed as time
// moves; frames are kept for inspection; input is scripted.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tessaru::platform {

struct ScriptedKey {
  double TimeMs;  // virtual time at which the event happens
  uint8_t VirtualKey;
  bool Down;
};

class HeadlessControl {
 public:
  virtual ~HeadlessControl() = default;
  // Advances the virtual clock, pulling audio in device-buffer steps as it goes.
  virtual void AdvanceMs(double ms) = 0;
  // Moves the clock to `ms` at once without pulling audio for the jump (tests of the
  // 32-bit tick wrap); an open audio device keeps its cadence from the new time.
  virtual void SetClockMs(double ms) = 0;
  // Each Pump() first advances the clock by this much (0 by default), so that a loop which
  // waits by pumping and reading the tick, without sleeping, still sees time pass.
  virtual void SetPumpAdvanceMs(double ms) = 0;
  // Key events delivered by Pump() once the clock has reached their time.
  virtual void ScheduleKey(const ScriptedKey& key) = 0;
  // Scheduled key events not delivered yet.
  virtual size_t PendingKeyCount() const = 0;
  // Sets a joystick's state now; the change is also a sample stamped with the clock.
  virtual void SetJoystick(int index, const JoystickState& state) = 0;
  virtual void RequestQuit() = 0;
  // The next Present reports a lost device.
  virtual void InjectDeviceLost() = 0;
  // The last presented frame (RGB565, width*height) and how many were presented.
  virtual const std::vector<uint16_t>& LastFrame(int* width, int* height) const = 0;
  virtual uint64_t PresentCount() const = 0;
  // Called after every Present, so a test can look at the game while it runs.
  virtual void SetPresentHook(std::function<void()> hook) = 0;
  // Called with the new time whenever the clock has moved on (not for SetClockMs), so a
  // caller can act at given moments while the game runs.
  virtual void SetClockHook(std::function<void(double nowMs)> hook) = 0;
  virtual bool SaveLastFramePng(const std::string& path) const = 0;
  virtual bool SaveLastFrameBmp(const std::string& path) const = 0;
  // Every caption the window has shown, from the first Open on, in order.
  virtual const std::vector<std::string>& WindowTitles() const = 0;
  // The configuration of the open display, if any.
  virtual std::optional<VideoConfig> CurrentVideoConfig() const = 0;
  // Decides which formats the audio device grants (all by default), to exercise the
  // callers' fallbacks; the granted format while open.
  virtual void SetAudioAccepts(std::function<bool(const AudioFormat&)> accepts) = 0;
  virtual std::optional<AudioFormat> CurrentAudioFormat() const = 0;
  // Frames the mixer has been asked for since the device opened.
  virtual uint64_t MixedFrames() const = 0;
  // Every mixed sample since the audio device opened (interleaved stereo), when recording.
  virtual void RecordAudio(bool on) = 0;
  virtual const std::vector<int16_t>& RecordedAudio() const = 0;
  // Messages shown through Dialogs.
  virtual const std::vector<std::string>& Messages() const = 0;
  virtual const std::vector<std::string>& MessageTitles() const = 0;
};

// The platform plus its control surface; both stay valid as long as the Platform lives.
struct HeadlessPlatform {
  std::unique_ptr<Platform> platform;
  HeadlessControl* control = nullptr;
};

HeadlessPlatform CreateHeadlessPlatform();

}  // namespace tessaru::platform
