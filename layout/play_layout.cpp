#include "stage/play/play_layout.h"

#include <algorithm>
#include <cmath>

namespace tessaru {
namespace {

constexpr int32_t kStepHeight640 = 10;
constexpr int32_t kRowGap640 = 4;
constexpr int32_t kCellWidth640 = 100;
constexpr int32_t kCellHeight640 = 10;

BltArea Area(int32_t x, int32_t y, int32_t w, int32_t h, int16_t resolution) {
  return Scaled(BltArea{x, y, w, h}, resolution);
}

// Styles 1 (DOUBLE) put both pages in the middle; every other style at the edges.
bool PagesInMiddle(int16_t playStyle) { return playStyle == 1; }

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

int ChipRowFor(int16_t colorOpt, int16_t lane) {
  switch (colorOpt) {
    case 1: return lane + 4;
    case 2: return lane + 9;
    case 3: return kChipRowSpecial;
    default: return lane;
  }
}

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

BltArea JudgePictureCell(int16_t imageIndex, int16_t resolution) {
  if (imageIndex < 1 || imageIndex > 8) return {};
  return Area(0, (imageIndex - 1) * 24, 100, 22, resolution);
}

BltArea BigDigitCell(int digit, int16_t resolution) {
  return Area(16 * std::clamp(digit, 0, 9), 200, 14, 18, resolution);
}

BltArea SmallDigitCell(int digit, int16_t resolution) {
  return Area(10 * std::clamp(digit, 0, 9), 222, 8, 10, resolution);
}

BltArea CountLabelCell(int row, int16_t resolution) {
  return Area(0, 236 + 12 * std::clamp(row, 0, 4), 24, 10, resolution);
}

BltArea ComboLabelCell(int16_t resolution) { return Area(120, 48, 50, 10, resolution); }
BltArea GaugeFrameCell(int16_t resolution) { return Area(0, 300, 104, 14, resolution); }

BltArea GaugeFillCell(int kind, int16_t resolution) {
  return Area(0, 316 + 12 * std::clamp(kind, 0, 2), 100, 10, resolution);
}

BltArea DamageBlockCell(int16_t lane, int16_t flag, int16_t resolution) {
  const int l = lane >= 1 && lane <= 4 ? lane : 1;
  return Area(120 + 12 * (l - 1), 300 + (flag != 0 ? 8 : 0), 10, 6, resolution);
}

BltArea KnockOutCell(int16_t resolution) { return Area(120, 0, 100, 44, resolution); }

BltArea CaptionCell(int caption, int16_t resolution) {
  return Area(240, 48 * std::clamp(caption, 0, 3), 240, 44, resolution);
}

ScreenPoint GaugePosition(int16_t playStyle, int p, int16_t resolution) {
  const ScreenPoint o = LaneOrigin(playStyle, p, resolution);
  return {o.X - Scaled(2, resolution), o.Y + Scaled(4, resolution)};
}

ScreenPoint DamageColumnBase(int16_t playStyle, int p, int16_t resolution) {
  const ScreenPoint o = LaneOrigin(playStyle, p, resolution);
  const int32_t bottom = SlotPosition(playStyle, p, kPageSlots - 1, resolution).Y + StepHeight(resolution);
  // Towards the middle in the edge styles, outwards when both pages are in the middle.
  const bool right = PagesInMiddle(playStyle) ? p == 1 : p == 0;
  const int32_t x = right ? o.X + Scaled(kPageWidth + 4, resolution) : o.X - Scaled(14, resolution);
  return {x, bottom};
}

ScreenPoint NumbersPosition(int16_t playStyle, int p, int16_t resolution) {
  const ScreenPoint o = LaneOrigin(playStyle, p, resolution);
  return {o.X, o.Y + Scaled(344, resolution)};
}

ScreenPoint DanceAnchor(int16_t playStyle, int p, int16_t resolution) {
  ScreenPoint a = PagesInMiddle(playStyle) ? (p == 0 ? ScreenPoint{30, 120} : ScreenPoint{450, 120})
                                           : (p == 0 ? ScreenPoint{150, 120} : ScreenPoint{330, 120});
  return {Scaled(a.X, resolution), Scaled(a.Y, resolution)};
}

BltArea JudgePicturePlace(int32_t slotX, int32_t slotY, int32_t ageMs, int32_t openingMs,
                          int32_t holdMs, int16_t resolution) {
  const BltArea full = JudgePictureCell(1, resolution);
  double f = 0;
  if (ageMs < 0) return {};
  if (ageMs < openingMs) {
    f = static_cast<double>(ageMs + 1) / openingMs;
  } else if (ageMs < openingMs + holdMs) {
    f = 1.0;
  } else if (ageMs < 2 * openingMs + holdMs) {
    f = 1.0 - static_cast<double>(ageMs - openingMs - holdMs) / openingMs;
  } else {
    return {};
  }
  const auto h = std::max<int32_t>(1, static_cast<int32_t>(std::lround(full.H * std::min(f, 1.0))));
  const int32_t centre = slotY + StepHeight(resolution) / 2;
  return {slotX, centre - h / 2, full.W, h};
}

}  // namespace tessaru
