#include "gen/charts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace tessaru::gen {

TempoMap::TempoMap(const std::vector<TempoChange>& changes) : changes_(changes) {
  if (changes_.empty()) changes_.push_back({0, 120});
}

double TempoMap::StepToMs(double step) const {
  double ms = 0;
  for (size_t i = 0; i < changes_.size(); ++i) {
    const double segStart = changes_[i].bar * 16.0;
    const bool last = i + 1 == changes_.size();
    const double segEnd = last ? 1e12 : changes_[i + 1].bar * 16.0;
    const double perStep = 15000.0 / changes_[i].bpm;
    if (step < segEnd || last) return ms + (step - segStart) * perStep;
    ms += std::floor(perStep * (segEnd - segStart));
  }
  return ms;
}

double TempoMap::BpmAtStep(double step) const {
  double bpm = changes_.front().bpm;
  for (const auto& c : changes_)
    if (step >= c.bar * 16.0) bpm = c.bpm;
  return bpm;
}

int SampleBank::Add(const std::string& key, std::vector<float> samples, int rate) {
  auto it = index_.find(key);
  if (it != index_.end()) return it->second;
  const int idx = static_cast<int>(samples_.size());
  index_[key] = idx;
  samples_.push_back(std::move(samples));
  rates_.push_back(rate);
  return idx;
}

std::string SampleBank::FileName(int index) const {
  char buf[32];
  std::snprintf(buf, sizeof buf, "snd\\k%04d.wav", index);
  return buf;
}

namespace {

struct LevelRule {
  int grid;
  int minGap;
};

LevelRule RuleFor(int level) {
  static const LevelRule rules[9] = {{4, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {2, 2}, {1, 2}, {1, 1}, {1, 1}};
  return rules[std::clamp(level, 0, 8)];
}

// A chip's sound may not run longer than this; a later note then gets its own chip. Sparse
// charts (a chip every half bar) need longer sounds; the rest stay short for the size budget.
double MaxPhraseMs(const LevelRule& rule, bool forced) {
  return rule.minGap >= 8 || forced ? 1700 : 700; }

std::string NoteKey(const NoteEvent& n, double offsetMs, double lengthMs) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%d:%d:%.1f:%.1f:%.2f;", static_cast<int>(n.instrument), n.midi, offsetMs,
                lengthMs, n.velocity);
  return buf;
}

}  // namespace

