// Measures the real game on the SDL devices (run by hand; see the README's Performance
// section): the time from launch to the title's first frame, the memory in use at the
// title, and the memory during a free-mode stage reached by scripted keys.
//
//   SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy tessaru-startup-probe PROGRAM_DIR
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "flow/game.h"
#include "flow/game_main.h"
#include "platform/platform.h"

namespace {

using Steady = std::chrono::steady_clock;
const Steady::time_point kLaunch = Steady::now();

double SinceLaunchMs() { return std::chrono::duration<double, std::milli>(Steady::now() - kLaunch).count(); }

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
  }
  return -1;
}

struct Probe {
  double TitleMs = -1;  // launch to the title's first frame
  long TitleKb = -1;
  long StageKb = -1;
  uint64_t Presents = 0;
  std::chrono::steady_clock::time_point TitleAt;
};
Probe probe;

// The title's first frame is the third present: the loading caption, then the first
// frame of the title's fade-in.
class TimedVideo : public tessaru::platform::VideoOut {
 public:
  explicit TimedVideo(std::unique_ptr<VideoOut> inner) : inner_(std::move(inner)) {}
  bool Open(const tessaru::platform::VideoConfig& c) override { return inner_->Open(c); }
  void Close() override { inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  bool Present(const uint16_t* p, int w, int h, int pitch) override {
    const bool shown = inner_->Present(p, w, h, pitch);
    if (++probe.Presents == 2) {
      probe.TitleMs = SinceLaunchMs();
      probe.TitleKb = ResidentKb();
      probe.TitleAt = Steady::now();
    }
    return shown;
  }
  bool TakeDeviceLost() override { return inner_->TakeDeviceLost(); }
  void SetTitle(const std::string& title) override { inner_->SetTitle(title); }

 private:
  std::unique_ptr<VideoOut> inner_;
};

// Holds keys down at set times after the title came up: the way to a free-mode stage.
class ScriptedKeys : public tessaru::platform::InputSource {
 public:
  explicit ScriptedKeys(std::unique_ptr<InputSource> inner) : inner_(std::move(inner)) {}
  void Pump() override { inner_->Pump(); }
  std::vector<tessaru::platform::KeyEvent> TakeKeyEvents() override { return inner_->TakeKeyEvents(); }
  bool KeyDown(uint8_t key) const override {
    if (inner_->KeyDown(key)) return true;
    if (probe.TitleMs < 0 || key != 13) return false;
    const double t = std::chrono::duration<double, std::milli>(Steady::now() - probe.TitleAt).count();
    for (double at : {1500.0, 3000.0, 4500.0, 6000.0, 8000.0}) {
      if (t >= at && t < at + 60) return true;
    }
    return false;
  }
  tessaru::platform::JoystickState Joystick(int i) const override { return inner_->Joystick(i); }
  std::vector<tessaru::platform::JoystickSample> TakeJoystickSamples() override {
    return inner_->TakeJoystickSamples();
  }
  bool QuitRequested() const override {
    if (probe.TitleMs < 0) return inner_->QuitRequested();
    const double t = std::chrono::duration<double, std::milli>(Steady::now() - probe.TitleAt).count();
    if (t >= 20000 && probe.StageKb < 0) probe.StageKb = ResidentKb();
    return t >= 20000 || inner_->QuitRequested();
  }

 private:
  std::unique_ptr<InputSource> inner_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tessaru-startup-probe PROGRAM_DIR\n");
    return 2;
  }
  auto devices = tessaru::platform::CreateSdlPlatform();
  devices->video = std::make_unique<TimedVideo>(std::move(devices->video));
  devices->input = std::make_unique<ScriptedKeys>(std::move(devices->input));
  tessaru::Game game(std::move(devices), argv[1]);
  tessaru::LoadGameSettings(game);
  const int status = tessaru::GameMain(game, 0);
  std::printf("title_ms=%.1f title_rss_kb=%ld stage_rss_kb=%ld stage_frames=%llu status=%d\n",
              probe.TitleMs, probe.TitleKb, probe.StageKb,
              static_cast<unsigned long long>(game.LastStage.FramesDrawn), status);
  return 0;
}
