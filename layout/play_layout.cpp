#include "layout/play_layout.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tessaru {
namespace {

constexpr int32_t kStepHeight640 = 10;
constexpr int32_t kRowGap640 = 4;
constexpr int32_t kCellWidth640 = 100;
constexpr int32_t kCellHeight640 = 10;
constexpr int32_t kJudgeBigWidth640 = 120;
constexpr int32_t kJudgeBigHeight640 = 28;

BltArea Area(int32_t x, int32_t y, int32_t w, int32_t h, int16_t resolution) {
  return Scaled(BltArea{x, y, w, h}, resolution);
}

// Styles 1 (DOUBLE) put both pages in the middle; every other style at the edges.
bool PagesInMiddle(int16_t playStyle) { return playStyle == 1; }

bool IsLane(int16_t lane) { return lane >= 1 && lane <= kLaneCount; }

}  // namespace

BltArea Scaled(const BltArea& a, int16_t resolution) {
  return {Scaled(a.X, resolution), Scaled(a.Y, resolution), Scaled(a.W, resolution),
          Scaled(a.H, resolution)};
}

ScreenPoint LaneOrigin(int16_t playStyle, int p, int16_t resolution) {
  ScreenPoint o = PagesInMiddle(playStyle) ? (p == 0 ? ScreenPoint{210, 8} : ScreenPoint{330, 8})
                                           : (p == 0 ? ScreenPoint{26, 32} : ScreenPoint{514, 32});
  return {Scaled(o.X, resolution), Scaled(o.Y, resolution)};
}

int32_t StepHeight(int16_t resolution) { return Scaled(kStepHeight640, resolution); }
int32_t RowGap(int16_t resolution) { return Scaled(kRowGap640, resolution); }

ScreenPoint SlotPosition(int16_t playStyle, int p, int slot, int16_t resolution) {
  const ScreenPoint o = LaneOrigin(playStyle, p, resolution);
  return {o.X, o.Y + (slot + 2) * StepHeight(resolution) + (slot / kRowSlots + 1) * RowGap(resolution)};
}

int EffectShiftSign(int16_t playStyle, int p) {
  const int style = playStyle == 3 ? 0 : playStyle;
  return (style + p) % 2 == 0 ? 1 : -1;
}

int16_t EffectSwing(int16_t resolution) { return static_cast<int16_t>(Scaled(20, resolution)); }

BltArea ChipCell(int16_t resolution) { return Area(0, 0, kCellWidth640, kCellHeight640, resolution); }

BltArea ChipSheetRow(int row, int16_t resolution) {
  BltArea cell = ChipCell(resolution);
  cell.Y += row * (cell.H + 1);
  return cell;
}

BltArea LaneQuarter(int16_t lane, int16_t resolution) {
  const int32_t w = ChipCell(resolution).W / kLaneCount;
  const int l = IsLane(lane) ? lane : 1;
  return {(l - 1) * w, 0, w, ChipCell(resolution).H};
}

int ChipRowFor(int16_t colorOpt, int16_t lane) {
  switch (colorOpt) {
    case 1: return lane + 4;
    case 2: return lane + 9;
    case 3: return kChipRowSpecial;
    default: return lane;
  }
}

int ChipMarkRow(int mark, int16_t lane) {
  if (!IsLane(lane) || mark < kMarkJust || mark > kMarkMissed) return -1;
  return 16 + kLaneCount * mark + (lane - 1);
}

int EmptyRowFor(int slot) {
  if (slot % kRowSlots == 0) return kChipRowBar;
  if (slot % 4 == 0) return kChipRowBeat;
  return kChipRowEmpty;
}

// Tall enough to hold the numbers under the page too, so they read on any background.
BltArea PagePanelCell(int16_t resolution) { return Area(120, 0, 108, 428, resolution); }

ScreenPoint PagePanelPosition(int16_t playStyle, int p, int16_t resolution) {
  const ScreenPoint o = LaneOrigin(playStyle, p, resolution);
  return {o.X - Scaled(4, resolution), o.Y + Scaled(20, resolution)};
}

BltArea CursorArrowsCell(int16_t resolution) { return Area(240, 0, 116, 10, resolution); }
int32_t CursorArrowsOffset(int16_t resolution) { return -Scaled(8, resolution); }

