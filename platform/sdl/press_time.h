#pragma once
// Turning the moment our event pump saw a key into the moment the key moved. SDL stamps
// events only when it pumps them, so a key that waited in the queue while the game was
// presenting a frame would be judged late. The X server stamps each key event when it
// happens (whole milliseconds of CLOCK_MONOTONIC); the time the event waited is the
// monotonic clock now minus that stamp.
#include <cstdint>

namespace tessaru::platform {

// Waits longer than this are taken as an X server on another time base (a remote display,
// an odd server), and the pump stamp is kept.
inline constexpr double kMaxQueueWaitMs = 1000.0;

// pumpStampMs: our stamp when the event was pushed (Clock::NowMs scale); monotonicMs:
// CLOCK_MONOTONIC read at that same moment; xTimeMs: the X event's time, a 32-bit
// millisecond counter that wraps.
double RefinePressTime(double pumpStampMs, double monotonicMs, uint32_t xTimeMs);

}  // namespace tessaru::platform
