#pragma once
// The damage-block gauge display of one player: a stack of up to 40 blocks that grows as
// the gauge falls. Additions appear one at a time, 75 ms apart; a removal happens at once
// and then holds the display for 75 ms per removed block.
#include <array>
#include <cstdint>

namespace tessaru {

inline constexpr int kMaxDamageBlocks = 40;
inline constexpr int32_t kDamageBlockMs = 75;

struct DamageBlock {
  int16_t Lane = 0;
  int16_t Flag = 0;  // 1 for a block caused by the opponent's hit, 0 by one's own fault
};

class DamageBlocks {
 public:
  void Add(DamageBlock block, int32_t nowMs);
  void Remove(int16_t count, int32_t nowMs);
  void Update(int32_t nowMs);
  // Brings the display towards `target` blocks, counting the blocks still pending.
  void Request(int16_t target, DamageBlock block, int32_t nowMs);

  int16_t Count() const { return count_; }
  int16_t Pending() const { return pending_; }
  int16_t State() const { return state_; }
  int16_t TopFlag() const { return topFlag_; }
  int32_t LastChange() const { return lastChange_; }
  const std::array<int16_t, kMaxDamageBlocks>& Lanes() const { return lanes_; }

 private:
  std::array<int16_t, kMaxDamageBlocks> lanes_{};
  int16_t count_ = 0;
  int16_t topFlag_ = 0;
  std::array<DamageBlock, kMaxDamageBlocks> pendingList_{};
  int16_t pending_ = 0;    // > 0 blocks waiting to be added, < 0 waiting to be removed
  int16_t state_ = 0;      // 0 idle, 1 one block just added, -n n blocks just removed
  int32_t lastChange_ = 0;
};

}  // namespace tessaru
