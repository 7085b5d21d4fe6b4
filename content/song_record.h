#pragma once
// The loaded song and its charts. Chart time: a tick is 1/480 beat, a step 1/16 bar
// (120 ticks), a bar 16 steps (1920 ticks); one step lasts 15000 / bpm ms.
#include <cstdint>
#include <string>
#include <vector>

namespace tessaru {

inline constexpr int kTicksPerStep = 120;
inline constexpr int kStepsPerBar = 16;
inline constexpr int kTicksPerBar = kTicksPerStep * kStepsPerBar;
inline constexpr int kSlotsPerStep = 4;

// One instrument's chart. Strings are UTF-8 (converted from CP932 when loaded).
struct PartRecord {
  std::string Name;
  int16_t Kind = 0;
  int16_t PartLevel = 1;
  int16_t ChipTotal = 0;
  int16_t IconIndex = 0;
  int16_t FlagWord = 0;
  int16_t PlayType = 0;
  int16_t Bars = 0;
  int16_t SoundCount = 0;
  std::vector<std::string> SoundFiles;
  std::vector<int32_t> SoundPan;
  std::vector<int32_t> SoundVolume;
  // One word per step: 0 = no chip, 1..4 = the chip's lane.
  std::vector<int16_t> StepWords;
  // Four slots per step: slot k of step s is element 4s + k.
  std::vector<int32_t> ChipTicks;
  std::vector<int16_t> ChipSounds;  // -1 = empty slot
  std::vector<int16_t> ChipWordsC;
  std::vector<int16_t> ChipWordsB;
};

// The song file's header and part list.
struct SongRecord {
  std::string Title = "NO TITLE";
  std::string Artist;
  std::string Genre;
  int16_t Level = 0;
  double Bpm = 120.0;
  int16_t Bars = 100;
  int16_t IntroBars = 0;
  int32_t BgmOffset = 0;
  std::string Bgm;
  int16_t PartCount = 10;
  std::vector<std::string> PartFiles;
  std::vector<int16_t> PartLinks;
  std::string Anime;
  int16_t TempoCount = 1;
  std::vector<int32_t> TempoTicks{0};
  std::vector<double> TempoBpms{120.0};
};

}  // namespace tessaru