std::bitset<kPageSlots> CoveredSlots(int16_t visibilityOpt, int cursor) {
  std::bitset<kPageSlots> covered;
  auto ahead = [cursor](int k) { return static_cast<size_t>((cursor + k) % kPageSlots); };
  switch (visibilityOpt) {
    case 1:  // SUDDEN: only the four steps before a chip is due
      covered.set();
      for (int k = 1; k <= 4; ++k) covered.reset(ahead(k));
      break;
    case 2:  // HIDDEN: a chip disappears seven steps before it is due
      for (int k = 1; k <= 7; ++k) covered.set(ahead(k));
      break;
    case 3:  // BRIND: the current step and the one a beat ahead
      covered.set();
      covered.reset(ahead(0));
      covered.reset(ahead(4));
      break;
    default:
      break;
  }
  return covered;
}

int32_t SlotStep(int32_t curStep, int slot) {
  const int32_t step = std::max(curStep, 0);
  const int32_t base = step - step % kPageSlots;
  const int cursorRow = static_cast<int>(step % kPageSlots) / kRowSlots;
  return slot / kRowSlots < cursorRow ? base + kPageSlots + slot : base + slot;
}

// --- the play sheet: judgement pictures down the left, the small pieces beside them,
// the captions in the lower right.

BltArea JudgePictureCell(int16_t imageIndex, int16_t resolution) {
  if (imageIndex < 1 || imageIndex > kJudgePictures) return {};
  return Area(0, (imageIndex - 1) * 30, kJudgeBigWidth640, kJudgeBigHeight640, resolution);
}

BltArea JudgeLabelCell(int16_t imageIndex, int16_t resolution) {
  if (imageIndex < 1 || imageIndex > kJudgePictures) return {};
  return Area(120, (imageIndex - 1) * 11, kCellWidth640, kCellHeight640, resolution);
}

BltArea BigDigitCell(int digit, int16_t resolution) {
  return Area(240 + 16 * std::clamp(digit, 0, 9), 0, 16, 22, resolution);
}

BltArea SmallDigitCell(int digit, int16_t resolution) {
  return Area(240 + 9 * std::clamp(digit, 0, 9), 24, 8, 10, resolution);
}

BltArea CountLabelCell(int row, int16_t resolution) {
  return Area(420, 11 * std::clamp(row, 0, kCountRows - 1), 40, 10, resolution);
}

BltArea ComboLabelCell(int16_t resolution) { return Area(470, 0, 44, 12, resolution); }
BltArea PointsLabelCell(int16_t resolution) { return Area(470, 14, 40, 10, resolution); }
BltArea GaugeFrameCell(int16_t resolution) { return Area(240, 40, 108, 16, resolution); }

BltArea GaugeFillCell(int kind, int16_t resolution) {
  return Area(240, 60 + 12 * std::clamp(kind, 0, 2), 100, 10, resolution);
}

BltArea DamageBlockCell(int16_t lane, int16_t flag, int16_t resolution) {
  const int l = IsLane(lane) ? lane : 1;
  return Area(360 + 12 * (l - 1), 40 + (flag != 0 ? 8 : 0), 10, 6, resolution);
}

BltArea KnockOutCell(int16_t resolution) { return Area(240, 100, 120, 48, resolution); }

BltArea CaptionCell(int caption, int16_t resolution) {
  return Area(240, 160 + 60 * std::clamp(caption, 0, kCaptions - 1), 320, 56, resolution);
}

ReplayNotePlace ReplayNoteAt(int p, int32_t chars, int16_t resolution) {
  constexpr int32_t kCell = 16;  // system-font cells keep their size at either resolution
  const bool low = resolution == kLowResolution;
  return {(SheetWidth(resolution) - chars * kCell) / 2, (low ? 150 : 290) + std::clamp(p, 0, 1) * (low ? 26 : 28)};
}

std::vector<SheetCell> ChipSheetCells(int16_t res) {
  std::vector<SheetCell> cells;
  for (int r = 0; r < kChipRows; ++r) cells.push_back({"row " + std::to_string(r), ChipSheetRow(r, res)});
  cells.push_back({"panel", PagePanelCell(res)});
  cells.push_back({"arrows", CursorArrowsCell(res)});
  return cells;
}

