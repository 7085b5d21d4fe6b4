#pragma once
// A stage on the headless devices over a fixture data folder: the virtual clock moves
// one millisecond per event pump, so the stage loop runs as it would on a machine.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "stage/judgement.h"
#include "stage/play/play_devices.h"
#include "stage/play/play_stage.h"
#include "stage/play/stage_context.h"
#include "stage/play/testing/fixture_data.h"
#include "stage/tempo_map.h"

namespace tessaru::playtest {

inline constexpr uint8_t kLaneKeys[5] = {0, 'Z', 'X', 'C', 'V'};
inline constexpr uint8_t kEscapeKey = 27;

struct PlayRig {
  std::string Data;
  FixtureSong Song;
  UserSettings Settings;
  std::unique_ptr<PlayDevices> Devices;
  Random Rng{7};

  PlayRig(const std::string& name, const SongOptions& song, const FixtureOptions& data = {}, bool write = true)
      : Data(std::string(TESSARU_SCRATCH) + "/" + name) {
    // Each folder is written once per test run; the stages only read it.
    static std::set<std::string> written;
    if (write && written.insert(Data).second) {
      std::filesystem::remove_all(Data);
      WriteFixtureData(Data, data);
    }
    Song = WriteFixtureSong(Data, song);
    Settings.MAXFPS = 30;
    Reopen();
  }

  // Fresh devices with the virtual clock back at its start, for a second identical run.
  void Reopen() {
    std::string error;
    Devices = OpenPlayDevices(true, false, Data, error);
    ASSERT_TRUE(Devices) << error;
    Devices->Headless->SetPumpAdvanceMs(1.0);
    Rng.Seed(7);
  }

  StageContext Context() {
    StageContext c{*Devices->Graph, *Devices->Sound, *Devices->Input, *Devices->Platform->clock,
                   Devices->Errors, Settings, Data, Song.SongPath, Song.Song, Song.Parts};
    c.Setup.PlayerPart = {0, 1};
    c.Setup.ComSkill = {-1, 100, 99, 99};
    c.Rng = &Rng;
    return c;
  }

  void Press(double atMs, int16_t lane, double holdMs = 30) {
    Devices->Headless->ScheduleKey({atMs, kLaneKeys[lane], true});
    Devices->Headless->ScheduleKey({atMs + holdMs, kLaneKeys[lane], false});
  }
  void Key(double atMs, uint8_t key, double holdMs = 30) {
    Devices->Headless->ScheduleKey({atMs, key, true});
    Devices->Headless->ScheduleKey({atMs + holdMs, key, false});
  }
};

// Runs the stage once without input to learn when its song clock starts; the devices
// are virtual, so a second run starts at the same moment.
inline double LearnStart(PlayRig& rig) {
  StageContext c = rig.Context();
  PlayStage(c);
  rig.Reopen();
  return c.Outcome.StartMs;
}

// Presses each of the song's chips at its time plus shifts[k % size], the song clock
// starting at `start`.
inline void PressChips(PlayRig& rig, const SongOptions& song, double start, const std::vector<double>& shifts,
                       double holdMs = 30) {
  for (size_t k = 0; k < song.Chips.size(); ++k) {
    const auto& [step, lane] = song.Chips[k];
    rig.Press(start + StepToTime(rig.Song.Song, step) + shifts[k % shifts.size()], lane, holdMs);
  }
}

// A press this far from its chip (ms) and the category it must get.
struct ShiftedPress {
  double Shift;
  Judgement Category;
};

// Expects press k judged as presses[k] says and returns the largest |judged d - shift| of
// those not missed.
inline double ExpectJudged(const std::vector<JudgedPress>& judged, const std::vector<ShiftedPress>& presses) {
  EXPECT_EQ(judged.size(), presses.size());
  double worst = 0;
  for (size_t k = 0; k < std::min(judged.size(), presses.size()); ++k) {
    EXPECT_EQ(judged[k].Category, presses[k].Category) << "shift " << presses[k].Shift;
    if (presses[k].Category != JudgeMiss) worst = std::max(worst, std::fabs(judged[k].Delta - presses[k].Shift));
  }
  return worst;
}

inline std::vector<double> Shifts(const std::vector<ShiftedPress>& presses) {
  std::vector<double> shifts;
  for (const ShiftedPress& p : presses) shifts.push_back(p.Shift);
  return shifts;
}

}  // namespace tessaru::playtest
