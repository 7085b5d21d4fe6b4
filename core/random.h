#pragma once
// The game's one uniform generator. Every draw is truncate(u * n) with u in [0, 1), so a
// seeded run repeats exactly (tests and replays rely on this).
#include <cstdint>

namespace tessaru {

class Random {
 public:
  explicit Random(uint64_t seed = 0x7E55A2u) { Seed(seed); }
  void Seed(uint64_t seed);
  // u uniform in [0, 1), 53 random bits.
  double Uniform();
  // truncate(u * n): 0..n-1 for n > 0; 0 for n <= 0.
  int Draw(int n);

 private:
  uint64_t state_[4];
};

}  // namespace tessaru
