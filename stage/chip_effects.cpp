#include "stage/chip_effects.h"

#include <cmath>

namespace tessaru {

void ChipEffectTable::Set(int p, int slot, int16_t kind, int32_t nowMs, int16_t visibilityOpt) {
  if (p < 0 || p >= kStagePlayerSlots || slot < 0 || slot >= kChipEffectSlots) return;
  auto& e = At(p, slot);
  const auto half = static_cast<int16_t>(swing_ / 2);
  // The FEELING special mode shows a near hit like a just hit.
  if (kind == 2 && visibilityOpt == 6) kind = 4;
  e.StartTime = nowMs;
  switch (kind) {
    case 1: e.State = 1; e.Counter = half; break;
    case 2: e.State = 2; e.Counter = 0; break;
    case 3: if (e.State != 1) e.Flag = 1; break;
    case 4: e.State = 4; e.Counter = half; break;
    case 5: e.State = 1; e.Counter = 0; break;
    default: break;
  }
}

void ChipEffectTable::MarkRow(int p, int firstSlot, int32_t nowMs) {
  for (int i = 0; i < 16; ++i) Set(p, firstSlot + i, 1, nowMs);
}

void ChipEffectTable::MarkBlock(int p, int32_t nowMs) {
  for (int i = 0; i < 32; ++i) Set(p, i, 5, nowMs);
}

void ChipEffectTable::Update(int32_t nowMs) {
  const double half = swing_ / 2.0;
  for (auto& player : slots_) {
    for (int i = 0; i < 32; ++i) {
      auto& e = player[static_cast<size_t>(i)];
      const double x = (nowMs - e.StartTime) / stepMs_;
      if (e.State == 1) {
        if (x <= 1.0 && e.FirstWord != 0) {
          e.Counter = static_cast<int16_t>(std::floor((1.0 - x * x) * half));
        } else {
          e.State = 0;
          e.Counter = 0;
        }
      } else if (e.State == 2) {
        e.Counter = x <= 1.0 ? static_cast<int16_t>(std::floor(x * x * half))
                             : static_cast<int16_t>(std::lround(half));
      }
    }
  }
}

}  // namespace tessaru
