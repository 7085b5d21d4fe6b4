// The mixer under load and the cost of loading a large WAVE file.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/headless.h"
#include "sound/mixer.h"
#include "sound/sound_lib.h"
#include "sound/wave_file.h"

namespace tessaru {
namespace {

constexpr int kRate = 44100;
constexpr int kBuffer = 512;

// Voices of a chart: mono and stereo one-second samples, each looped so that all of them
// sound for the whole run, at assorted pans and volumes.
void BM_MixVoices(benchmark::State& state) {
  const int voices = static_cast<int>(state.range(0));
  Mixer mixer(kRate, kBuffer);
  std::vector<std::shared_ptr<const PcmData>> sounds;
  for (int channels : {1, 2}) {
    auto pcm = std::make_shared<PcmData>();
    pcm->Channels = channels;
    pcm->Rate = kRate;
    pcm->Samples.resize(static_cast<size_t>(kRate * channels));
    for (size_t i = 0; i < pcm->Samples.size(); ++i) {
      pcm->Samples[i] = static_cast<int16_t>(3000.0 * std::sin(static_cast<double>(i) * 0.03));
    }
    sounds.push_back(std::move(pcm));
  }
  for (int v = 0; v < voices; ++v) {
    const Mixer::VoiceId id = mixer.CreateVoice(
        sounds[static_cast<size_t>(v % 2)], GainForVolPan(-(v % 7) * 300, (v % 11 - 5) * 400));
    mixer.SetPosition(id, 0.0, (v * 977) % kRate);
    mixer.Play(id, 0.0, true);
  }
  std::vector<int16_t> out(2 * kBuffer);
  double t = 0.0;
  for (auto _ : state) {
    mixer.Mix(out.data(), kBuffer, t);
    t += kBuffer * 1000.0 / kRate;
    benchmark::DoNotOptimize(out.data());
  }
  // The percentage of one core that keeping up in real time takes.
  state.counters["core_pct"] = benchmark::Counter(
      static_cast<double>(kBuffer) / kRate / 100.0,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MixVoices)->Arg(64)->Arg(256)->Arg(512)->Unit(benchmark::kMicrosecond);

std::string WriteBigWave(int rate, int channels) {
  // 3 MB of sound data.
  const size_t samples = 3u * 1024u * 1024u / 2u;
  std::vector<int16_t> data(samples);
  for (size_t i = 0; i < samples; ++i) data[i] = static_cast<int16_t>((i * 7919) % 60000 - 30000);
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("tessaru_bench_" + std::to_string(rate) + "_" +
                             std::to_string(channels) + ".wav")).string();
  const std::vector<uint8_t> bytes = BuildWave(data, channels, rate);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Loading a 3 MB WAVE: at the output rate (read and decode only) and at half of it
// (read, decode and convert to 44100 Hz).
void BM_LoadWave3MB(benchmark::State& state) {
  const int rate = static_cast<int>(state.range(0));
  const int channels = static_cast<int>(state.range(1));
  const std::string path = WriteBigWave(rate, channels);
  auto headless = platform::CreateHeadlessPlatform();
  SoundLib sound(*headless.platform->audio, *headless.platform->clock);
  sound.OpenSound(1);
  for (auto _ : state) {
    const SoundSlot slot = sound.LoadWave(path, 0, 0);
    if (slot < 0) state.SkipWithError("load failed");
    sound.ReleaseSound(slot);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 3 * 1024 * 1024);
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadWave3MB)->Args({44100, 2})->Args({22050, 2})->Args({22050, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessaru
