// Replay files: loading the longest replay a stage can write, and listing a folder of
// 1000 replays for the part select's dialog.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "persist/replay_file.h"

namespace {
namespace fs = std::filesystem;
using namespace tessaru;

std::string Folder(const char* name) {
  const std::string folder = (fs::temp_directory_path() / name).string();
  fs::remove_all(folder);
  fs::create_directories(folder + "/data");
  return folder;
}

ReplayRecord LongReplay(const std::string& data, const std::string& song) {
  ReplayRecord r;
  r.SongPath = data + "\\songs\\" + song + "\\" + song + ".z4s";
  r.Part = 3;
  for (int i = 0; i < kReplayMaxEvents; ++i) {
    r.Append(48000 + i * 97, static_cast<int16_t>(1 + i % 4), static_cast<int16_t>(400 + i), static_cast<int16_t>(1 + i % 5));
  }
  return r;
}

void LoadFiveThousandPresses(benchmark::State& state) {
  const std::string folder = Folder("tessaru-replay-load");
  std::string reason;
  const std::string path = SaveReplay(folder, folder + "/data", LongReplay(folder + "/data", "ember"), reason);
  for (auto _ : state) {
    ReplayRecord r;
    if (!LoadReplay(path, r, false, &reason)) state.SkipWithError(reason.c_str());
    benchmark::DoNotOptimize(r.EvTick.data());
  }
}
BENCHMARK(LoadFiveThousandPresses)->Unit(benchmark::kMillisecond);

void ListThousandReplays(benchmark::State& state) {
  const std::string folder = Folder("tessaru-replay-list");
  const std::string data = folder + "/data";
  std::string reason;
  // 1000 files of 5000 presses over ten songs; the listing looks for one song.
  for (int i = 0; i < 1000; ++i) {
    SaveReplay(folder, data, LongReplay(data, "song" + std::to_string(i % 10)), reason);
  }
  size_t found = 0;
  for (auto _ : state) found = FindReplays(folder, data, data + "\\songs\\song3\\song3.z4s").size();
  if (found != 100) state.SkipWithError("the listing did not find the song's 100 replays");
}
BENCHMARK(ListThousandReplays)->Unit(benchmark::kMillisecond);

}  // namespace
