// The headless devices: thin adapters from the platform interfaces onto one shared state.
#include <cmath>
#include <memory>

#include "platform/headless.h"
#include "platform/headless/headless_state.h"

namespace tessaru::platform {
namespace {

using SharedState = std::shared_ptr<HeadlessState>;

class HeadlessClock final : public Clock {
 public:
  explicit HeadlessClock(SharedState state) : state_(std::move(state)) {}
  uint32_t GetTickCount() override {
    // The low 32 bits of the whole milliseconds, so the tick wraps as the system's does.
    return static_cast<uint32_t>(static_cast<uint64_t>(std::floor(state_->NowMs())));
  }
  double NowMs() override { return state_->NowMs(); }
  void SleepMs(uint32_t ms) override { state_->AdvanceMs(ms); }

 private:
  SharedState state_;
};

class HeadlessVideo final : public VideoOut {
 public:
  explicit HeadlessVideo(SharedState state) : state_(std::move(state)) {}
  bool Open(const VideoConfig& config) override { return state_->video.Open(config); }
  void Close() override { state_->video.Close(); }
  bool IsOpen() const override { return state_->video.IsOpen(); }
  bool Present(const uint16_t* pixels, int width, int height, int pitch) override {
    const bool shown = state_->video.Present(pixels, width, height, pitch);
    if (state_->presentHook) state_->presentHook();
    return shown;
  }
  bool TakeDeviceLost() override { return state_->video.TakeDeviceLost(); }
  void SetTitle(const std::string& title) override { state_->video.SetTitle(title); }
  std::string LastError() const override { return state_->video.LastError(); }

 private:
  SharedState state_;
};

class HeadlessAudio final : public AudioOut {
 public:
  explicit HeadlessAudio(SharedState state) : state_(std::move(state)) {}
  std::optional<AudioFormat> Open(const AudioFormat& wanted, MixCallback mix) override {
    return state_->audio.Open(wanted, std::move(mix), state_->NowMs());
  }
  void Close() override { state_->audio.Close(); }
  bool IsOpen() const override { return state_->audio.IsOpen(); }
  // The mixer only ever runs on the caller's own thread, inside AdvanceMs or SleepMs, so
  // there is nothing to hold off.
  void Lock() override {}
  void Unlock() override {}
  std::vector<std::string> DeviceNames() override { return {"Headless output"}; }

 private:
  SharedState state_;
};

class HeadlessInput final : public InputSource {
 public:
  explicit HeadlessInput(SharedState state) : state_(std::move(state)) {}
  void Pump() override { state_->Pump(); }
  std::vector<KeyEvent> TakeKeyEvents() override { return state_->input.TakeKeyEvents(); }
  bool KeyDown(uint8_t virtualKey) const override { return state_->input.KeyDown(virtualKey); }
  JoystickState Joystick(int index) const override { return state_->input.Joystick(index); }
  std::vector<JoystickSample> TakeJoystickSamples() override {
    return state_->input.TakeJoystickSamples();
  }
  bool QuitRequested() const override { return state_->input.QuitRequested(); }

 private:
  SharedState state_;
};

class HeadlessDialogs final : public Dialogs {
 public:
  explicit HeadlessDialogs(SharedState state) : state_(std::move(state)) {}
  void ShowMessage(const std::string& title, const std::string& text) override {
    state_->messageTitles.push_back(title);
    state_->messages.push_back(text);
  }

 private:
  SharedState state_;
};

}  // namespace

HeadlessPlatform CreateHeadlessPlatform() {
  auto state = std::make_shared<HeadlessState>();
  auto platform = std::make_unique<Platform>();
  platform->clock = std::make_unique<HeadlessClock>(state);
  platform->video = std::make_unique<HeadlessVideo>(state);
  platform->audio = std::make_unique<HeadlessAudio>(state);
  platform->input = std::make_unique<HeadlessInput>(state);
  platform->dialogs = std::make_unique<HeadlessDialogs>(state);
  HeadlessPlatform result;
  result.control = state.get();
  result.platform = std::move(platform);
  return result;
}

}  // namespace tessaru::platform
