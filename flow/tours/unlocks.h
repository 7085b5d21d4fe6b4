#pragma once
// Which special modes the records have earned, and the game-flag markers the tours set.
#include <array>
#include <cstdint>
#include <vector>

#include "content/song_list.h"
#include "persist/high_scores.h"

namespace tessaru {

inline constexpr int kModeUnlockedMax = 30;
// Flags 0..6 are set by holding this, flag 7 by kFlag7Set, flag 8 (the extension parts
// of the first songs) by kFlag8Set; any other value means not set.
inline constexpr int32_t kFlag7Set = 7529;
inline constexpr int32_t kFlag8Set = 8251;

// The marker value that sets `flag`.
int32_t GameFlagMarker(int flag);
bool FlagMarked(const HighScores& records, int flag);
void MarkFlag(HighScores& records, int flag);

struct UnlockedModes {
  std::array<int16_t, kModeUnlockedMax + 1> ModeUnlocked{};
  int16_t UnlockedModeCount = 0;
  // The unlocked mode numbers, ascending.
  std::vector<int16_t> List() const;
};

// Rebuilds the table from the per-song passes, the game flags, the special play counts
// and the player's rank index. Nothing unlocks before some stage of the first songs has
// been passed.
UnlockedModes ComputeUnlockedModes(const HighScores& records, const SongList& songs, int16_t rankIndex);

}  // namespace tessaru
