#include "stage/play/training_run.h"

#include <cmath>
#include <cstdlib>
#include <iostream>

#include <gtest/gtest.h>

#include "core/file_access.h"
#include "sound/wave_file.h"
#include "stage/judge_windows.h"
#include "stage/judgement.h"
#include "stage/play/tests/play_test_rig.h"
#include "stage/tempo_map.h"

namespace tessaru::playtest {
namespace {

constexpr uint8_t kTabKey = 9;
constexpr uint8_t kF1Key = 112;

// A chip on every other step of bars 0..3.
SongOptions FourBars() {
  SongOptions song;
  song.Bars = 4;
  for (int32_t s = 0; s < 64; s += 2) song.Chips.push_back({s, static_cast<int16_t>(1 + (s / 2) % 4)});
  return song;
}

StageContext TrainingContext(PlayRig& rig, const SongRecord& song, bool autoplay) {
  StageContext c = rig.Context();
  StageContext t{c.Graph, c.Sound, c.Input, c.Clock, c.Errors, c.Settings, c.DataPath, c.SongPath, song, c.Parts};
  t.Setup.PlayerPart = {0, -1};
  t.Setup.ComSkill = {autoplay ? kAutoplaySkill : int16_t{-1}, kAutoplaySkill, 99, 99};
  t.Rng = c.Rng;
  return t;
}

TEST(TrainingRun, AtBothSpeedLimitsPressesAreJudgedOnTheScaledTempo) {
  for (const int16_t speed : {kSlowestTrainingSpeed, kFastestTrainingSpeed}) {
    PlayRig rig("training-speed", FourBars());
    SongRecord song = SongAtSpeed(rig.Song.Song, speed);
    song.Bgm.clear();  // a sped-up section always plays without its track
    const JudgeWindows w = SetJudgeWindows(song.Bpm, 0, 0, 0);
    // Each window edge from both sides: inside it is the wider category, past it the next.
    const double shifts[] = {0,
                             static_cast<double>(w.WinJustLate),
                             w.WinJustLate + 0.5,
                             -static_cast<double>(w.WinJustEarly),
                             -w.WinJustEarly - 0.5,
                             static_cast<double>(w.WinNearLate),
                             w.WinNearLate + 0.5,
                             -static_cast<double>(w.WinFarEarly),
                             -w.WinFarEarly - 1.0};
    const TrainingSection section{2, 4, false};
    // Learn when the clock starts, then press on the second run of identical devices.
    StageContext first = TrainingContext(rig, song, false);
    PlayTrainingSection(first, section);
    const double startMs = first.Outcome.StartMs;
    rig.Reopen();
    const double songStart = std::floor(StepToTime(song, 32));
    const int n = static_cast<int>(std::size(shifts));
    for (int k = 0; k < n; ++k) {
      const int32_t step = 32 + 2 * k;
      rig.Press(startMs + StepToTime(song, step) - songStart + shifts[k], static_cast<int16_t>(1 + (step / 2) % 4), 20);
    }
    StageContext c = TrainingContext(rig, song, false);
    const TrainingOutcome out = PlayTrainingSection(c, section);
    EXPECT_EQ(out.Code, 0);
    ASSERT_EQ(c.Outcome.Presses.size(), static_cast<size_t>(n)) << "speed " << speed;
    for (int k = 0; k < n; ++k) {
      const int16_t want = ClassifyDelta(shifts[k], w);
      EXPECT_EQ(c.Outcome.Presses[static_cast<size_t>(k)].Category, want < 0 ? JudgeMiss : want)
          << "speed " << speed << " shift " << shifts[k];
    }
    EXPECT_EQ(c.Outcome.Players[0].Gauge, first.Outcome.Players[0].Gauge) << "the gauge never moves";
  }
}

struct RunCase {
  const char* Name;
  bool Repeat;
  std::vector<std::pair<double, uint8_t>> Keys;  // ms after the clock starts
  int16_t WantCode;
  int32_t WantPasses;
};

TEST(TrainingRun, AutoplayRepeatTabF1AndEsc) {
  // Bars 0..2 at 120 BPM: four seconds a pass.
  const RunCase cases[] = {
      {"one pass", false, {}, 0, 1},
      {"repeat until F1", true, {{5000, kF1Key}}, 0, 2},
      {"tab restarts a repeating section", true, {{1000, kTabKey}, {2000, kF1Key}}, 0, 2},
      {"tab stops a single pass", false, {{1000, kTabKey}}, 0, 1},
      {"esc leaves", true, {{1000, kEscapeKey}}, -1, 1},
  };
  for (const RunCase& rc : cases) {
    PlayRig rig("training-auto", FourBars());
    for (const auto& [at, key] : rc.Keys) rig.Key(at, key);
    StageContext c = TrainingContext(rig, rig.Song.Song, true);
    const TrainingOutcome out = PlayTrainingSection(c, {0, 2, rc.Repeat});
    EXPECT_EQ(out.Code, rc.WantCode) << rc.Name;
    EXPECT_EQ(out.Passes, rc.WantPasses) << rc.Name;
    EXPECT_EQ(c.Outcome.QuitRequested, rc.WantCode == -1) << rc.Name;
    if (rc.Keys.empty()) {
      // Every chip of bars 0 and 1 struck just; bars 2 and 3 are never reached.
      EXPECT_EQ(c.Outcome.Players[0].JudgeCount[JudgeJust], 16) << rc.Name;
      EXPECT_EQ(c.Outcome.Players[0].JudgeCount[JudgeMiss], 0) << rc.Name;
    }
  }
}

// The track of a section part-way into the song must start on the sample that belongs to
// the section's first step: a click laid into the track at a known song time has to come
// out of the mixer that long after the clock started.
TEST(TrainingRun, MidSongSectionStartsTheTrackOnTheRightSample) {
  SongOptions options = FourBars();
  options.Keysounds = false;
  PlayRig rig("training-track", options);
  rig.Song.Song.BgmOffset = 40;
  const SongRecord& song = rig.Song.Song;
  constexpr int kRate = 44100;
  const double sectionStart = std::floor(StepToTime(song, 32));  // bar 2
  const double clickSong = sectionStart + 300.0;
  const auto clickFrame = static_cast<size_t>((clickSong - song.BgmOffset) * kRate / 1000.0);
  std::vector<int16_t> samples(static_cast<size_t>(kRate * 10), 0);
  for (size_t i = clickFrame; i < clickFrame + 2000; ++i) samples[i] = 20000;
  const auto bytes = BuildWave(samples, 1, kRate, 16);
  ASSERT_TRUE(WriteWholeFileAtomic(rig.Data + "/songs/test/bgm.wav",
                                   std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
  rig.Reopen();
  const double openMs = rig.Devices->Platform->clock->NowMs();
  rig.Devices->Headless->RecordAudio(true);
  StageContext c = TrainingContext(rig, song, false);
  PlayTrainingSection(c, {2, 4, false});
  const auto format = rig.Devices->Headless->CurrentAudioFormat();
  ASSERT_TRUE(format.has_value());
  const std::vector<int16_t>& out = rig.Devices->Headless->RecordedAudio();
  size_t heard = 0;
  while (heard * 2 < out.size() && std::abs(out[heard * 2]) < 4000) ++heard;
  ASSERT_LT(heard * 2, out.size()) << "the click never sounded";
  const double heardMs = openMs + heard * 1000.0 / format->Rate;
  const double wantMs = c.Outcome.StartMs + (clickSong - sectionStart);
  const double bufferMs = format->BufferFrames * 1000.0 / format->Rate;
  std::cout << "click heard " << heardMs - wantMs << " ms from its place (one output buffer: " << bufferMs << " ms)\n";
  EXPECT_LE(std::fabs(heardMs - wantMs), bufferMs);
}

}  // namespace
}  // namespace tessaru::playtest
