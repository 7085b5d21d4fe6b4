#pragma once
// A small data folder for playing stages in tests and benchmarks: the play sheets,
// wallpaper, stage sounds, one dance, and a song with a track, keysounds and a
// background animation. Everything is written in the packed forms the game reads.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "content/song_record.h"

namespace tessaru::playtest {

struct FixtureOptions {
  bool ChipSheets = true;
  bool PlaySheets = true;
  bool Wallpaper = true;
  bool Dances = true;
  bool StageSounds = true;
};

// Writes the data folder's shared files under `dataPath` (a file-system folder).
void WriteFixtureData(const std::string& dataPath, const FixtureOptions& options = {});

struct FixtureSong {
  SongRecord Song;
  std::vector<PartRecord> Parts;
  std::string SongPath;  // logical path of the song file (its folder holds the rest)
};

struct SongOptions {
  double Bpm = 120.0;
  int16_t Bars = 4;
  // Player 1's part: (step, lane) of each chip. Part 1 copies it; part 2 (automatic)
  // has a chip on every fourth step.
  std::vector<std::pair<int32_t, int16_t>> Chips;
  int32_t TrackMs = 0;  // 0: one second past the last bar; < 0: no track
  bool Bga = true;
  bool Keysounds = true;
};

// Writes a song folder "songs\test" under dataPath and returns the loaded records.
FixtureSong WriteFixtureSong(const std::string& dataPath, const SongOptions& options);

// A mono 16-bit WAVE of a soft tone (silence when hz is 0).
void WriteWave(const std::string& path, int32_t ms, int hz, int rate = 22050);
// An RGB565 picture packed as the ".zxg" beside `bmpPath`.
void WritePackedImage(const std::string& bmpPath, int width, int height, const std::vector<uint16_t>& pixels);

}  // namespace tessaru::playtest
