#pragma once
// The player's standing over the records: the points total and the rank it reaches
// against the thresholds of "rank.zxt".
#include <array>
#include <cstdint>
#include <string_view>

#include "core/error_log.h"
#include "persist/high_scores.h"

namespace tessaru {

inline constexpr int kRankCount = 29;
using RankThresholds = std::array<int32_t, kRankCount>;

// Only the first nine songs (the tour songs every copy of the game has) count.
inline constexpr int kRankedSongs = 9;

// One song's share: HPR of parts 0..3 once, of parts 4..7 twice.
int32_t SongPoints(const HighScores& records, int song);
// SongPoints over songs 0..8.
int32_t TotalPoints(const HighScores& records);

// 0..28. Ranks 20 and above need a plain HPR sum of at least 200.
int16_t PlayerRankIndex(const HighScores& records, const RankThresholds& thresholds);

// The average of the best percentages (HPR) kept for songs 0..8, over the records that
// have been played (above 0); 0 when none has.
double AverageRate(const HighScores& records);

// The 29 thresholds from the packed text "rank.zxt" in the data folder. A missing file
// leaves them all 0 (every total then reaches the cap) and, given a log, adds the load
// failure line; a short file keeps what it holds and the rest stay 0.
RankThresholds LoadRankThresholds(std::string_view dataPath, ErrorLog* errors = nullptr);

}  // namespace tessaru
