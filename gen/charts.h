#pragma once
// Turns a part's notes into a keysounded chart: which steps carry chips at the part's
// level, which lane each chip takes, and the sample each chip plays (the instrument's
// sound from that chip up to the next one, so every density plays the same music).
#include <map>
#include <string>
#include <vector>

#include "content/song_record.h"
#include "gen/music.h"
#include "gen/wave.h"

namespace tessaru::gen {

// Milliseconds of a step through the tempo map, as the stage walks it (each whole
// segment truncated to whole milliseconds).
class TempoMap {
 public:
  explicit TempoMap(const std::vector<TempoChange>& changes);
  double StepToMs(double step) const;
  double BpmAtStep(double step) const;

 private:
  std::vector<TempoChange> changes_;
};

// The samples of one song folder, shared by its parts and deduplicated by content.
class SampleBank {
 public:
  static constexpr int kRate = 22050;
  // The index of a sample made of these notes (offsets in seconds from the chip).
  int Add(const std::string& key, std::vector<float> samples, int rate = kRate);
  int RateOf(int index) const { return rates_[static_cast<size_t>(index)]; }
  bool Has(const std::string& key) const { return index_.count(key) > 0; }
  int IndexOf(const std::string& key) const { return index_.at(key); }
  std::string FileName(int index) const;  // "snd\k0001.wav" relative to the song folder
  std::vector<std::vector<float>>& Samples() { return samples_; }
  const std::vector<float>& Sample(int index) const { return samples_[static_cast<size_t>(index)]; }

 private:
  std::map<std::string, int> index_;
  std::vector<std::vector<float>> samples_;
  std::vector<int> rates_;
};

struct ChartOptions {
  int level = 1;             // density 1..8
  int kind = 0;              // part index the chart stands for
  int rate = SampleBank::kRate;  // sample rate of this part's sounds
  // A lesson chart forces lanes: step -> lane. Empty = lanes follow the music.
  std::map<int, int> forcedLanes;
  std::vector<int> forcedSteps;  // when not empty, exactly these steps carry chips
};

struct Chart {
  PartRecord record;
  std::vector<int> chipSteps;     // in order
  std::vector<int> chipSamples;   // sample bank index per chip
};

Chart BuildChart(const PartMusic& music, int bars, const TempoMap& tempo, SampleBank& bank,
                 const ChartOptions& options);
// The density-based difficulty of a chart, 1..8.
int MeasureLevel(const Chart& chart, const TempoMap& tempo, int bars);

}  // namespace tessaru::gen
