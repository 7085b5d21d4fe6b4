#include "stage/tempo_map.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessaru {
namespace {

// A tempo of zero, a negative one or NaN would stop time or run it backwards; such a
// segment is read at the slowest tempo the judgement windows also fall back to.
constexpr double kSlowestBpm = 10.0;

double SafeBpm(double bpm) { return (bpm > 0.0 && std::isfinite(bpm)) ? bpm : kSlowestBpm; }

int32_t ClampToInt32(double x) {
  if (!(x > std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (x >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::floor(x));
}

// The truncated length in ms of a segment of `ticks` ticks. 125 * ticks / bpm keeps an
// exact result exact (15000 / bpm * steps would round 1500 down to 1499 at 130 BPM).
double SegmentMs(double ticks, double bpm) { return std::floor(125.0 * ticks / bpm + 1e-9); }

struct Segment {
  double StartMs = 0;     // accumulated truncated ms before this segment
  double StartTicks = 0;  // accumulated ticks before this segment
  double Bpm = 120.0;
};

bool HasMap(const SongRecord& song) {
  return song.TempoCount > 1 && song.TempoTicks.size() >= static_cast<size_t>(song.TempoCount) &&
         song.TempoBpms.size() >= static_cast<size_t>(song.TempoCount);
}

double SegmentTicks(const SongRecord& song, int i) {
  // Out-of-order entries give an empty segment rather than a negative one.
  return std::max(0.0, static_cast<double>(song.TempoTicks[static_cast<size_t>(i) + 1]) -
                           song.TempoTicks[static_cast<size_t>(i)]);
}

// Walks whole segments from the start of the map while `goOn(segment so far, ticks of the
// current segment, its whole milliseconds)` holds and a further segment exists.
template <typename GoOn>
Segment WalkSegments(const SongRecord& song, GoOn goOn) {
  Segment seg;
  if (!HasMap(song)) {
    seg.Bpm = SafeBpm(song.Bpm);
    return seg;
  }
  int i = 0;
  seg.Bpm = SafeBpm(song.TempoBpms[0]);
  while (i + 1 < song.TempoCount) {
    const double ticks = SegmentTicks(song, i);
    const double length = SegmentMs(ticks, seg.Bpm);
    if (!goOn(seg, ticks, length)) break;
    seg.StartMs += length;
    seg.StartTicks += ticks;
    ++i;
    seg.Bpm = SafeBpm(song.TempoBpms[static_cast<size_t>(i)]);
  }
  return seg;
}

// The segment holding time `ms`: whole segments are passed while the next one ends before it.
Segment SegmentAtTime(const SongRecord& song, double ms) {
  return WalkSegments(song, [ms](const Segment& seg, double, double length) {
    return seg.StartMs + length < ms;
  });
}

// The segment holding `tick`: whole segments are passed while it lies at or past the next start.
Segment SegmentAtTick(const SongRecord& song, double tick) {
  return WalkSegments(song, [tick](const Segment& seg, double ticks, double) {
    return tick >= seg.StartTicks + ticks;
  });
}

double TicksAt(const SongRecord& song, double ms) {
  const Segment seg = SegmentAtTime(song, ms);
  return seg.StartTicks + (ms - seg.StartMs) * seg.Bpm / 125.0;
}

double TimeAtTicks(const SongRecord& song, double tick) {
  const Segment seg = SegmentAtTick(song, tick);
  return seg.StartMs + (tick - seg.StartTicks) * 125.0 / seg.Bpm;
}

}  // namespace

int32_t TimeToStep(const SongRecord& song, double ms) {
  return ClampToInt32(TicksAt(song, ms) / kTicksPerStep + 1e-9);
}

double StepToTime(const SongRecord& song, int32_t step) {
  return TimeAtTicks(song, static_cast<double>(step) * kTicksPerStep);
}

int32_t TimeToTick(const SongRecord& song, double ms) {
  return ClampToInt32(TicksAt(song, ms) + 1e-9);
}

double TickToTime(const SongRecord& song, int32_t tick) {
  return TimeAtTicks(song, static_cast<double>(tick));
}

double BpmAt(const SongRecord& song, double ms) { return SegmentAtTime(song, ms).Bpm; }

}  // namespace tessaru
