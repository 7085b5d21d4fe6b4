#include "layout/play_layout.h"

#include <string>
#include <vector>

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
  // The latest picture opens big over its slot, stands for a while, then settles into a
  // one-step label on its slot; the label closes by shrinking, then nothing is drawn.
  const int32_t a = 117;
  const int32_t b = 1000;
  const int32_t y = 100;
  const BltArea big = JudgePictureCell(5, 0);
  const BltArea label = JudgeLabelCell(5, 0);
  struct Case {
    int32_t age;
    bool latest;
    int16_t res;
    BltArea cell;     // W 0: nothing drawn
    int32_t minH, maxH;
  };
  const Case cases[] = {
      {-1, true, 0, {}, 0, 0},
      {0, true, 0, big, 1, 1},
      {58, true, 0, big, 2, big.H - 1},
      {a, true, 0, big, big.H, big.H},
      {a + kJudgeBigMs - 1, true, 0, big, big.H, big.H},
      {a + kJudgeBigMs, true, 0, label, label.H, label.H},
      {a + b - 1, true, 0, label, label.H, label.H},
      {0, false, 0, label, 1, 1},
      {a, false, 0, label, label.H, label.H},
      {a + b + 60, false, 0, label, 1, label.H - 1},
      {2 * a + b - 1, false, 0, label, 1, 1},
      {2 * a + b, false, 0, {}, 0, 0},
      {2 * a + b, true, 0, {}, 0, 0},
      {a, true, 1, JudgePictureCell(5, 1), JudgePictureCell(5, 1).H, JudgePictureCell(5, 1).H},
      {a + b - 1, false, 1, JudgeLabelCell(5, 1), 5, 5},
  };
  for (const Case& c : cases) {
    const JudgePictureDraw d = JudgePictureFrame(5, 26, y, c.age, a, b, c.latest, c.res);
    EXPECT_EQ(d.Cell, c.cell) << "age " << c.age << " latest " << c.latest;
    if (c.cell.W == 0) continue;
    EXPECT_GE(d.Place.H, c.minH) << c.age;
    EXPECT_LE(d.Place.H, c.maxH) << c.age;
    EXPECT_EQ(d.Place.W, c.cell.W);
    // Centred on the page.
    EXPECT_EQ(2 * (d.Place.X - 26) + d.Place.W, Scaled(kPageWidth, c.res)) << c.age;
  }
  // A full label lies exactly on its slot; the big picture stands just above it, over
  // the steps already played, leaving the slot's judgement line clear.
  const BltArea onSlot = JudgePictureFrame(5, 26, y, a, a, b, false, 0).Place;
  EXPECT_EQ(onSlot.Y, y);
  EXPECT_EQ(onSlot.H, StepHeight(0));
  const BltArea standing = JudgePictureFrame(5, 26, y, a, a, b, true, 0).Place;
  EXPECT_EQ(standing.Y + standing.H, y - 1);
  // A fast song's hold shorter than the big time still ends as a label.
  EXPECT_EQ(JudgePictureFrame(5, 26, y, a + 100, a, 100, true, 0).Cell, label);
  for (int16_t bad : {int16_t{0}, int16_t{9}}) EXPECT_EQ(JudgePictureFrame(bad, 26, y, a, a, b, true, 0).Cell.W, 0);
}

bool Overlap(const BltArea& a, const BltArea& b) {
  return a.X < b.X + b.W && b.X < a.X + a.W && a.Y < b.Y + b.H && b.Y < a.Y + a.H;
}

TEST(PlayLayout, SheetCellsLieInsideTheirPageAndNeverOverlap) {
  // The generator draws every cell in place; two cells sharing pixels would spoil one.
  for (int16_t res : {int16_t{0}, int16_t{1}}) {
    for (const auto& cells : {ChipSheetCells(res), PlaySheetCells(res)}) {
      for (size_t i = 0; i < cells.size(); ++i) {
        const BltArea& c = cells[i].Area;
        EXPECT_GT(c.W, 0) << cells[i].Name;
        EXPECT_GT(c.H, 0) << cells[i].Name;
        EXPECT_GE(c.X, 0) << cells[i].Name;
        EXPECT_GE(c.Y, 0) << cells[i].Name;
        EXPECT_LE(c.X + c.W, SheetWidth(res)) << cells[i].Name << " res " << res;
        EXPECT_LE(c.Y + c.H, SheetHeight(res)) << cells[i].Name << " res " << res;
        for (size_t j = i + 1; j < cells.size(); ++j) {
          EXPECT_FALSE(Overlap(c, cells[j].Area)) << cells[i].Name << " / " << cells[j].Name << " res " << res;
        }
      }
    }
  }
  EXPECT_EQ(JudgePictureCell(0, 0).W, 0);
  EXPECT_EQ(JudgeLabelCell(9, 0).W, 0);
}

