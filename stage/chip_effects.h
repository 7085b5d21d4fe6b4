#pragma once
// Hit effects on the lane page: one slot per visible step, animated by a counter that
// shifts the chip sideways.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/indexed_array.h"
#include "stage/judge_display.h"

namespace tessaru {

inline constexpr int kChipEffectSlots = 38;

struct ChipEffect {
  int16_t FirstWord = 0;  // set by the play screen while the slot is lit
  int16_t State = 0;      // 0 none, 1 lit, 2 near hit, 4 just hit
  int16_t Counter = 0;    // sideways shift
  int32_t StartTime = 0;  // ms on the stage clock
  int16_t Flag = 0;       // 1 once the chip is struck far or passed unhit
};

class ChipEffectTable {
 public:
  // swing is the layout's full shift H; stepMs one step at the song's initial tempo.
  ChipEffectTable(int16_t swing = 16, double stepMs = 125.0) : swing_(swing), stepMs_(stepMs) {}

  void Set(int p, int slot, int16_t kind, int32_t nowMs, int16_t visibilityOpt = 0);
  void ResetAll() { slots_ = {}; }
  // Marks one row of 16 slots lit, starting at firstSlot.
  void MarkRow(int p, int firstSlot, int32_t nowMs);
  // Marks all 32 slots of a block with kind 5.
  void MarkBlock(int p, int32_t nowMs);
  void Update(int32_t nowMs);

  const ChipEffect& At(int p, int slot) const {
    return slots_[p][static_cast<size_t>(slot)];
  }
  ChipEffect& At(int p, int slot) { return slots_[p][static_cast<size_t>(slot)]; }
  int16_t Swing() const { return swing_; }

 private:
  int16_t swing_;
  double stepMs_;
  PerPlayer<std::array<ChipEffect, kChipEffectSlots>, kStagePlayerSlots> slots_{};
};

}  // namespace tessaru
