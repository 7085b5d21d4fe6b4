#include "stage/damage_blocks.h"

#include <algorithm>
#include <cstdlib>

namespace tessaru {

void DamageBlocks::Add(DamageBlock block, int32_t nowMs) {
  if (count_ >= kMaxDamageBlocks || pending_ >= kMaxDamageBlocks) return;
  if (state_ != 0) {
    // A waiting removal is cancelled by an addition rather than queued behind it.
    if (pending_ >= 0) pendingList_[static_cast<size_t>(pending_)] = block;
    ++pending_;
    return;
  }
  lanes_[static_cast<size_t>(count_)] = block.Lane;
  ++count_;
  topFlag_ = block.Flag;
  state_ = 1;
  lastChange_ = nowMs;
}

void DamageBlocks::Remove(int16_t count, int32_t nowMs) {
  if (count <= 0) return;
  if (state_ != 0) {
    pending_ = static_cast<int16_t>(std::max(pending_ - count, -kMaxDamageBlocks));
    return;
  }
  const int16_t removed = std::min(count, count_);
  if (removed == 0) return;
  count_ = static_cast<int16_t>(count_ - removed);
  state_ = static_cast<int16_t>(-removed);
  lastChange_ = nowMs;
}

void DamageBlocks::Update(int32_t nowMs) {
  if (state_ == 0) return;
  if (nowMs < lastChange_ + std::abs(state_) * kDamageBlockMs) return;
  if (pending_ > 0) {
    if (count_ >= kMaxDamageBlocks) {
      state_ = 0;
      pending_ = 0;
      return;
    }
    lanes_[static_cast<size_t>(count_)] = pendingList_[0].Lane;
    topFlag_ = pendingList_[0].Flag;
    ++count_;
    std::copy(pendingList_.begin() + 1, pendingList_.end(), pendingList_.begin());
    --pending_;
    state_ = 1;
    lastChange_ = nowMs;
  } else if (pending_ < 0) {
    const int16_t removed = std::min<int16_t>(static_cast<int16_t>(-pending_), count_);
    count_ = static_cast<int16_t>(count_ - removed);
    state_ = static_cast<int16_t>(-removed);
    pending_ = 0;
    lastChange_ = nowMs;
    if (removed == 0) state_ = 0;
  } else {
    state_ = 0;
  }
}

void DamageBlocks::Request(int16_t target, DamageBlock block, int32_t nowMs) {
  const int32_t shown = count_ + pending_;
  if (target > shown) {
    for (int32_t n = shown; n < target; ++n) Add(block, nowMs);
  } else if (target < shown) {
    Remove(static_cast<int16_t>(shown - target), nowMs);
  }
}

}  // namespace tessaru
