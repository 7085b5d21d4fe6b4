#include "stage/play/play_layout.h"

#include <gtest/gtest.h>

namespace tessaru {
namespace {

TEST(PlayLayout, SlotPositionsPerStyleAndResolution) {
  struct Case {
    int16_t style;
    int p;
    int slot;
    int16_t res;
    ScreenPoint want;
  };
  const Case cases[] = {
      // Slot 0 sits two steps and one row gap below the origin; slot 16 one more gap.
      {0, 0, 0, 0, {26, 32 + 20 + 4}},
      {0, 0, 15, 0, {26, 32 + 170 + 4}},
      {0, 0, 16, 0, {26, 32 + 180 + 8}},
      {0, 0, 31, 0, {26, 32 + 330 + 8}},
      {0, 1, 0, 0, {514, 56}},
      {2, 1, 5, 0, {514, 32 + 70 + 4}},
      {3, 0, 0, 0, {26, 56}},
      {1, 0, 0, 0, {210, 8 + 24}},
      {1, 1, 16, 0, {330, 8 + 180 + 8}},
      {0, 0, 0, 1, {13, 16 + 10 + 2}},
      {0, 1, 31, 1, {257, 16 + 165 + 4}},
      {1, 0, 16, 1, {105, 4 + 90 + 4}},
      {1, 1, 0, 1, {165, 4 + 12}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SlotPosition(c.style, c.p, c.slot, c.res), c.want)
        << "style " << c.style << " p " << c.p << " slot " << c.slot << " res " << c.res;
  }
  EXPECT_EQ(StepHeight(0), 10);
  EXPECT_EQ(StepHeight(1), 5);
  EXPECT_EQ(RowGap(0), 4);
  EXPECT_EQ(RowGap(1), 2);
}

TEST(PlayLayout, EffectShiftsTowardsEachStylesSide) {
  EXPECT_EQ(EffectShiftSign(0, 0), 1);
  EXPECT_EQ(EffectShiftSign(0, 1), -1);
  EXPECT_EQ(EffectShiftSign(1, 0), -1);
  EXPECT_EQ(EffectShiftSign(1, 1), 1);
  EXPECT_EQ(EffectShiftSign(2, 0), 1);
  EXPECT_EQ(EffectShiftSign(3, 0), 1);  // style 3 counts as 0
  EXPECT_EQ(EffectShiftSign(3, 1), -1);
}

TEST(PlayLayout, ColourRowsAndCells) {
  struct Case {
    int16_t colour;
    int16_t lane;
    int row;
  };
  const Case cases[] = {{0, 1, 1}, {0, 4, 4}, {1, 1, 5}, {1, 4, 8},  {2, 1, 10},
                        {2, 4, 13}, {3, 1, 9}, {3, 4, 9}, {7, 2, 2}};
  for (const Case& c : cases) EXPECT_EQ(ChipRowFor(c.colour, c.lane), c.row) << c.colour << "/" << c.lane;
  // Rows are a cell height plus one apart; the cover cell is 15 rows down.
  const BltArea cover = ChipSheetRow(kChipRowCover, 0);
  EXPECT_EQ(cover.X, 0);
  EXPECT_EQ(cover.Y, 15 * 11);
  EXPECT_EQ(cover.W, 100);
  EXPECT_EQ(cover.H, 10);
  const BltArea smallCover = ChipSheetRow(kChipRowCover, 1);
  EXPECT_EQ(smallCover.Y, 15 * 6);
  EXPECT_EQ(smallCover.W, 50);
  EXPECT_EQ(smallCover.H, 5);
  EXPECT_EQ(ChipSheetRow(10, 1).Y, 60);
}

std::bitset<kPageSlots> Slots(std::initializer_list<int> list) {
  std::bitset<kPageSlots> b;
  for (int s : list) b.set(static_cast<size_t>(s));
  return b;
}

TEST(PlayLayout, CoverCellsPerVisibilityOption) {
  // SUDDEN leaves the four slots ahead of the cursor open, wrapping at the block's end.
  EXPECT_EQ(~CoveredSlots(1, 0), Slots({1, 2, 3, 4}));
  EXPECT_EQ(~CoveredSlots(1, 30), Slots({31, 0, 1, 2}));
  // HIDDEN covers the seven slots ahead.
  EXPECT_EQ(CoveredSlots(2, 0), Slots({1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(CoveredSlots(2, 28), Slots({29, 30, 31, 0, 1, 2, 3}));
  // BRIND shows the cursor's slot and the one a beat ahead.
  EXPECT_EQ(~CoveredSlots(3, 10), Slots({10, 14}));
  EXPECT_EQ(~CoveredSlots(3, 29), Slots({29, 1}));
  for (int16_t v : {int16_t{0}, int16_t{4}, int16_t{5}, int16_t{6}}) EXPECT_TRUE(CoveredSlots(v, 3).none()) << v;
}

TEST(PlayLayout, TheRowLeftBehindShowsTheNextBlock) {
  // Cursor in the first row: both rows show the current block.
  EXPECT_EQ(SlotStep(40, 0), 32);
  EXPECT_EQ(SlotStep(40, 31), 63);
  // Cursor in the second row: the first row already shows the next block.
  EXPECT_EQ(SlotStep(50, 0), 64);
  EXPECT_EQ(SlotStep(50, 15), 79);
  EXPECT_EQ(SlotStep(50, 16), 48);
  EXPECT_EQ(SlotStep(-5, 3), 3);
}

TEST(PlayLayout, JudgementPicturePhases) {
  // Opening grows, holding is full height, closing shrinks, then nothing.
  const int32_t a = 117;
  const int32_t b = 1000;
  const int32_t y = 100;
  const int32_t centre = y + 5;
  EXPECT_EQ(JudgePicturePlace(26, y, -1, a, b, 0).H, 0);
  const BltArea first = JudgePicturePlace(26, y, 0, a, b, 0);
  EXPECT_GE(first.H, 1);
  EXPECT_LE(first.H, 2);
  EXPECT_LT(JudgePicturePlace(26, y, 50, a, b, 0).H, 22);
  EXPECT_GT(JudgePicturePlace(26, y, 50, a, b, 0).H, first.H);
  for (int32_t e : {a, a + 1, a + b - 1}) {
    const BltArea full = JudgePicturePlace(26, y, e, a, b, 0);
    EXPECT_EQ(full.H, 22) << e;
    EXPECT_EQ(full.Y, centre - 11) << e;
    EXPECT_EQ(full.W, 100);
    EXPECT_EQ(full.X, 26);
  }
  EXPECT_LT(JudgePicturePlace(26, y, a + b + 60, a, b, 0).H, 22);
  EXPECT_GE(JudgePicturePlace(26, y, 2 * a + b - 1, a, b, 0).H, 1);
  EXPECT_EQ(JudgePicturePlace(26, y, 2 * a + b, a, b, 0).H, 0);
  EXPECT_EQ(JudgePicturePlace(13, 50, a, a, b, 1).H, 11);
}

TEST(PlayLayout, PlaySheetCellsStayInsideTheirPage) {
  for (int16_t res : {int16_t{0}, int16_t{1}}) {
    const int32_t w = res == 1 ? 320 : 640;
    const int32_t h = res == 1 ? 240 : 480;
    std::vector<BltArea> cells;
    for (int16_t k = 1; k <= 8; ++k) cells.push_back(JudgePictureCell(k, res));
    for (int d = 0; d < 10; ++d) {
      cells.push_back(BigDigitCell(d, res));
      cells.push_back(SmallDigitCell(d, res));
    }
    for (int r = 0; r < 5; ++r) cells.push_back(CountLabelCell(r, res));
    for (int k = 0; k < 3; ++k) cells.push_back(GaugeFillCell(k, res));
    for (int16_t lane = 0; lane <= 5; ++lane) cells.push_back(DamageBlockCell(lane, 1, res));
    for (int c = 0; c < 4; ++c) cells.push_back(CaptionCell(c, res));
    cells.push_back(KnockOutCell(res));
    cells.push_back(GaugeFrameCell(res));
    cells.push_back(ComboLabelCell(res));
    for (int r = 0; r <= kChipRowMissMark; ++r) cells.push_back(ChipSheetRow(r, res));
    for (const BltArea& c : cells) {
      EXPECT_GT(c.W, 0);
      EXPECT_GT(c.H, 0);
      EXPECT_LE(c.X + c.W, w);
      EXPECT_LE(c.Y + c.H, h);
    }
  }
  EXPECT_EQ(JudgePictureCell(0, 0).W, 0);
  EXPECT_EQ(JudgePictureCell(9, 0).W, 0);
}

TEST(PlayLayout, HudFitsTheScreen) {
  for (int16_t res : {int16_t{0}, int16_t{1}}) {
    const int32_t h = res == 1 ? 240 : 480;
    for (int16_t style : {int16_t{0}, int16_t{1}, int16_t{2}, int16_t{3}}) {
      for (int p = 0; p < 2; ++p) {
        const ScreenPoint numbers = NumbersPosition(style, p, res);
        // The last count row ends inside the screen.
        EXPECT_LE(numbers.Y + Scaled(36 + 11 * 4 + 10, res), h) << style << "/" << p;
        const ScreenPoint base = DamageColumnBase(style, p, res);
        EXPECT_GE(base.Y - 40 * Scaled(kDamageBlockPitch, res), 0);
        EXPECT_GE(GaugePosition(style, p, res).X, 0);
      }
    }
  }
}

}  // namespace
}  // namespace tessaru
