#pragma once
// In-memory songs, charts and a recording sound sink for the stage tests.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "content/song_record.h"
#include "stage/sound_sink.h"

namespace tessaru::testing {

inline SongRecord MakeSong(double bpm, int16_t bars, int16_t introBars = 0) {
  SongRecord song;
  song.Bpm = bpm;
  song.Bars = bars;
  song.IntroBars = introBars;
  song.TempoCount = 1;
  song.TempoTicks = {0};
  song.TempoBpms = {bpm};
  return song;
}

inline SongRecord MakeTempoMap(std::vector<std::pair<int32_t, double>> map, int16_t bars = 16) {
  SongRecord song = MakeSong(map.front().second, bars);
  song.TempoCount = static_cast<int16_t>(map.size());
  song.TempoTicks.clear();
  song.TempoBpms.clear();
  for (auto [tick, bpm] : map) {
    song.TempoTicks.push_back(tick);
    song.TempoBpms.push_back(bpm);
  }
  return song;
}

// A part of `bars` bars with a chip on each listed step (lane); every chip sounds the
// part's sound 0.
inline PartRecord MakePart(int16_t bars, const std::map<int32_t, int16_t>& chips, int16_t flagWord = 0) {
  PartRecord part;
  part.Bars = bars;
  part.FlagWord = flagWord;
  part.SoundCount = 1;
  part.SoundFiles = {"chip.wav"};
  part.SoundPan = {0};
  part.SoundVolume = {0};
  part.StepWords.assign(static_cast<size_t>(bars) * kStepsPerBar, 0);
  part.ChipTicks.assign(part.StepWords.size() * kSlotsPerStep, 0);
  part.ChipSounds.assign(part.StepWords.size() * kSlotsPerStep, -1);
  part.ChipWordsB.assign(part.StepWords.size() * kSlotsPerStep, 0);
  part.ChipWordsC.assign(part.StepWords.size() * kSlotsPerStep, 0);
  for (auto [step, lane] : chips) {
    part.StepWords[static_cast<size_t>(step)] = lane;
    part.ChipSounds[static_cast<size_t>(step) * kSlotsPerStep] = 0;
  }
  part.ChipTotal = static_cast<int16_t>(chips.size());
  return part;
}

// A chip on every `every`-th step from `first`, lanes cycling 1..4.
inline std::map<int32_t, int16_t> RegularChips(int32_t first, int32_t last, int32_t every) {
  std::map<int32_t, int16_t> chips;
  int16_t lane = 1;
  for (int32_t s = first; s <= last; s += every) {
    chips[s] = lane;
    lane = static_cast<int16_t>(lane % 4 + 1);
  }
  return chips;
}

class RecordingSink final : public SoundSink {
 public:
  struct Request { std::string What; int16_t Slot; int32_t Value; bool operator==(const Request&) const = default; };
  void Play(int16_t slot) override {
    log.push_back({"play", slot, 0});
    playing[slot] = true;
  }
  void Stop(int16_t slot) override {
    log.push_back({"stop", slot, 0});
    playing[slot] = false;
  }
  void SetVolume(int16_t slot, int32_t volume) override { log.push_back({"volume", slot, volume}); }
  void SetPan(int16_t slot, int32_t pan) override { log.push_back({"pan", slot, pan}); }
  bool IsPlaying(int16_t slot) override { return playing[slot]; }

  std::vector<int16_t> Played() const {
    std::vector<int16_t> slots;
    for (const auto& r : log) {
      if (r.What == "play") slots.push_back(r.Slot);
    }
    return slots;
  }

  std::vector<Request> log;
  std::map<int16_t, bool> playing;
};

}  // namespace tessaru::testing
