#pragma once
// The player's standing over the records: the points total and the rank it reaches
// against the thresholds of "rank.zxt".
#include <array>
#include <cstdint>
#include <string_view>

#include "persist/high_scores.h"

namespace tessaru {

inline constexpr int kRankCount = 29;
using RankThresholds = std::array<int32_t, kRankCount>;

// Over songs 0..8: HPR of parts 0..3 once, of parts 4..7 twice.
int32_t TotalPoints(const HighScores& records);

// 0..28. Ranks 20 and above need a plain HPR sum of at least 200.
int16_t PlayerRankIndex(const HighScores& records, const RankThresholds& thresholds);

// The 29 thresholds from the packed text "rank.zxt" in the data folder; all 0 when the
// file is missing or short (every total then reaches the cap).
RankThresholds LoadRankThresholds(std::string_view dataPath);

}  // namespace tessaru
