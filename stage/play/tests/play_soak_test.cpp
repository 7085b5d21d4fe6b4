// The soak: twenty stages back to back through PlayStage on one set of headless devices,
// on the generated data, each song different from the one before (30 s of each). Every stage must end on
// its own, and the heap after the last stage must be what it was after the first: a stage
// that leaves pictures, sounds or anything else behind shows here long before a player
// notices. Minutes long, so it is registered only on request (see the README); build it
// with -fsanitize=address to have every leak and stray access reported as well.
#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "content/song_file.h"
#include "content/song_list.h"
#include "input/input_codes.h"
#include "stage/play/play_devices.h"
#include "stage/play/play_stage.h"

#if defined(__SANITIZE_ADDRESS__)
#define TESSARU_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSARU_ASAN 1
#endif
#endif
#ifdef TESSARU_ASAN
// The sanitizer runtime's own count of live heap bytes (not every compiler ships its header).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace tessaru {
namespace {

constexpr int kStages = 20;
// Each stage is ended with F1 this long after it starts (loading, play, the result
// sequence and the release all still happen), so twenty fit in minutes even under ASan.
constexpr double kStageMs = 30000;

// Bytes the program holds on its heap right now.
double HeapMb() {
#ifdef TESSARU_ASAN
  return static_cast<double>(__sanitizer_get_current_allocated_bytes()) / (1 << 20);
#else
  return static_cast<double>(mallinfo2().uordblks) / (1 << 20);
#endif
}

double ResidentMb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024;
  }
  return 0;
}

TEST(PlaySoak, TwentyStagesEndAndLeaveNothingBehind) {
  const std::string data = TESSARU_DATA_DIR;
  SongList list;
  SongRecord song;
  std::vector<PartRecord> parts;
  ErrorLog listLog;
  ASSERT_TRUE(LoadSongList(list, song, parts, data, 0, listLog)) << listLog.Text();
  ASSERT_GE(list.SongCount, 2);

  std::string error;
  const auto devices = OpenPlayDevices(true, false, data, error);
  ASSERT_TRUE(devices) << error;
  devices->Headless->SetPumpAdvanceMs(1.0);
  UserSettings settings;
  settings.MAXFPS = 20;  // fewer frames keep it quick; every frame is still drawn the same way
  Random rng(21);
  double firstHeap = 0;
  for (int stage = 0; stage < kStages; ++stage) {
    const std::string& path = list.SongPaths[static_cast<size_t>(stage % list.SongCount)];
    ASSERT_TRUE(LoadSongFile(song, parts, path, false)) << path;
    StageContext c(*devices->Graph, *devices->Sound, *devices->Input, *devices->Platform->clock, devices->Errors,
                   settings, data, path, song, parts);
    c.Setup.PlayerPart = {static_cast<int16_t>(stage % 8), static_cast<int16_t>((stage + 3) % 8)};
    c.Setup.ComSkill = {100, 90, 99, 99};
    c.Rng = &rng;
    const double now = devices->Platform->clock->NowMs();
    devices->Headless->ScheduleKey({now + kStageMs, static_cast<uint8_t>(kVkF1), true});
    devices->Headless->ScheduleKey({now + kStageMs + 40, static_cast<uint8_t>(kVkF1), false});
    PlayStage(c);
    EXPECT_GE(c.Outcome.EndState, 1) << path;
    EXPECT_EQ(c.Outcome.ResultCode, 0) << path;
    EXPECT_TRUE(devices->Errors.Empty()) << path << ": " << devices->Errors.Text();
    const double heap = HeapMb();
    if (stage == 0) firstHeap = heap;
    if (stage == 0 || stage == kStages - 1) {
      std::printf("after stage %d (%s): heap %.1f MB, resident %.1f MB\n", stage + 1, path.c_str(), heap,
                  ResidentMb());
    }
  }
  EXPECT_LT(HeapMb() - firstHeap, 4.0) << "the heap grew over the stages";
}

}  // namespace
}  // namespace tessaru
