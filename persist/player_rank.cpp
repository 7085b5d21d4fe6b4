#include "persist/player_rank.h"

#include <optional>

#include "content/packed.h"
#include "core/paths.h"

namespace tessaru {
namespace {

constexpr int kDoubledFromPart = 4;
// Below this plain sum the ranks from kHighRankFrom on stay out of reach.
constexpr int32_t kHighRankPlainSum = 200;
constexpr int kHighRankFrom = 20;
constexpr int kTopRank = kRankCount - 1;

int32_t PlainSum(const HighScores& records) {
  int32_t sum = 0;
  for (int s = 0; s < kRankedSongs; ++s)
    for (int p = 0; p < kRecordParts; ++p) sum += records.HPR(p, s);
  return sum;
}

}  // namespace

int32_t SongPoints(const HighScores& records, int song) {
  int32_t points = 0;
  for (int p = 0; p < kRecordParts; ++p) points += records.HPR(p, song) * (p >= kDoubledFromPart ? 2 : 1);
  return points;
}

int32_t TotalPoints(const HighScores& records) {
  int32_t points = 0;
  for (int s = 0; s < kRankedSongs; ++s) points += SongPoints(records, s);
  return points;
}

int16_t PlayerRankIndex(const HighScores& records, const RankThresholds& thresholds) {
  const int32_t points = TotalPoints(records);
  const bool highRanksOpen = PlainSum(records) >= kHighRankPlainSum;
  for (int i = 0; i < kTopRank; ++i) {
    if (points < thresholds[static_cast<size_t>(i)]) return static_cast<int16_t>(i);
    if (!highRanksOpen && i + 1 >= kHighRankFrom) return static_cast<int16_t>(i + 1);
  }
  return kTopRank;
}

double AverageRate(const HighScores& records) {
  int32_t played = 0;
  int32_t sum = 0;
  for (int s = 0; s < kRankedSongs; ++s)
    for (int p = 0; p < kRecordParts; ++p) {
      const int16_t rate = records.HPR(p, s);
      if (rate <= 0) continue;
      ++played;
      sum += rate;
    }
  return played == 0 ? 0.0 : static_cast<double>(sum) / played;
}

RankThresholds LoadRankThresholds(std::string_view dataPath, ErrorLog* errors) {
  RankThresholds thresholds{};
  const std::string path = JoinLogical(dataPath, "\\rank.zxt");
  std::optional<FieldReader> reader = OpenPackedText(path);
  if (!reader) {
    if (errors != nullptr) errors->AddLoadFailure(path);
    return thresholds;
  }
  // A short or damaged file keeps the values read so far; the rest stay 0.
  for (int32_t& t : thresholds) {
    if (!reader->ReadInt32(t)) {
      t = 0;
      break;
    }
  }
  return thresholds;
}

}  // namespace tessaru