std::vector<SheetCell> PlaySheetCells(int16_t res) {
  std::vector<SheetCell> cells;
  for (int16_t k = 1; k <= kJudgePictures; ++k) {
    cells.push_back({"judge " + std::to_string(k), JudgePictureCell(k, res)});
    cells.push_back({"label " + std::to_string(k), JudgeLabelCell(k, res)});
  }
  for (int d = 0; d < 10; ++d) {
    cells.push_back({"big " + std::to_string(d), BigDigitCell(d, res)});
    cells.push_back({"small " + std::to_string(d), SmallDigitCell(d, res)});
  }
  for (int r = 0; r < kCountRows; ++r) cells.push_back({"count " + std::to_string(r), CountLabelCell(r, res)});
  for (int k = 0; k < 3; ++k) cells.push_back({"fill " + std::to_string(k), GaugeFillCell(k, res)});
  for (int16_t lane = 1; lane <= 4; ++lane) {
    for (int16_t flag = 0; flag <= 1; ++flag) {
      cells.push_back({"block " + std::to_string(lane) + "/" + std::to_string(flag), DamageBlockCell(lane, flag, res)});
    }
  }
  for (int c = 0; c < kCaptions; ++c) cells.push_back({"caption " + std::to_string(c), CaptionCell(c, res)});
  cells.push_back({"ko", KnockOutCell(res)});
  cells.push_back({"gauge", GaugeFrameCell(res)});
  cells.push_back({"combo", ComboLabelCell(res)});
  cells.push_back({"points", PointsLabelCell(res)});
  return cells;
}

ScreenPoint GaugePosition(int16_t playStyle, int p, int16_t resolution) {
  const ScreenPoint o = LaneOrigin(playStyle, p, resolution);
  return {o.X - Scaled(4, resolution), o.Y + Scaled(2, resolution)};
}

ScreenPoint DamageColumnBase(int16_t playStyle, int p, int16_t resolution) {
  const ScreenPoint o = LaneOrigin(playStyle, p, resolution);
  const int32_t bottom = SlotPosition(playStyle, p, kPageSlots - 1, resolution).Y + StepHeight(resolution);
  // Towards the middle in the edge styles, outwards when both pages are in the middle;
  // clear of the page's panel and the judgement line's arrows.
  const bool right = PagesInMiddle(playStyle) ? p == 1 : p == 0;
  const int32_t x = right ? o.X + Scaled(kPageWidth + 10, resolution) : o.X - Scaled(20, resolution);
  return {x, bottom};
}

ScreenPoint NumbersPosition(int16_t playStyle, int p, int16_t resolution) {
  const ScreenPoint o = LaneOrigin(playStyle, p, resolution);
  return {o.X, o.Y + Scaled(356, resolution)};
}

int32_t PointsRowOffset(int16_t resolution) { return Scaled(24, resolution); }
int32_t CountRowOffset(int row, int16_t resolution) { return Scaled(36 + 11 * row, resolution); }

ScreenPoint DanceAnchor(int16_t playStyle, int p, int16_t resolution) {
  ScreenPoint a = PagesInMiddle(playStyle) ? (p == 0 ? ScreenPoint{30, 120} : ScreenPoint{450, 120})
                                           : (p == 0 ? ScreenPoint{150, 120} : ScreenPoint{330, 120});
  return {Scaled(a.X, resolution), Scaled(a.Y, resolution)};
}

JudgePictureDraw JudgePictureFrame(int16_t imageIndex, int32_t slotX, int32_t slotY, int32_t ageMs,
                                   int32_t openingMs, int32_t holdMs, bool latest, int16_t resolution) {
  if (ageMs < 0 || openingMs <= 0 || imageIndex < 1 || imageIndex > kJudgePictures) return {};
  double f = 1.0;  // how far open
  if (ageMs < openingMs) {
    f = static_cast<double>(ageMs + 1) / openingMs;
  } else if (ageMs >= openingMs + holdMs) {
    if (ageMs >= 2 * openingMs + holdMs) return {};
    f = 1.0 - static_cast<double>(ageMs - openingMs - holdMs) / openingMs;
  }
  f = std::clamp(f, 0.0, 1.0);
  const bool big = latest && ageMs < openingMs + kJudgeBigMs && ageMs < openingMs + holdMs;
  const BltArea cell = big ? JudgePictureCell(imageIndex, resolution) : JudgeLabelCell(imageIndex, resolution);
  const auto h = std::max<int32_t>(1, static_cast<int32_t>(std::lround(cell.H * f)));
  // The box it opens into: a label covers its slot; the big picture stands just above
  // it, over steps already played, leaving the judgement line and the steps to come clear.
  const int32_t bottom = big ? slotY - 1 : slotY + StepHeight(resolution);
  const int32_t centre = bottom - cell.H / 2;
  const int32_t x = slotX + (Scaled(kPageWidth, resolution) - cell.W) / 2;
  return {cell, {x, centre - h / 2, cell.W, h}};
}

}  // namespace tessaru
