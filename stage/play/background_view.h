#pragma once
// The pictures behind the lane pages: the song's background animation (or the
// wallpaper) and the characters' dances.
//
// How animation entries draw: an object is the rectangle (O1, O2, O3 x O4) of picture
// `Picture`, drawn with the black colour key when O5 is non-zero. A program entry shows
// from `StartTime` until `ProgA` (0: to the end) the object `ProgB`, or, when `ProgC` is
// non-zero, the object that animated object `ProgB` names at the entry's own age; its
// top-left follows ProgPosition; entries are drawn in order of Q0, lowest first. Times
// are song milliseconds.
//
// How dance frames draw: the rectangle (V1, V2, V3 x V4) of picture `Picture` at
// (V5, V6) from the player's dance anchor, keyed. Durations are written for 120 BPM and
// follow the song's tempo. Patterns: 0 idle, 1 groove, 2 after a just hit, 3 after a
// miss; a pattern without frames falls back to groove, then idle.
#include <cstdint>

#include "content/bga_file.h"
#include "content/dance_file.h"
#include "graphics/graph_lib.h"
#include "stage/play/play_assets.h"

namespace tessaru {

inline constexpr int kDanceIdle = 0;
inline constexpr int kDanceGroove = 1;
inline constexpr int kDanceHit = 2;
inline constexpr int kDanceMiss = 3;

// The object a program entry shows at song time t, or -1 for none (not active, or an
// index the file does not have).
int32_t ProgObject(const BgaRecord& bga, const BgaProg& prog, double t);
// Draws every active program entry; returns how many sprites were drawn.
int DrawBga(GraphLib& graph, const PlayAssets& assets, double t);

// The frame of `pattern` (after the fall-backs) shown at time t, or -1.
int32_t DanceFrameAt(const DanceRecord& dance, int pattern, double t, double durationScale);
// Draws one player's dance; false when nothing was drawn.
bool DrawDance(GraphLib& graph, const DanceView& view, int pattern, double t, double durationScale,
               int32_t anchorX, int32_t anchorY);

}  // namespace tessaru
