#pragma once
// Where everything of the play screen is: the lane page on the screen, and the cells of
// the two image sheets it is drawn from. The play screen cuts its sprites here and the
// data generator draws the sheets from the same functions, so the two cannot drift apart.
// Values are given for 640x480; at 320x240 (RESOLUTION 1) every value is halved, sheets
// included ("chips.bmp", "chip2as.bmp").
//
// Chip sheet ("chip.bmp", "chip_ao.bmp", "chip_2c.bmp"): cells of 100x10 stacked at x 0,
// one row every 11 pixels. A cell is a whole lane strip of one step, so a chip on lane w
// is a cell with the chip drawn in the w-th quarter (the rest black, the colour key):
//   row 0        empty step (lane guides), drawn under every slot
//   rows 1..4    COLOR chips, lanes 1..4     rows 5..8   GRAY chips, lanes 1..4
//   row 9        the one chip of colour option 3 (every lane)
//   rows 10..13  SILVER chips, lanes 1..4
//   row 14       the judgement line at the current step (keyed: its inside shows the chips)
//   row 15       the cover cell of SUDDEN, HIDDEN and BRIND (opaque)
//   rows 16..19  a just-hit chip, lanes 1..4 (keyed, drawn over the chip)
//   rows 20..23  a near-hit chip, lanes 1..4    rows 24..27  a missed chip, lanes 1..4
//   row 28       empty step on a beat           row 29       empty step starting a bar
// Beside the rows: the panel behind a lane page and the judgement line's side arrows.
//
// Play sheet ("chip2a.bmp"), keyed black: judgement pictures (big and one step high),
// digits, count labels, gauge, damage blocks, knock-out and the result captions.
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "core/blt_area.h"

