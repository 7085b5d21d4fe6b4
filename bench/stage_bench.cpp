// The stage engine's cost: one loop iteration of a busy stage, and a whole song played
// on the virtual clock.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "stage/simulation.h"
#include "stage/stage.h"

namespace tessaru {
namespace {

// A sound layer that keeps every started sound playing until it is stopped, so the
// queue carries a realistic load.
class BusySink final : public SoundSink {
 public:
  void Play(int16_t slot) override { playing_[static_cast<size_t>(slot)] = true; }
  void Stop(int16_t slot) override { playing_[static_cast<size_t>(slot)] = false; }
  void SetVolume(int16_t, int32_t) override {}
  void SetPan(int16_t, int32_t) override {}
  bool IsPlaying(int16_t slot) override { return playing_[static_cast<size_t>(slot)]; }

 private:
  std::vector<bool> playing_ = std::vector<bool>(1024, false);
};

// A chip on every step of every part, four sounds per chip lasting half a beat.
PartRecord BusyPart(int16_t bars, int seed) {
  PartRecord part;
  part.Bars = bars;
  part.SoundCount = 8;
  part.SoundPan.assign(8, 0);
  part.SoundVolume.assign(8, 0);
  part.SoundFiles.assign(8, "x.wav");
  const size_t steps = static_cast<size_t>(bars) * kStepsPerBar;
  part.StepWords.resize(steps);
  part.ChipSounds.resize(steps * kSlotsPerStep);
  part.ChipTicks.assign(steps * kSlotsPerStep, 240);
  part.ChipWordsB.assign(steps * kSlotsPerStep, 0);
  part.ChipWordsC.assign(steps * kSlotsPerStep, 0);
  for (size_t s = 0; s < steps; ++s) {
    part.StepWords[s] = static_cast<int16_t>((s + static_cast<size_t>(seed)) % 4 + 1);
    for (size_t k = 0; k < kSlotsPerStep; ++k) {
      part.ChipSounds[s * kSlotsPerStep + k] = static_cast<int16_t>((s + k) % 8);
    }
  }
  part.ChipTotal = static_cast<int16_t>(steps);
  return part;
}

struct BusyStage {
  explicit BusyStage(int16_t bars) {
    song.Bpm = 150;
    song.Bars = bars;
    song.TempoBpms = {150};
    for (int i = 0; i < 10; ++i) {
      parts.push_back(BusyPart(bars, i));
      std::vector<int16_t> slots;
      for (int k = 0; k < 8; ++k) slots.push_back(static_cast<int16_t>(i * 8 + k));
      setup.SoundSlots.push_back(slots);
    }
    setup.ComSkill = {90, 80, 99, 99};  // both players strike: two played parts, eight automatic
  }
  SongRecord song;
  std::vector<PartRecord> parts;
  StageSetup setup;
};

void BM_StageIteration(benchmark::State& state) {
  const BusyStage busy(400);
  Random random(1);
  BusySink sink;
  auto stage = std::make_unique<Stage>(busy.song, busy.parts, busy.setup, random, &sink);
  int32_t now = 0;
  for (auto _ : state) {
    stage->Update(++now);
    if (stage->EndState() != 0) {
      state.PauseTiming();
      stage = std::make_unique<Stage>(busy.song, busy.parts, busy.setup, random, &sink);
      now = 0;
      state.ResumeTiming();
    }
  }
  state.counters["queued"] = stage->Sounds().Used();
}
BENCHMARK(BM_StageIteration);

void BM_WholeSongSimulated(benchmark::State& state) {
  // 90 bars at 120 BPM: three minutes.
  BusyStage busy(90);
  busy.song.Bpm = 120;
  busy.song.TempoBpms = {120};
  for (auto _ : state) {
    Random random(2);
    BusySink sink;
    Stage stage(busy.song, busy.parts, busy.setup, random, &sink);
    benchmark::DoNotOptimize(RunSimulation(stage, {}));
  }
}
BENCHMARK(BM_WholeSongSimulated)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessaru
