#include "flow/tours/unlocks.h"

#include <algorithm>

namespace tessaru {

int32_t GameFlagMarker(int flag) {
  if (flag == 7) return kFlag7Set;
  if (flag == 8) return kFlag8Set;
  return kGameFlagSet;
}

bool FlagMarked(const HighScores& records, int flag) {
  return flag >= 0 && flag < kGameFlagCount &&
         records.GameFlags[static_cast<size_t>(flag)] == GameFlagMarker(flag);
}

void MarkFlag(HighScores& records, int flag) {
  if (flag >= 0 && flag < kGameFlagCount) records.GameFlags[static_cast<size_t>(flag)] = GameFlagMarker(flag);
}

std::vector<int16_t> UnlockedModes::List() const {
  std::vector<int16_t> list;
  for (int16_t n = 0; n <= kModeUnlockedMax; ++n) {
    if (ModeUnlocked[static_cast<size_t>(n)] == 1) list.push_back(n);
  }
  return list;
}

UnlockedModes ComputeUnlockedModes(const HighScores& records, const SongList& songs, int16_t rankIndex) {
  UnlockedModes u;
  const auto unlock = [&u](int n) {
    u.ModeUnlocked[static_cast<size_t>(n)] = 1;
    ++u.UnlockedModeCount;
  };
  const int firstSongs = std::min<int>(songs.FirstExtraSong, songs.SongCount);
  if (firstSongs <= 0) return u;
  int64_t passes = 0;
  int wellPassed = 0;
  for (int s = 0; s < firstSongs; ++s) {
    for (int p = 0; p < kRecordParts; ++p) {
      passes += records.HPS(p, s);
      if (records.HPS(p, s) >= 3) ++wellPassed;
    }
  }
  if (passes == 0) return u;

  if (FlagMarked(records, 3)) {
    unlock(0);
    unlock(1);
  }
  if (FlagMarked(records, 4)) unlock(2);
  if (FlagMarked(records, 5)) unlock(3);
  if (FlagMarked(records, 6)) {
    unlock(4);
    unlock(5);
  }
  if (u.UnlockedModeCount == 6) unlock(6);
  for (int k = 0; k < 5; ++k) {
    if (wellPassed >= 3 * (k + 1)) unlock(7 + k);
  }
  for (int p = 0; p < kRecordParts; ++p) {
    bool everySong = true;
    for (int s = 0; s < firstSongs && everySong; ++s) everySong = records.HPS(p, s) != 0;
    if (everySong) unlock(12 + p);
  }
  const auto played = [&records](int mode) { return records.SpecialPlays[static_cast<size_t>(mode)] >= 1; };
  if (FlagMarked(records, 1)) {
    unlock(20);
    if ((played(0) && played(1) && played(2) && played(3) && played(4) && played(5)) || rankIndex >= 14) {
      unlock(21);
      unlock(22);
    }
    if (u.UnlockedModeCount == 23) unlock(23);
    if (played(22) && played(3)) unlock(24);
    if (played(0) && played(1) && played(4) && played(5)) unlock(25);
  }
  if (FlagMarked(records, 7) || rankIndex >= 17) {
    for (int n = 26; n <= 29; ++n) unlock(n);
  }
  unlock(30);
  return u;
}

}  // namespace tessaru
