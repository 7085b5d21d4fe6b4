#pragma once
// Chart rewrites chosen per player before play. They change the in-memory chart only.
#include <cstdint>
#include <vector>

#include "content/song_record.h"
#include "core/random.h"

namespace tessaru {

inline constexpr int16_t LaneNone = 0;
inline constexpr int16_t LaneMirror = 1;
inline constexpr int16_t LaneRandom = 2;
inline constexpr int16_t LaneScramble = 3;
inline constexpr int16_t LaneTwoColors = 4;
inline constexpr int16_t LaneHiSpeed = 5;
inline constexpr int16_t LanePanic = 6;
inline constexpr int16_t LaneScratch = 7;

// Rewrites the step words of one player's chart for MIRROR, RANDOM, SCRAMBLE, 2COLORS,
// PANIC and SCRATCH; any other value (HI-SPEED included) leaves the chart alone.
void ApplyLaneOption(PartRecord& part, int16_t laneOpt, Random& random);

// HI-SPEED: doubles the song's resolution (bars, intro, tempo map, every part's tables)
// so chips lie twice as far apart while every chip keeps its time in ms.
void ApplyHiSpeed(SongRecord& song, std::vector<PartRecord>& parts);

}  // namespace tessaru