TEST(PlayLayout, MarkAndEmptyRows) {
  struct Case {
    int mark;
    int16_t lane;
    int row;
  };
  const Case cases[] = {{kMarkJust, 1, 16}, {kMarkJust, 4, 19}, {kMarkNear, 1, 20}, {kMarkMissed, 4, 27},
                        {kMarkJust, 0, -1}, {kMarkMissed, 5, -1}, {3, 1, -1}, {-1, 2, -1}};
  for (const Case& c : cases) EXPECT_EQ(ChipMarkRow(c.mark, c.lane), c.row) << c.mark << "/" << c.lane;
  EXPECT_EQ(EmptyRowFor(0), kChipRowBar);
  EXPECT_EQ(EmptyRowFor(16), kChipRowBar);
  EXPECT_EQ(EmptyRowFor(4), kChipRowBeat);
  EXPECT_EQ(EmptyRowFor(28), kChipRowBeat);
  EXPECT_EQ(EmptyRowFor(5), kChipRowEmpty);
  EXPECT_EQ(EmptyRowFor(31), kChipRowEmpty);
}

TEST(PlayLayout, HudFitsTheScreenAndKeepsClearOfThePage) {
  for (int16_t res : {int16_t{0}, int16_t{1}}) {
    for (int16_t style : {int16_t{0}, int16_t{1}, int16_t{2}, int16_t{3}}) {
      for (int p = 0; p < 2; ++p) {
        const std::string where = std::to_string(style) + "/" + std::to_string(p) + " res " + std::to_string(res);
        const ScreenPoint panelAt = PagePanelPosition(style, p, res);
        const BltArea panel{panelAt.X, panelAt.Y, PagePanelCell(res).W, PagePanelCell(res).H};
        // The panel holds every slot of the page.
        const ScreenPoint first = SlotPosition(style, p, 0, res);
        const ScreenPoint last = SlotPosition(style, p, kPageSlots - 1, res);
        EXPECT_LE(panel.X, first.X) << where;
        EXPECT_LE(panel.Y, first.Y) << where;
        EXPECT_GE(panel.X + panel.W, first.X + ChipCell(res).W) << where;
        EXPECT_GE(panel.Y + panel.H, last.Y + StepHeight(res)) << where;
        // Gauge above, numbers below, damage column beside: none of them on the panel.
        const ScreenPoint g = GaugePosition(style, p, res);
        const BltArea gauge{g.X, g.Y, GaugeFrameCell(res).W, GaugeFrameCell(res).H};
        EXPECT_FALSE(Overlap(gauge, panel)) << where;
        EXPECT_GE(g.X, 0) << where;
        EXPECT_GE(g.Y, 0) << where;
        // The numbers sit under the last slot, still on the panel, and on the screen.
        const ScreenPoint n = NumbersPosition(style, p, res);
        const int32_t numbersBottom = n.Y + CountRowOffset(kCountRows - 1, res) + CountLabelCell(0, res).H;
        EXPECT_GT(n.Y, last.Y + StepHeight(res)) << where;
        EXPECT_LE(numbersBottom, panel.Y + panel.H) << where;
        EXPECT_LE(numbersBottom, SheetHeight(res)) << where;
        EXPECT_LE(panel.Y + panel.H, SheetHeight(res)) << where;
        const ScreenPoint base = DamageColumnBase(style, p, res);
        const BltArea column{base.X, base.Y - 40 * Scaled(kDamageBlockPitch, res), DamageBlockCell(1, 0, res).W,
                             40 * Scaled(kDamageBlockPitch, res)};
        EXPECT_GE(column.Y, 0) << where;
        EXPECT_FALSE(Overlap(column, panel)) << where;
        const BltArea arrows{first.X + CursorArrowsOffset(res), first.Y, CursorArrowsCell(res).W, StepHeight(res)};
        EXPECT_FALSE(Overlap(column, arrows)) << where;
        EXPECT_GE(arrows.X, 0) << where;
        EXPECT_LE(arrows.X + arrows.W, SheetWidth(res)) << where;
        // Big judgement pictures stay on the screen.
        const BltArea big = JudgePictureFrame(1, first.X, first.Y, 200, 117, 1000, true, res).Place;
        EXPECT_GE(big.X, 0) << where;
        EXPECT_LE(big.X + big.W, SheetWidth(res)) << where;
      }
      // Two pages never share pixels, nor do their arrows.
      const ScreenPoint a0 = PagePanelPosition(style, 0, res);
      const ScreenPoint a1 = PagePanelPosition(style, 1, res);
      const BltArea panel = PagePanelCell(res);
      EXPECT_FALSE(Overlap({a0.X, a0.Y, panel.W, panel.H}, {a1.X, a1.Y, panel.W, panel.H})) << style;
    }
  }
}

}  // namespace
}  // namespace tessaru
