// The play screen's cost on the generated data folder: one frame of a busy stage at
// 640x480 (and 320x240), and the stage loop at MAXFPS 60, where every iteration judges
// and only some draw.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "content/song_file.h"
#include "stage/play/play_devices.h"
#include "stage/play/stage_run.h"

namespace tessaru {
namespace {

// A stage well into a song: both players' pages full of chips, judgement pictures,
// damage blocks, the dances and the background animation.
struct BusyStage {
  std::string Data = TESSARU_DATA_DIR;
  SongRecord Song;
  std::vector<PartRecord> Parts;
  UserSettings Settings;
  std::unique_ptr<PlayDevices> Devices;
  std::unique_ptr<StageContext> Context;
  PlayAssets Assets;
  std::unique_ptr<StageRun> Run;
  Random Rng{11};
  std::string Error;

  BusyStage(int16_t resolution, int16_t maxFps, int32_t songTimeMs) {
    const std::string songPath = Data + "\\songs\\ember\\ember.z4s";
    if (!std::filesystem::exists(Data + "/songs/ember") || !LoadSongFile(Song, Parts, songPath, false)) {
      Error = "no generated data folder at " + Data + " (build with TESSARU_GENERATE_DATA)";
      return;
    }
    Devices = OpenPlayDevices(true, false, Data, Error);
    if (!Devices) return;
    Devices->Headless->SetPumpAdvanceMs(1.0);
    Settings.MAXFPS = maxFps;
    Context = std::make_unique<StageContext>(*Devices->Graph, *Devices->Sound, *Devices->Input,
                                             *Devices->Platform->clock, Devices->Errors, Settings, Data, songPath,
                                             Song, Parts);
    Context->Setup.PlayerPart = {5, 2};
    // Player 1 strong, player 2 weak: justs on one side, misses and damage on the other.
    Context->Setup.ComSkill = {90, 35, 99, 99};
    Context->Rng = &Rng;
    Assets.Resolution = resolution;
    if (!LoadPlayAssets(*Context, Assets)) {
      Error = "the stage's pictures did not load: " + Devices->Errors.Text();
      return;
    }
    Run = std::make_unique<StageRun>(*Context, Assets, resolution);
    Run->Start();
    while (Run->GetStage().EndState() == 0 && Run->GetStage().SongTime() < songTimeMs) Run->Iterate();
  }
  ~BusyStage() {
    Run.reset();
    if (Context) ReleasePlayAssets(*Context, Assets);
  }
};

void DrawFrame(benchmark::State& state, int16_t resolution) {
  BusyStage s(resolution, 60, 45000);
  if (!s.Run) {
    state.SkipWithError(s.Error.c_str());
    return;
  }
  for (auto _ : state) {
    s.Run->View().Draw();
    s.Devices->Graph->FlipScreen();
  }
  state.counters["bga_sprites"] = s.Run->View().LastBgaSprites();
}

void PlayFrame640(benchmark::State& state) { DrawFrame(state, 0); }
void PlayFrame320(benchmark::State& state) { DrawFrame(state, 1); }
BENCHMARK(PlayFrame640)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlayFrame320)->Unit(benchmark::kMicrosecond);

// The frame alone, without handing it to the display.
void PlayFrame640NoPresent(benchmark::State& state) {
  BusyStage s(0, 60, 45000);
  if (!s.Run) {
    state.SkipWithError(s.Error.c_str());
    return;
  }
  for (auto _ : state) s.Run->View().Draw();
}
BENCHMARK(PlayFrame640NoPresent)->Unit(benchmark::kMicrosecond);

// Ten seconds of song at MAXFPS 60, one millisecond of virtual time per iteration: every
// iteration updates the engine and judges, a frame is drawn only every ~16 ms. Counters
// per benchmark iteration (one loop iteration): the share that drew, the wall time of
// iterations that drew and of those that did not, and the judgements made per song
// second, so a stall of drawing would show as fewer judgements or a long gap.
void StageLoopThrottled(benchmark::State& state) {
  BusyStage s(0, 60, 30000);
  if (!s.Run) {
    state.SkipWithError(s.Error.c_str());
    return;
  }
  using Clock = std::chrono::steady_clock;
  double drawNs = 0, judgeOnlyNs = 0;
  int64_t drawn = 0, judgeOnly = 0;
  int32_t maxGapMs = 0;
  const auto& p = s.Run->GetStage().Player(0);
  const auto& q = s.Run->GetStage().Player(1);
  auto judged = [&] {
    int64_t n = 0;
    for (int32_t c : p.JudgeCount) n += c;
    for (int32_t c : q.JudgeCount) n += c;
    return n;
  };
  const int64_t judgedBefore = judged();
  const int32_t startSong = s.Run->GetStage().SongTime();
  for (auto _ : state) {
    if (s.Run->GetStage().EndState() != 0) {
      state.SkipWithError("the song ended during the measurement");
      break;
    }
    const uint64_t frames = s.Context->Outcome.FramesDrawn;
    const int32_t before = s.Run->GetStage().SongTime();
    const auto t0 = Clock::now();
    s.Run->Iterate();
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
    maxGapMs = std::max(maxGapMs, s.Run->GetStage().SongTime() - before);
    if (s.Context->Outcome.FramesDrawn != frames) {
      drawNs += ns;
      ++drawn;
    } else {
      judgeOnlyNs += ns;
      ++judgeOnly;
    }
  }
  const double songSeconds = (s.Run->GetStage().SongTime() - startSong) / 1000.0;
  const auto d = static_cast<double>(drawn);
  const auto j = static_cast<double>(judgeOnly);
  state.counters["drawn_share"] = d / std::max(1.0, d + j);
  state.counters["us_iter_drawing"] = drawn > 0 ? drawNs / d / 1000.0 : 0.0;
  state.counters["us_iter_judging_only"] = judgeOnly > 0 ? judgeOnlyNs / j / 1000.0 : 0.0;
  state.counters["frames_per_song_s"] = songSeconds > 0 ? d / songSeconds : 0.0;
  state.counters["judged_per_song_s"] =
      songSeconds > 0 ? static_cast<double>(judged() - judgedBefore) / songSeconds : 0.0;
  state.counters["max_song_gap_ms"] = maxGapMs;
}
BENCHMARK(StageLoopThrottled)->Iterations(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tessaru
