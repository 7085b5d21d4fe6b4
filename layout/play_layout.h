#pragma once
// Where everything of the play screen is: the lane page on the screen, and the cells of
// the two image sheets it is drawn from. Values are given for 640x480; at 320x240
// (RESOLUTION 1) every value is halved, sheets included ("chips.bmp", "chip2as.bmp").
//
// Chip sheet ("chip.bmp", "chip_ao.bmp", "chip_2c.bmp"): cells of 100x10 stacked at x 0,
// one row every 11 pixels. A cell is a whole lane strip of one step, so a chip on lane w
// is a cell with the chip drawn in the w-th quarter:
//   row 0        empty step (lane guides), drawn under every slot
//   rows 1..4    COLOR chips, lanes 1..4     rows 5..8   GRAY chips, lanes 1..4
//   row 9        the one chip of colour option 3 (every lane)
//   rows 10..13  SILVER chips, lanes 1..4
//   row 14       the current-step frame (keyed: its inside shows the chips)
//   row 15       the cover cell of SUDDEN, HIDDEN and BRIND
//   row 16       just-hit flash   row 17 near-hit flash   row 18 missed or far mark
// Rows 14 and 16..18 are drawn with the black colour key over the chip.
//
// Play sheet ("chip2a.bmp"), keyed black: judgement pictures, digits, count labels,
// gauge, damage blocks, knock-out and the result captions at the rectangles below.
#include <array>
#include <bitset>
#include <cstdint>

#include "graphics/draw_helpers.h"

namespace tessaru {

// RESOLUTION value of the low-resolution screen.
inline constexpr int16_t kLowResolution = 1;

// A value laid out for 640x480, at the given resolution.
constexpr int32_t Scaled(int32_t value640, int16_t resolution) {
  return resolution == kLowResolution ? value640 / 2 : value640;
}
BltArea Scaled(const BltArea& area640, int16_t resolution);

// --- the lane page --------------------------------------------------------------------
inline constexpr int kPageSlots = 32;
inline constexpr int kRowSlots = 16;

struct ScreenPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// Top-left of player p's lane page frame; the first slot is two steps and one row gap
// below it.
ScreenPoint LaneOrigin(int16_t playStyle, int p, int16_t resolution);
int32_t StepHeight(int16_t resolution);
int32_t RowGap(int16_t resolution);
// Where slot 0..31 of player p is drawn.
ScreenPoint SlotPosition(int16_t playStyle, int p, int slot, int16_t resolution);
// +1: effect shifts push the chip to the right; -1 to the left.
int EffectShiftSign(int16_t playStyle, int p);
// The full sideways swing H of a hit chip (its shift is at most H / 2).
int16_t EffectSwing(int16_t resolution);

// --- the chip sheet -------------------------------------------------------------------
inline constexpr int kChipRowEmpty = 0;
inline constexpr int kChipRowSpecial = 9;
inline constexpr int kChipRowCursor = 14;
inline constexpr int kChipRowCover = 15;
inline constexpr int kChipRowJustFlash = 16;
inline constexpr int kChipRowNearFlash = 17;
inline constexpr int kChipRowMissMark = 18;

// The cell rectangle of row 0: 100x10 at (0, 0), 50x5 at 320x240.
BltArea ChipCell(int16_t resolution);
// Row r of the chip sheet: the cell moved down by r * (cell height + 1).
BltArea ChipSheetRow(int row, int16_t resolution);
// The sheet row a chip on lane 1..4 is drawn from under colour option colorOpt (COLOR 0,
// GRAY 1, SILVER 2, the special value 3); unknown options draw as COLOR.
int ChipRowFor(int16_t colorOpt, int16_t lane);

// Slots the visibility option covers while the current step's slot is `cursor`:
// SUDDEN all but the four slots ahead, HIDDEN the seven ahead, BRIND all but the
// cursor's and the one a beat ahead; no other option covers anything.
std::bitset<kPageSlots> CoveredSlots(int16_t visibilityOpt, int cursor);

// The step shown in slot 0..31 when the current step is curStep: the page holds the
// current block, except that the row the cursor has left already shows the next
// block's steps, so the player can read ahead.
int32_t SlotStep(int32_t curStep, int slot);

// --- the play sheet -------------------------------------------------------------------
// Judgement picture of image index 1..8 (1 the flourish of every fourth just, 2..4 the
// first three justs, 5 early, 6 late, 7 far, 8 blank press).
BltArea JudgePictureCell(int16_t imageIndex, int16_t resolution);
// Digits 0..9: big (combo, points, score) and small (counts).
BltArea BigDigitCell(int digit, int16_t resolution);
BltArea SmallDigitCell(int digit, int16_t resolution);
// Label of count row 0..4 (just, early, late, far, miss).
BltArea CountLabelCell(int row, int16_t resolution);
BltArea ComboLabelCell(int16_t resolution);
BltArea GaugeFrameCell(int16_t resolution);
// The gauge bar: normal, in danger (below a quarter), full.
BltArea GaugeFillCell(int kind, int16_t resolution);
inline constexpr int kGaugeNormal = 0;
inline constexpr int kGaugeDanger = 1;
inline constexpr int kGaugeFull = 2;
// A damage block of lane 1..4 (other values draw as lane 1); flag 1 for a block the
// opponent's hit caused, 0 for one's own fault.
BltArea DamageBlockCell(int16_t lane, int16_t flag, int16_t resolution);
BltArea KnockOutCell(int16_t resolution);
// Result captions.
inline constexpr int kCaptionClear = 0;
inline constexpr int kCaptionFailed = 1;
inline constexpr int kCaptionContinue = 2;
inline constexpr int kCaptionGameOver = 3;
BltArea CaptionCell(int caption, int16_t resolution);

// --- the HUD around each lane page ------------------------------------------------------
inline constexpr int32_t kPageWidth = 100;     // at 640x480
inline constexpr int32_t kDamageBlockPitch = 8;  // one block every 8 pixels, bottom-up
// Top-left of the gauge frame above the page.
ScreenPoint GaugePosition(int16_t playStyle, int p, int16_t resolution);
// Bottom of the damage-block column beside the page (the first block sits just above
// it) and its x; the column stands on the side towards the screen's middle.
ScreenPoint DamageColumnBase(int16_t playStyle, int p, int16_t resolution);
// Top-left of the numbers block under the page: combo, points, then the five counts.
ScreenPoint NumbersPosition(int16_t playStyle, int p, int16_t resolution);
// Top-left of a player's dance: the frame values V5, V6 place the picture from here.
ScreenPoint DanceAnchor(int16_t playStyle, int p, int16_t resolution);

// --- judgement pictures in motion -------------------------------------------------------
// Where a judgement picture of age ageMs stands over its slot (slotY the slot's top):
// it opens by growing from a line to full height over openingMs, holds for holdMs, and
// closes by shrinking back; nothing (W or H 0) once it has closed.
BltArea JudgePicturePlace(int32_t slotX, int32_t slotY, int32_t ageMs, int32_t openingMs,
                          int32_t holdMs, int16_t resolution);

}  // namespace tessaru
