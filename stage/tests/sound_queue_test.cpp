#include "stage/sound_queue.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "stage/tests/stage_fixtures.h"

namespace tessaru {
namespace {

using testing::RecordingSink;

TEST(SoundQueue, StartsWhenDueWithPanAndVolume) {
  RecordingSink sink;
  SoundQueue queue;
  ASSERT_TRUE(queue.Add(3, 0, 100, kNoEndTime, -2000, -500));
  queue.Process(99, 0, sink);
  EXPECT_TRUE(sink.log.empty());
  queue.Process(100, 0, sink);
  const std::vector<RecordingSink::Request> expected = {
      {"pan", 3, -2000}, {"volume", 3, -500}, {"play", 3, 0}};
  EXPECT_EQ(sink.log, expected);
  EXPECT_EQ(queue.Entries()[0].State, SoundPlaying);
}

TEST(SoundQueue, SameLaneCutsTheOlderSoundButFlagWordPartsAndOneChipsSoundsOverlap) {
  RecordingSink sink;
  SoundQueue queue;
  queue.Add(1, 2, 0, kNoEndTime, 0, 0);
  queue.Add(7, 0, 0, kNoEndTime, 0, 0);  // no mute group
  queue.Add(3, 3, 0, kNoEndTime, 0, 0);  // two sounds of one chip
  queue.Add(4, 3, 0, kNoEndTime, 0, 0);
  queue.Process(0, 0, sink);
  queue.Add(2, 2, 10, kNoEndTime, 0, 0);
  queue.Add(8, 0, 10, kNoEndTime, 0, 0);
  queue.Process(10, 100, sink);
  EXPECT_EQ(queue.Entries()[0].State, SoundFading);
  for (int i : {1, 2, 3}) EXPECT_EQ(queue.Entries()[static_cast<size_t>(i)].State, SoundPlaying) << i;
  // The fade reaches silence within a few frames and frees the entry.
  queue.Process(11, 110, sink);
  EXPECT_EQ(sink.log.back(), (RecordingSink::Request{"volume", 1, -4000}));
  queue.Process(12, 130, sink);
  EXPECT_EQ(queue.Entries()[0].Buffer, -1);
  EXPECT_FALSE(sink.playing[1]);
  EXPECT_TRUE(sink.playing[2] && sink.playing[3] && sink.playing[4] && sink.playing[7] && sink.playing[8]);
  EXPECT_EQ(queue.Used(), 5);
}

TEST(SoundQueue, RestartingABufferDoesNotFadeTheNewSound) {
  RecordingSink sink;
  SoundQueue queue;
  queue.Add(4, 2, 0, kNoEndTime, 0, 0);
  queue.Process(0, 0, sink);
  queue.Add(4, 2, 5, kNoEndTime, 0, 0);
  queue.Process(5, 50, sink);
  queue.Process(6, 500, sink);
  EXPECT_TRUE(std::none_of(sink.log.begin(), sink.log.end(), [](const auto& r) { return r.What == "stop"; }));
  EXPECT_EQ(queue.Used(), 1);
  EXPECT_TRUE(sink.playing[4]);
}

TEST(SoundQueue, EndTimeFadesAndStoppedBuffersAreFreed) {
  RecordingSink sink;
  SoundQueue queue;
  queue.Add(1, 0, 0, 30, 0, -9000);
  queue.Add(2, 0, 0, kNoEndTime, 0, 0);
  queue.Process(0, 0, sink);
  queue.Process(30, 10, sink);
  EXPECT_EQ(queue.Entries()[0].State, SoundFading);
  queue.Process(31, 20, sink);  // -9000 - 4000 reaches silence
  EXPECT_EQ(queue.Entries()[0].Buffer, -1);
  sink.playing[2] = false;  // the sample ran out by itself
  queue.Process(32, 30, sink);
  EXPECT_EQ(queue.Used(), 0);
}

TEST(SoundQueue, WithoutVolumeControlCutsStopAtOnce) {
  RecordingSink sink;
  SoundQueue queue(2);
  queue.Add(1, 2, 0, kNoEndTime, -100, -100);
  queue.Process(0, 0, sink);
  queue.Add(2, 2, 1, kNoEndTime, 0, 0);
  queue.Process(1, 0, sink);
  const std::vector<RecordingSink::Request> expected = {{"play", 1, 0}, {"play", 2, 0}, {"stop", 1, 0}};
  EXPECT_EQ(sink.log, expected);
}

TEST(SoundQueue, FullQueueDropsNewSounds) {
  RecordingSink sink;
  SoundQueue queue;
  for (int i = 0; i < kSoundQueueSize; ++i) {
    ASSERT_TRUE(queue.Add(static_cast<int16_t>(i), 0, 1000, kNoEndTime, 0, 0));
  }
  EXPECT_FALSE(queue.Add(600, 0, 0, kNoEndTime, 0, 0));
  EXPECT_FALSE(queue.Add(-1, 0, 0, kNoEndTime, 0, 0));  // an unloaded sound never takes an entry
  queue.Process(999, 0, sink);
  EXPECT_TRUE(sink.log.empty());
  // Freed entries are found again, searching on from the last one used.
  queue.Process(1000, 0, sink);
  sink.playing[10] = false;
  queue.Process(1001, 0, sink);
  EXPECT_TRUE(queue.Add(601, 0, 1001, kNoEndTime, 0, 0));
  EXPECT_EQ(queue.Entries()[10].Buffer, 601);
}

}  // namespace
}  // namespace tessaru
