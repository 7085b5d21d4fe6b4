#pragma once
// Everything the headless devices share: one virtual clock that drives the audio pulls,
// plus the video, input and dialog records. Each device holds it, so the control surface
// stays valid for as long as any device lives.
#include <string>
#include <vector>

#include "platform/headless.h"
#include "platform/headless/memory_video.h"
#include "platform/headless/pulled_audio.h"
#include "platform/headless/scripted_input.h"

namespace tessaru::platform {

class HeadlessState final : public HeadlessControl {
 public:
  double NowMs() const { return nowMs_; }

  void AdvanceMs(double ms) override;
  void SetClockMs(double ms) override;
  void SetPumpAdvanceMs(double ms) override { pumpAdvanceMs_ = ms > 0.0 ? ms : 0.0; }
  void ScheduleKey(const ScriptedKey& key) override { input.Schedule(key); }
  size_t PendingKeyCount() const override { return input.PendingCount(); }
  void Pump();
  void SetJoystick(int index, const JoystickState& state) override {
    input.SetJoystick(index, state, nowMs_);
  }
  void RequestQuit() override { input.RequestQuit(); }
  void InjectDeviceLost() override { video.InjectDeviceLost(); }
  const std::vector<uint16_t>& LastFrame(int* width, int* height) const override;
  uint64_t PresentCount() const override { return video.PresentCount(); }
  void SetPresentHook(std::function<void()> hook) override { presentHook = std::move(hook); }
  void SetClockHook(std::function<void(double)> hook) override { clockHook_ = std::move(hook); }
  bool SaveLastFramePng(const std::string& path) const override;
  bool SaveLastFrameBmp(const std::string& path) const override;
  std::optional<VideoConfig> CurrentVideoConfig() const override { return video.Config(); }
  const std::vector<std::string>& WindowTitles() const override { return video.Titles(); }
  void SetAudioAccepts(std::function<bool(const AudioFormat&)> accepts) override {
    audio.SetAccepts(std::move(accepts));
  }
  std::optional<AudioFormat> CurrentAudioFormat() const override { return audio.Format(); }
  uint64_t MixedFrames() const override { return audio.MixedFrames(); }
  void RecordAudio(bool on) override { audio.Record(on); }
  const std::vector<int16_t>& RecordedAudio() const override { return audio.Recorded(); }
  const std::vector<std::string>& Messages() const override { return messages; }
  const std::vector<std::string>& MessageTitles() const override { return messageTitles; }

  MemoryVideo video;
  PulledAudio audio;
  ScriptedInput input;
  std::vector<std::string> messages;
  std::vector<std::string> messageTitles;
  std::function<void()> presentHook;

 private:
  double nowMs_ = 0.0;
  double pumpAdvanceMs_ = 0.0;
  bool advancing_ = false;
  std::function<void(double)> clockHook_;
};

}  // namespace tessaru::platform