namespace tessaru {

// RESOLUTION value of the low-resolution screen.
inline constexpr int16_t kLowResolution = 1;

// A value laid out for 640x480, at the given resolution.
constexpr int32_t Scaled(int32_t value640, int16_t resolution) {
  return resolution == kLowResolution ? value640 / 2 : value640;
}
BltArea Scaled(const BltArea& area640, int16_t resolution);

// Size of the screen, and so of every sheet, at a resolution.
constexpr int32_t SheetWidth(int16_t resolution) { return Scaled(640, resolution); }
constexpr int32_t SheetHeight(int16_t resolution) { return Scaled(480, resolution); }

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
inline constexpr int kLaneCount = 4;
inline constexpr int kChipRowEmpty = 0;
inline constexpr int kChipRowSpecial = 9;
inline constexpr int kChipRowCursor = 14;
inline constexpr int kChipRowCover = 15;
inline constexpr int kChipRowBeat = 28;
inline constexpr int kChipRowBar = 29;
inline constexpr int kChipRows = 30;

// The marks a judged chip gets over it.
inline constexpr int kMarkJust = 0;
inline constexpr int kMarkNear = 1;
inline constexpr int kMarkMissed = 2;

// The cell rectangle of row 0: 100x10 at (0, 0), 50x5 at 320x240.
BltArea ChipCell(int16_t resolution);
// Row r of the chip sheet: the cell moved down by r * (cell height + 1).
BltArea ChipSheetRow(int row, int16_t resolution);
// The x range of lane 1..4 inside a cell (relative to the cell's left edge).
BltArea LaneQuarter(int16_t lane, int16_t resolution);
// The sheet row a chip on lane 1..4 is drawn from under colour option colorOpt (COLOR 0,
// GRAY 1, SILVER 2, the special value 3); unknown options draw as COLOR.
int ChipRowFor(int16_t colorOpt, int16_t lane);
// The row of a mark (kMark...) over a chip on lane 1..4; -1 for other lanes.
int ChipMarkRow(int mark, int16_t lane);
// The empty step drawn under slot 0..31: plain, on a beat, or at a bar's start.
int EmptyRowFor(int slot);
// The panel behind one lane page and the numbers under it, and where it goes for
// player p.
BltArea PagePanelCell(int16_t resolution);
ScreenPoint PagePanelPosition(int16_t playStyle, int p, int16_t resolution);
// The judgement line's arrows: a cell wider than the page, its middle black, drawn
// centred on the line so the arrows stand just outside the page.
BltArea CursorArrowsCell(int16_t resolution);
int32_t CursorArrowsOffset(int16_t resolution);

// Slots the visibility option covers while the current step's slot is `cursor`:
// SUDDEN all but the four slots ahead, HIDDEN the seven ahead, BRIND all but the
// cursor's and the one a beat ahead; no other option covers anything.
std::bitset<kPageSlots> CoveredSlots(int16_t visibilityOpt, int cursor);

// The step shown in slot 0..31 when the current step is curStep: the page holds the
// current block, except that the row the cursor has left already shows the next
// block's steps, so the player can read ahead.
int32_t SlotStep(int32_t curStep, int slot);

// --- the play sheet -------------------------------------------------------------------
inline constexpr int kJudgePictures = 8;
// Judgement picture of image index 1..8 (1 the flourish of every fourth just, 2..4 the
// first three justs, 5 early, 6 late, 7 far, 8 blank press): the big picture of the
// latest judgement, and the one-step-high label an older one settles into.
BltArea JudgePictureCell(int16_t imageIndex, int16_t resolution);
BltArea JudgeLabelCell(int16_t imageIndex, int16_t resolution);
// Digits 0..9: big (combo, and the numbers under the result captions) and small
// (points and counts).
BltArea BigDigitCell(int digit, int16_t resolution);
BltArea SmallDigitCell(int digit, int16_t resolution);
// Label of count row 0..4 (just, early, late, far, miss).
inline constexpr int kCountRows = 5;
BltArea CountLabelCell(int row, int16_t resolution);
BltArea ComboLabelCell(int16_t resolution);
BltArea PointsLabelCell(int16_t resolution);
BltArea GaugeFrameCell(int16_t resolution);
// The gauge bar: normal, in danger (below a quarter), full.
inline constexpr int kGaugeNormal = 0;
inline constexpr int kGaugeDanger = 1;
inline constexpr int kGaugeFull = 2;
BltArea GaugeFillCell(int kind, int16_t resolution);
// A damage block of lane 1..4 (other values draw as lane 1); flag 1 for a block the
// opponent's hit caused, 0 for one's own fault.
BltArea DamageBlockCell(int16_t lane, int16_t flag, int16_t resolution);
BltArea KnockOutCell(int16_t resolution);
// Result captions.
inline constexpr int kCaptionClear = 0;
inline constexpr int kCaptionFailed = 1;
inline constexpr int kCaptionContinue = 2;
inline constexpr int kCaptionGameOver = 3;
inline constexpr int kCaptions = 4;
BltArea CaptionCell(int caption, int16_t resolution);
// Where player p's replay note of `chars` system-font characters goes during the result
// display: centred between the pages, under the score, 1P above 2P.
struct ReplayNotePlace {
  int32_t X = 0;
  int32_t Y = 0;
};
ReplayNotePlace ReplayNoteAt(int p, int32_t chars, int16_t resolution);

// Every cell of the chip sheet and of the play sheet, named: the generator must draw
// each, and no two may share a pixel.
struct SheetCell {
  std::string Name;
  BltArea Area;
};
std::vector<SheetCell> ChipSheetCells(int16_t resolution);
std::vector<SheetCell> PlaySheetCells(int16_t resolution);

// --- the HUD around each lane page ------------------------------------------------------
inline constexpr int32_t kPageWidth = 100;       // at 640x480
inline constexpr int32_t kDamageBlockPitch = 8;  // one block every 8 pixels, bottom-up
// Top-left of the gauge frame above the page.
ScreenPoint GaugePosition(int16_t playStyle, int p, int16_t resolution);
// Bottom of the damage-block column beside the page (the first block sits just above
// it) and its x; the column stands on the side towards the screen's middle.
ScreenPoint DamageColumnBase(int16_t playStyle, int p, int16_t resolution);
// Top-left of the numbers block under the page: combo, points, then the five counts.
ScreenPoint NumbersPosition(int16_t playStyle, int p, int16_t resolution);
// Offsets inside the numbers block.
int32_t PointsRowOffset(int16_t resolution);
int32_t CountRowOffset(int row, int16_t resolution);
// Top-left of a player's dance: the frame values V5, V6 place the picture from here.
ScreenPoint DanceAnchor(int16_t playStyle, int p, int16_t resolution);

// --- judgement pictures in motion -------------------------------------------------------
// How long the latest judgement stays big once it has opened; afterwards it settles
// into its one-step label on its slot until it closes.
inline constexpr int32_t kJudgeBigMs = 250;

struct JudgePictureDraw {
  BltArea Cell;   // source in the play sheet (W 0: nothing to draw)
  BltArea Place;  // where on the screen, stretched to this size
};

// A judgement picture of age ageMs over its slot (slotX, slotY the slot's top-left): it
// opens by growing from a line, the latest judgement standing big over the steps just
// played (its bottom on its slot, so the steps to come stay clear) for kJudgeBigMs,
// then every picture holds as a label one step high on its own slot and closes by
// shrinking back to a line; nothing once it has closed.
JudgePictureDraw JudgePictureFrame(int16_t imageIndex, int32_t slotX, int32_t slotY, int32_t ageMs,
                                   int32_t openingMs, int32_t holdMs, bool latest, int16_t resolution);

}  // namespace tessaru
