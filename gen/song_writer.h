#pragma once
// Writes one song folder: samples, background track, part files, the song file and the
// extra tables (beginner, tutorial, rapid and extension parts) the modes read.
#include <string>
#include <vector>

#include "gen/music.h"
#include "gen/output.h"

namespace tessaru::gen {

struct SongReport {
  std::string title;
  double seconds = 0;
  double mixPeakDbfs = 0;      // all parts sounded plus the track, after levelling
  int samples = 0;
  std::vector<int> partLevels;
  std::vector<int> chipTotals;
};

// previewFolder: when not empty, a mix-down of the whole song (every part sounded at its
// chips plus the track) is written there as a plain WAVE for listening.
SongReport WriteSong(SongPlan plan, DataWriter& out, const std::string& previewFolder);

// "songs/<folder>/<folder>.z4s" with the game's separators.
std::string SongListPath(const SongPlan& plan);

}  // namespace tessaru::gen
