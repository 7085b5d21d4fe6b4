#include "stage/song_clock.h"

#include <gtest/gtest.h>

namespace tessaru {
namespace {

struct FakeTicks final : TickSource {
  uint32_t now = 0;
  uint32_t NowMs() override { return now; }
};

struct FakeTrack final : TrackPosition {
  bool playing = true;
  int32_t position = 0;
  int32_t length = 5000;
  bool IsPlaying() override { return playing; }
  int32_t PositionMs() override { return position; }
  int32_t LengthMs() override { return length; }
};

TEST(SongClock, FollowsTheTrackNeverBackwardsThenContinuesFromItsEnd) {
  FakeTicks ticks;
  FakeTrack track;
  ticks.now = 40000;
  SongClock clock(&track, ticks, -30);
  clock.Start();
  EXPECT_EQ(clock.Read(), 0);  // -30 is held at 0
  track.position = 1000;
  EXPECT_EQ(clock.Read(), 970);
  track.position = 990;        // device jitter
  EXPECT_EQ(clock.Read(), 970);
  track.position = 4990;
  EXPECT_EQ(clock.Read(), 4960);
  track.playing = false;       // the track ended before the last bar
  ticks.now = 46000;
  EXPECT_EQ(clock.Read(), 4970);
  ticks.now = 46500;
  EXPECT_EQ(clock.Read(), 5470);
  EXPECT_TRUE(clock.OnTickCounter());
}

TEST(SongClock, WithoutATrackRunsOnTheTickCounter) {
  // The offset belongs to the track only; the counter wraps past 2^32 in the first case.
  struct Case { uint32_t startTick; int32_t startMs; int32_t offset; };
  for (const Case& c : {Case{0xFFFFFF00u, 0, 500}, Case{7, 8000, 0}}) {
    FakeTicks ticks;
    ticks.now = c.startTick;
    SongClock clock(nullptr, ticks, c.offset);
    clock.Start(c.startMs);
    EXPECT_EQ(clock.Read(), c.startMs) << c.startTick;
    ticks.now += 100;
    EXPECT_EQ(clock.Read(), c.startMs + 100) << c.startTick;
    ticks.now += 1000;
    EXPECT_EQ(clock.Read(), c.startMs + 1100) << c.startTick;
  }
}

}  // namespace
}  // namespace tessaru
