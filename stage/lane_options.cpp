#include "stage/lane_options.h"

#include <algorithm>
#include <array>
#include <limits>

namespace tessaru {
namespace {

using LanePerm = std::array<int16_t, 4>;

LanePerm DrawPermutation(Random& random) {
  LanePerm perm{0, 1, 2, 3};
  const int swaps = random.Draw(9) + 1;
  for (int n = 0; n < swaps; ++n) {
    const int i = random.Draw(4);
    const int j = random.Draw(4);
    std::swap(perm[static_cast<size_t>(i)], perm[static_cast<size_t>(j)]);
  }
  return perm;
}

bool IsLane(int16_t w) { return w >= 1 && w <= 4; }

int16_t Permuted(const LanePerm& perm, int16_t w) {
  return static_cast<int16_t>(perm[static_cast<size_t>(w - 1)] + 1);
}

// Doubling a 16-bit count must not wrap to a negative length.
int16_t Doubled(int16_t x) {
  return static_cast<int16_t>(std::min<int32_t>(x * 2, std::numeric_limits<int16_t>::max()));
}

template <typename T>
std::vector<T> Spread(const std::vector<T>& table, size_t perStep, T fill) {
  std::vector<T> out(table.size() * 2, fill);
  for (size_t i = 0; i < table.size(); ++i) {
    const size_t step = i / perStep;
    out[step * 2 * perStep + i % perStep] = table[i];
  }
  return out;
}

}  // namespace

void ApplyLaneOption(PartRecord& part, int16_t laneOpt, Random& random) {
  auto& words = part.StepWords;
  switch (laneOpt) {
    case LaneMirror:
      for (auto& w : words) if (IsLane(w)) w = static_cast<int16_t>(5 - w);
      break;
    case LaneRandom: {
      const LanePerm perm = DrawPermutation(random);
      for (auto& w : words) if (IsLane(w)) w = Permuted(perm, w);
      break;
    }
    case LaneScramble:
      for (size_t bar = 0; bar * kStepsPerBar < words.size(); ++bar) {
        const LanePerm perm = DrawPermutation(random);
        const size_t end = std::min(words.size(), (bar + 1) * kStepsPerBar);
        for (size_t s = bar * kStepsPerBar; s < end; ++s) {
          if (IsLane(words[s])) words[s] = Permuted(perm, words[s]);
        }
      }
      break;
    case LaneTwoColors:
      for (auto& w : words) {
        if (w == 1) w = 2;
        else if (w == 4) w = 3;
      }
      break;
    case LanePanic:
      for (auto& w : words) if (IsLane(w)) w = static_cast<int16_t>(random.Draw(4) + 1);
      break;
    case LaneScratch:
      for (auto& w : words) if (IsLane(w)) w = 2;
      break;
    default:
      break;
  }
}

void ApplyHiSpeed(SongRecord& song, std::vector<PartRecord>& parts) {
  song.Bars = Doubled(song.Bars);
  song.IntroBars = Doubled(song.IntroBars);
  song.Bpm *= 2;
  for (auto& tick : song.TempoTicks) {
    tick = static_cast<int32_t>(std::clamp<int64_t>(int64_t{tick} * 2, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
  }
  for (auto& bpm : song.TempoBpms) bpm *= 2;
  for (auto& part : parts) {
    part.Bars = Doubled(part.Bars);
    part.StepWords = Spread<int16_t>(part.StepWords, 1, 0);
    part.ChipSounds = Spread<int16_t>(part.ChipSounds, kSlotsPerStep, -1);
    part.ChipWordsC = Spread<int16_t>(part.ChipWordsC, kSlotsPerStep, 0);
    part.ChipWordsB = Spread<int16_t>(part.ChipWordsB, kSlotsPerStep, 0);
    // A chip's sound length is counted in ticks, which now pass twice as fast.
    auto ticks = Spread<int32_t>(part.ChipTicks, kSlotsPerStep, 0);
    for (auto& t : ticks) t = static_cast<int32_t>(std::min<int64_t>(int64_t{t} * 2, std::numeric_limits<int32_t>::max()));
    part.ChipTicks = std::move(ticks);
  }
}

}  // namespace tessaru
