#include "flow/tours/tour_rules.h"

#include <algorithm>

#include "flow/tours/unlocks.h"

namespace tessaru {

std::vector<int16_t> SingleTourSongs(int stage, int32_t stage2Score, int16_t difficulty) {
  switch (stage) {
    case 1:
    case 2: {
      const int16_t first = static_cast<int16_t>((stage - 1) * 3);
      return {first, static_cast<int16_t>(first + 1), static_cast<int16_t>(first + 2)};
    }
    case 3:
      if (stage2Score > 69 && difficulty >= 2) return {6, 7};
      return {6};
    case 4: return {8};
    default: return {};
  }
}

bool SingleTourGoesOn(int stage, int32_t score, int16_t difficulty) {
  switch (stage) {
    case 1: return true;
    case 2: return score >= 50;
    case 3: return score >= 77 && difficulty >= 2;
    default: return false;
  }
}

std::vector<int16_t> BeginnerSongs(int stage, int32_t previousScore) {
  if (stage >= 1 && stage <= 3) {
    const int16_t first = static_cast<int16_t>((stage - 1) * 2);
    return {first, static_cast<int16_t>(first + 1)};
  }
  if (stage == 4) return previousScore > 60 ? std::vector<int16_t>{6, 7} : std::vector<int16_t>{6};
  return {};
}

int16_t BeginnerComSkill(int stage) { return static_cast<int16_t>((stage - 1) * 10 + 5); }

std::vector<int16_t> PairTourSongs(int stage, int32_t bestStage2Score, int16_t difficulty, bool flag1) {
  switch (stage) {
    case 1: return {0, 1, 2, 11, 9, 15};
    case 2: return {3, 4, 5, 10, 13};
    case 3: {
      std::vector<int16_t> songs{6, 12, 14};
      if (bestStage2Score >= 60 && difficulty >= 2) songs.push_back(7);
      if (flag1 && bestStage2Score >= 70 && difficulty >= 2) songs.push_back(8);
      return songs;
    }
    default: return {};
  }
}

bool PairTourGoesOn(int stage, int32_t score1, int32_t score2) {
  if (stage == 1) return true;
  if (stage == 2) return score1 >= 50 || score2 >= 50;
  return false;
}

std::vector<int16_t> OnlyListed(std::vector<int16_t> songs, int songCount) {
  std::erase_if(songs, [songCount](int16_t s) { return s < 0 || s >= songCount; });
  return songs;
}

namespace {

int32_t LowerPartPasses(const HighScores& records, int song) {
  int32_t sum = 0;
  for (int p = 0; p < 4; ++p) sum += records.HPS(p, song);
  return sum;
}

}  // namespace

void UpdateStageFlags(HighScores& records, int stage, bool stageDone) {
  if (LowerPartPasses(records, 6) > 3) MarkFlag(records, 2);
  if (LowerPartPasses(records, 7) > 5) MarkFlag(records, 0);
  if (LowerPartPasses(records, 8) > 7 || (stage == 4 && stageDone)) MarkFlag(records, 1);
}

void UpdateRunEndFlags(HighScores& records, const RunTable& run, int side, int16_t difficulty) {
  MarkFlag(records, 3);
  const bool reached4 = run.Song(side, 4) != 0;
  if (run.Song(side, 3) == 8 && reached4) MarkFlag(records, 4);
  if (run.Song(side, 4) == 9) MarkFlag(records, 5);
  // Nothing else sets flags 6..8, and without them SUDDEN, HIDDEN and DOUBLE could be
  // earned only through the player rank: a tour finished on HARD opens the visibility
  // modes, one finished on GODLIKE the last four modes, and a last stage of 90 or more
  // the extension parts of the first songs.
  const bool finished = reached4 && run.Passed[3];
  if (finished && difficulty >= 3) MarkFlag(records, 6);
  if (finished && difficulty >= 4) MarkFlag(records, 7);
  if (finished && run.Score(side, 4) >= 90) MarkFlag(records, 8);
}

std::vector<int32_t> PairsByPasses(const HighScores& records, int songCount) {
  std::vector<int32_t> pairs;
  for (int32_t v = 0; v < songCount * 8; ++v) pairs.push_back(v);
  std::stable_sort(pairs.begin(), pairs.end(), [&records](int32_t a, int32_t b) {
    return records.HPS(a & 7, a / 8) > records.HPS(b & 7, b / 8);
  });
  return pairs;
}

std::optional<FixedStage> RankingStage(const std::vector<int32_t>& order, int mode, int k) {
  const size_t at = static_cast<size_t>((mode - 7) * 3 + k);
  if (mode < 7 || mode > 11 || k < 0 || k > 2 || at >= order.size()) return std::nullopt;
  return FixedStage{static_cast<int16_t>(order[at] / 8), static_cast<int16_t>(order[at] & 7)};
}

std::optional<std::array<int16_t, 4>> CharacterSongs(const std::vector<int16_t>& table, int mode) {
  const size_t row = static_cast<size_t>(mode - 12);
  if (mode < 12 || mode > 19 || table.size() < (row + 1) * 4) return std::nullopt;
  std::array<int16_t, 4> songs{};
  for (size_t k = 0; k < 4; ++k) songs[k] = static_cast<int16_t>(table[row * 4 + k] - 1);
  return songs;
}

int16_t EndlessPartnerSkill(int16_t difficulty) {
  if (difficulty <= 2) return 1;
  return difficulty == 3 ? 10 : 100;
}

int16_t Mode31PartnerSkill(int16_t difficulty) {
  switch (difficulty) {
    case 0: return 5;
    case 1: return 10;
    case 2: return 25;
    case 3: return 50;
    default: return 80;
  }
}

}  // namespace tessaru
