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
    SCOPED_TRACE("speed " + std::to_string(speed));
    // Chips half a bar apart from bar 2 on, so each press has one chip near it.
    SongOptions options;
    options.Bars = 8;
    for (int32_t s = 32; s < 128; s += 8) options.Chips.push_back({s, static_cast<int16_t>(1 + (s / 8) % 4)});
    PlayRig rig("training-speed", options);
    SongRecord song = SongAtSpeed(rig.Song.Song, speed);
    song.Bgm.clear();  // a sped-up section always plays without its track
    const JudgeWindows w = SetJudgeWindows(song.Bpm, 0, 0, 0);
    // Each window edge from both sides: a little inside it, a little past it.
    const std::vector<ShiftedPress> presses = {
        {0, JudgeJust},         {w.WinJustLate - 0.3, JudgeJust},   {w.WinJustLate + 0.7, JudgeLate},
        {-w.WinJustEarly + 0.3, JudgeJust},   {-w.WinJustEarly - 0.7, JudgeEarly},
        {w.WinNearLate - 0.3, JudgeLate},     {w.WinNearLate + 0.7, JudgeFar},  {w.WinFarLate - 0.3, JudgeFar},
        {-w.WinFarEarly + 0.3, JudgeFar},     {-w.WinFarEarly - 0.7, JudgeMiss}};
    const TrainingSection section{2, 8, false};
    // Learn when the clock starts, then press on the second run of identical devices.
    StageContext first = TrainingContext(rig, song, false);
    PlayTrainingSection(first, section);
    const double startMs = first.Outcome.StartMs;
    rig.Reopen();
    const double songStart = std::floor(StepToTime(song, 32));
    for (size_t k = 0; k < presses.size(); ++k) {
      const auto& [step, lane] = options.Chips[k];
      rig.Press(startMs + StepToTime(song, step) - songStart + presses[k].Shift, lane, 20);
    }
    StageContext c = TrainingContext(rig, song, false);
    EXPECT_EQ(PlayTrainingSection(c, section).Code, 0);
    const double worst = ExpectJudged(c.Outcome.Presses, presses);
    std::cout << "speed " << speed << " (" << song.Bpm << " BPM): largest |judged d - given d| " << worst << " ms\n";
    EXPECT_EQ(c.Outcome.Players[0].Gauge, first.Outcome.Players[0].Gauge) << "the gauge never moves";
  }
}

TEST(TrainingRun, AutoplayRepeatTabF1AndEsc) {
  // Keys: ms after the clock starts.
  struct RunCase { const char* Name; bool Repeat; std::vector<std::pair<double, uint8_t>> Keys; int16_t WantCode;
                   int32_t WantPasses; };
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
// the section's first step. A click laid into the track at a known song time comes out of
// the mixer some fixed output latency after the song clock (which the chips follow)
// reaches it; from bar 2 that lag must be the one of a start from the top.
double ClickLagMs(int32_t startBar) {
  SongOptions options = FourBars();
  options.Keysounds = false;
  PlayRig rig("training-track", options);
  rig.Song.Song.BgmOffset = 40;
  rig.Settings.MAXFPS = 125;  // a frame on every pass: the clock is seen every millisecond
  const SongRecord& song = rig.Song.Song;
  constexpr int kRate = 44100;
  const double clickSong = std::floor(StepToTime(song, 32)) + 300.0;
  const auto clickFrame = static_cast<size_t>((clickSong - song.BgmOffset) * kRate / 1000.0);
  std::vector<int16_t> samples(static_cast<size_t>(kRate * 10), 0);
  for (size_t i = clickFrame; i < clickFrame + 2000; ++i) samples[i] = 20000;
  const auto bytes = BuildWave(samples, 1, kRate, 16);
  EXPECT_TRUE(WriteWholeFileAtomic(rig.Data + "/songs/test/bgm.wav",
                                   std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
  rig.Reopen();
  platform::Clock& clock = *rig.Devices->Platform->clock;
  const double openMs = clock.NowMs();
  rig.Devices->Headless->RecordAudio(true);
  StageContext c = TrainingContext(rig, song, false);
  double clockReached = -1;
  c.FrameDrawn = [&](int32_t t) {
    if (clockReached < 0 && t >= clickSong) clockReached = clock.NowMs();
  };
  PlayTrainingSection(c, {startBar, 4, false});
  const auto format = rig.Devices->Headless->CurrentAudioFormat();
  const std::vector<int16_t>& out = rig.Devices->Headless->RecordedAudio();
  size_t heard = 0;
  while (heard * 2 < out.size() && std::abs(out[heard * 2]) < 4000) ++heard;
  if (clockReached < 0 || !format || heard * 2 >= out.size()) return 1e9;  // never sounded
  return openMs + static_cast<double>(heard) * 1000.0 / format->Rate - clockReached;
}

TEST(TrainingRun, MidSongSectionStartsTheTrackOnTheRightSample) {
  const double fromTop = ClickLagMs(0);
  const double fromBar2 = ClickLagMs(2);
  const double bufferMs = 512 * 1000.0 / 44100;
  std::cout << "click heard after the clock reached it: " << fromTop << " ms from the top, " << fromBar2
            << " ms from bar 2 (one output buffer: " << bufferMs << " ms)\n";
  EXPECT_LE(std::fabs(fromBar2 - fromTop), bufferMs);
}

}  // namespace
}  // namespace tessaru::playtest
