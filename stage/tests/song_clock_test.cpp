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

TEST(SongClock, WithoutATrackRunsOnTheTickCounterAcrossItsWrap) {
  FakeTicks ticks;
  ticks.now = 0xFFFFFF00u;
  SongClock clock(nullptr, ticks, 500);  // the offset belongs to the track only
  clock.Start();
  ticks.now += 100;
  EXPECT_EQ(clock.Read(), 100);
  ticks.now += 1000;  // wraps past 2^32
  EXPECT_EQ(clock.Read(), 1100);
}

TEST(SongClock, StartsPartWayIn) {
  FakeTicks ticks;
  ticks.now = 7;
  SongClock clock(nullptr, ticks, 0);
  clock.Start(8000);
  EXPECT_EQ(clock.Read(), 8000);
  ticks.now += 25;
  EXPECT_EQ(clock.Read(), 8025);
}

}  // namespace
}  // namespace tessaru