Chart BuildChart(const PartMusic& music, int bars, const TempoMap& tempo, SampleBank& bank,
                 const ChartOptions& options) {
  Chart chart;
  const int steps = bars * 16;
  // Onsets in step order, each with its notes.
  std::map<int, std::vector<const NoteEvent*>> onsets;
  for (const auto& n : music.notes)
    if (n.step >= 0 && n.step < steps) onsets[n.step].push_back(&n);

  // Choose the chip steps.
  std::vector<int> chips;
  const LevelRule rule = RuleFor(options.level);
  const double maxPhraseMs = MaxPhraseMs(rule, !options.forcedSteps.empty());
  if (!options.forcedSteps.empty()) {
    for (int s : options.forcedSteps)
      if (onsets.count(s)) chips.push_back(s);
  } else {
    int last = -1000;
    for (const auto& [step, notes] : onsets) {
      const bool onGrid = step % rule.grid == 0;
      const bool gapOk = step - last >= rule.minGap;
      const bool tooLong = last < 0 || tempo.StepToMs(step) - tempo.StepToMs(last) > maxPhraseMs;
      if ((onGrid && gapOk) || tooLong) {
        chips.push_back(step);
        last = step;
      }
    }
  }

  // Lanes: low notes left, high notes right, ranked among the pitches near each chip.
  auto pitchOf = [&](int step) {
    double sum = 0;
    for (const NoteEvent* n : onsets[step]) sum += n->midi;
    return sum / static_cast<double>(onsets[step].size());
  };
  auto drumLane = [&](int step) {
    int lane = 5;
    for (const NoteEvent* n : onsets[step])
      if (n->lane > 0) lane = std::min(lane, n->lane);
    return lane == 5 ? 0 : lane;
  };
  std::vector<int> lanes(chips.size(), 1);
  for (size_t i = 0; i < chips.size(); ++i) {
    const int s = chips[i];
    if (auto it = options.forcedLanes.find(s); it != options.forcedLanes.end()) {
      lanes[i] = it->second;
      continue;
    }
    if (const int dl = drumLane(s); dl > 0) {
      lanes[i] = dl;
      continue;
    }
    std::set<double> nearby;
    for (int c : chips)
      if (std::abs(c / 16 - s / 16) <= 1) nearby.insert(std::round(pitchOf(c) * 2) / 2);
    const double p = std::round(pitchOf(s) * 2) / 2;
    const int rank = static_cast<int>(std::distance(nearby.begin(), nearby.find(p)));
    const int count = static_cast<int>(nearby.size());
    if (count <= 1) {
      lanes[i] = 2;
    } else if (count < 4) {
      lanes[i] = 1 + static_cast<int>(std::lround(rank * 3.0 / (count - 1)));
    } else {
      lanes[i] = 1 + rank * 4 / count;
    }
  }

  // Samples: each chip sounds its notes up to the next chip.
  PartRecord& rec = chart.record;
  rec.Name = music.name;
  rec.Kind = static_cast<int16_t>(options.kind);
  rec.IconIndex = static_cast<int16_t>(options.kind);
  rec.FlagWord = music.rings ? 1 : 0;
  rec.PlayType = 0;
  rec.Bars = static_cast<int16_t>(bars);
  rec.StepWords.assign(static_cast<size_t>(steps), 0);
  rec.ChipTicks.assign(static_cast<size_t>(steps) * 4, 0);
  rec.ChipSounds.assign(static_cast<size_t>(steps) * 4, -1);
  rec.ChipWordsB.assign(static_cast<size_t>(steps) * 4, 0);
  rec.ChipWordsC.assign(static_cast<size_t>(steps) * 4, 0);
  std::map<int, int> partSoundOf;  // bank index -> this part's sound index
  for (size_t i = 0; i < chips.size(); ++i) {
    const int s = chips[i];
    const int next = i + 1 < chips.size() ? chips[i + 1] : steps;
    const double t0 = tempo.StepToMs(s);
    std::string key = std::to_string(options.rate) + "|";
    std::vector<std::tuple<const NoteEvent*, double, double>> parts;
    for (auto it = onsets.lower_bound(s); it != onsets.end() && it->first < next; ++it)
      for (const NoteEvent* n : it->second) {
        const double off = tempo.StepToMs(n->step) - t0;
        const double len = tempo.StepToMs(n->step + n->lengthSteps) - tempo.StepToMs(n->step);
        key += NoteKey(*n, off, len);
        parts.emplace_back(n, off, len);
      }
    int bankIndex;
    if (bank.Has(key)) {
      bankIndex = bank.IndexOf(key);
    } else {
      std::vector<float> mix;
      for (const auto& [n, off, len] : parts) {
        const double room = (maxPhraseMs + 150) / 1000.0 - off / 1000.0;
        if (room <= 0.05) continue;
        const std::vector<float> note = RenderNote(n->instrument, n->midi, len / 1000.0, n->velocity,
                                                   options.rate, room);
        MixInto(mix, 1, note, static_cast<size_t>(off / 1000.0 * options.rate));
      }
      if (mix.empty()) mix.assign(64, 0.0f);
      bankIndex = bank.Add(key, std::move(mix), options.rate);
    }
    int sound;
    if (auto it = partSoundOf.find(bankIndex); it != partSoundOf.end()) {
      sound = it->second;
    } else {
      sound = static_cast<int>(rec.SoundFiles.size());
      partSoundOf[bankIndex] = sound;
      rec.SoundFiles.push_back(bank.FileName(bankIndex));
      rec.SoundPan.push_back(music.pan);
      rec.SoundVolume.push_back(0);
    }
    const size_t slot = static_cast<size_t>(s) * 4;
    rec.StepWords[static_cast<size_t>(s)] = static_cast<int16_t>(lanes[i]);
    rec.ChipSounds[slot] = static_cast<int16_t>(sound);
    // Each chip carries its part's place in the stereo field; the stage applies it as the
    // chip starts.
    rec.ChipWordsC[slot] = static_cast<int16_t>(music.pan);
    // The sound's length in ticks at the local tempo, so the queue lets it ring out.
    const double seconds = static_cast<double>(bank.Sample(bankIndex).size()) / bank.RateOf(bankIndex);
    rec.ChipTicks[slot] = static_cast<int32_t>(std::ceil(seconds * tempo.BpmAtStep(s) * 8.0));
    chart.chipSteps.push_back(s);
    chart.chipSamples.push_back(bankIndex);
  }
  rec.SoundCount = static_cast<int16_t>(rec.SoundFiles.size());
  if (rec.SoundFiles.empty()) {
    rec.SoundFiles = {""};
    rec.SoundPan = {0};
    rec.SoundVolume = {0};
  }
  rec.ChipTotal = static_cast<int16_t>(chips.size());
  rec.PartLevel = static_cast<int16_t>(MeasureLevel(chart, tempo, bars));
  return chart;
}

int MeasureLevel(const Chart& chart, const TempoMap& tempo, int bars) {
  if (chart.chipSteps.empty()) return 1;
  // Chips per second over two-bar windows that have any chips.
  std::vector<double> rates;
  for (int w = 0; w < bars; w += 2) {
    const int a = w * 16, b = std::min(bars, w + 2) * 16;
    const auto count = std::count_if(chart.chipSteps.begin(), chart.chipSteps.end(),
                                     [&](int s) { return s >= a && s < b; });
    if (count == 0) continue;
    rates.push_back(static_cast<double>(count) / ((tempo.StepToMs(b) - tempo.StepToMs(a)) / 1000.0));
  }
  std::sort(rates.begin(), rates.end());
  double mean = 0;
  for (double r : rates) mean += r;
  mean /= static_cast<double>(rates.size());
  const double peak = rates[static_cast<size_t>(static_cast<double>(rates.size() - 1) * 0.9)];
  const double score = 0.6 * peak + 0.4 * mean;
  static const double thresholds[7] = {1.3, 2.0, 2.7, 3.5, 4.4, 5.4, 6.6};
  int level = 1;
  for (double t : thresholds)
    if (score >= t) ++level;
  return level;
}

}  // namespace tessaru::gen
