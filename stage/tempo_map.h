#pragma once
// Conversions between song milliseconds and chart positions (steps and ticks) over the
// song's tempo map. Each tempo segment's length in ms is truncated to a whole ms, so
// positions after a tempo change land where the chart author's tools put them.
#include <cstdint>

#include "content/song_record.h"

namespace tessaru {

// Step (1/16 bar) sounding at song time ms; floor of the exact position.
int32_t TimeToStep(const SongRecord& song, double ms);
// Song time in ms at which a step begins (fractional within a segment).
double StepToTime(const SongRecord& song, int32_t step);
// Tick (1/480 beat) at song time ms.
int32_t TimeToTick(const SongRecord& song, double ms);
// Song time in ms at which a tick falls.
double TickToTime(const SongRecord& song, int32_t tick);
// Tempo of the segment holding song time ms.
double BpmAt(const SongRecord& song, double ms);

}  // namespace tessaru
