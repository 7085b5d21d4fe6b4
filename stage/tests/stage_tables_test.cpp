// The per-stage display tables: damage blocks, judgement pictures and chip effects.
#include <gtest/gtest.h>

#include "stage/chip_effects.h"
#include "stage/damage_blocks.h"
#include "stage/judge_display.h"

namespace tessaru {
namespace {

TEST(DamageBlocks, AdditionsAppearOneEvery75Ms) {
  DamageBlocks blocks;
  blocks.Request(4, {2, 1}, 1000);  // a gauge drop of 100 from full
  std::vector<std::pair<int32_t, int16_t>> shown;
  int16_t last = -1;
  for (int32_t t = 1000; t <= 1400; ++t) {
    blocks.Update(t);
    if (blocks.Count() != last) shown.push_back({t, blocks.Count()});
    last = blocks.Count();
  }
  const std::vector<std::pair<int32_t, int16_t>> expected = {{1000, 1}, {1075, 2}, {1150, 3}, {1225, 4}};
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(blocks.State(), 0);
  EXPECT_EQ(blocks.Lanes()[3], 2);
  EXPECT_EQ(blocks.TopFlag(), 1);
}

TEST(DamageBlocks, RemovalIsImmediateAndHoldsTheDisplay) {
  DamageBlocks blocks;
  blocks.Request(3, {1, 0}, 0);
  for (int32_t t = 0; t <= 300; ++t) blocks.Update(t);
  ASSERT_EQ(blocks.Count(), 3);
  blocks.Request(1, {1, 1}, 400);
  EXPECT_EQ(blocks.Count(), 1);
  EXPECT_EQ(blocks.State(), -2);
  blocks.Request(2, {4, 1}, 410);  // waits behind the removal's 150 ms hold
  blocks.Update(549);
  EXPECT_EQ(blocks.Count(), 1);
  blocks.Update(550);
  EXPECT_EQ(blocks.Count(), 2);
  EXPECT_EQ(blocks.Lanes()[1], 4);
}

TEST(DamageBlocks, RemovalRequestedDuringAnAdditionCancelsIt) {
  DamageBlocks blocks;
  blocks.Request(3, {1, 0}, 0);  // one shown, two pending
  blocks.Request(1, {1, 0}, 10); // the gauge recovered before they appeared
  for (int32_t t = 0; t <= 500; ++t) blocks.Update(t);
  EXPECT_EQ(blocks.Count(), 1);
  EXPECT_EQ(blocks.Pending(), 0);
}

TEST(DamageBlocks, StackHoldsAtForty) {
  DamageBlocks blocks;
  blocks.Request(40, {1, 0}, 0);
  for (int32_t t = 0; t <= 5000; t += 5) blocks.Update(t);
  EXPECT_EQ(blocks.Count(), 40);
  blocks.Add({2, 0}, 6000);
  blocks.Update(7000);
  EXPECT_EQ(blocks.Count(), 40);
  blocks.Remove(50, 8000);
  EXPECT_EQ(blocks.Count(), 0);
}

TEST(JudgeDisplayRing, PhasesAndWrap) {
  JudgeDisplayRing ring(120.0);  // hold = 8 steps = 1000 ms
  EXPECT_EQ(ring.PhaseAt(116), JudgePicturePhase::Opening);
  EXPECT_EQ(ring.PhaseAt(117), JudgePicturePhase::Holding);
  EXPECT_EQ(ring.PhaseAt(1116), JudgePicturePhase::Holding);
  EXPECT_EQ(ring.PhaseAt(1117), JudgePicturePhase::Closing);
  EXPECT_EQ(ring.PhaseAt(1233), JudgePicturePhase::Closing);
  EXPECT_EQ(ring.PhaseAt(1234), JudgePicturePhase::Done);
  ring.Push(1, 5, DisplayJust9, 0);
  EXPECT_EQ(ring.Entries(1)[0].ImageIndex, 1);
  ring.Update(1233);
  EXPECT_EQ(ring.Entries(1)[0].Code, DisplayJust9);
  ring.Update(1234);
  EXPECT_EQ(ring.Entries(1)[0].Code, DisplayDone);
  for (int i = 0; i < 32; ++i) ring.Push(0, static_cast<int16_t>(i), DisplayLate, 2000);
  EXPECT_EQ(ring.WriteIndex(0), 0);
  ring.Push(0, 99, DisplayFar, 2000);
  EXPECT_EQ(ring.Entries(0)[0].Slot, 99);
  EXPECT_EQ(ring.Entries(0)[0].ImageIndex, 7);
}

TEST(ChipEffects, KindsAndAnimation) {
  ChipEffectTable effects(20, 125.0);  // H = 20, one step 125 ms
  effects.Set(0, 3, 4, 1000);
  EXPECT_EQ(effects.At(0, 3).State, 4);
  EXPECT_EQ(effects.At(0, 3).Counter, 10);
  effects.Set(0, 4, 2, 1000);
  effects.Set(1, 4, 2, 1000, 6);  // FEELING shows a near hit as just
  EXPECT_EQ(effects.At(1, 4).State, 4);
  effects.Set(0, 5, 3, 1000);
  EXPECT_EQ(effects.At(0, 5).Flag, 1);
  effects.Set(0, 6, 1, 1000);
  effects.Set(0, 6, 3, 1000);  // a lit slot is not dimmed
  EXPECT_EQ(effects.At(0, 6).Flag, 0);
  effects.At(0, 6).FirstWord = 1;
  effects.Set(0, 7, 1, 1000);  // lit but not held by the play screen: goes out

  effects.Update(1000 + 62);  // e/S = 0.496
  EXPECT_EQ(effects.At(0, 4).Counter, 2);   // floor(0.246 * 10)
  EXPECT_EQ(effects.At(0, 6).Counter, 7);   // floor((1 - 0.246) * 10)
  EXPECT_EQ(effects.At(0, 7).State, 0);
  effects.Update(1000 + 200);
  EXPECT_EQ(effects.At(0, 4).Counter, 10);  // settles at H / 2
  EXPECT_EQ(effects.At(0, 4).State, 2);
  EXPECT_EQ(effects.At(0, 6).State, 0);
  EXPECT_EQ(effects.At(0, 3).Counter, 10);  // just hits are left to the screen
  effects.Set(0, 40, 4, 0);                 // outside the table: ignored
}

}  // namespace
}  // namespace tessaru
