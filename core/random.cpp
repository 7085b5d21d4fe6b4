#include "core/random.h"

namespace tessaru {
namespace {

uint64_t SplitMix64(uint64_t& x) {
  uint64_t z = (x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

uint64_t RotateLeft(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

void Random::Seed(uint64_t seed) {
  // xoshiro256** seeded through splitmix64, as its authors recommend.
  for (auto& word : state_) word = SplitMix64(seed);
}

double Random::Uniform() {
  const uint64_t result = RotateLeft(state_[1] * 5, 7) * 9;
  const uint64_t t = state_[1] << 17;
  state_[2] ^= state_[0];
  state_[3] ^= state_[1];
  state_[1] ^= state_[2];
  state_[0] ^= state_[3];
  state_[2] ^= t;
  state_[3] = RotateLeft(state_[3], 45);
  return static_cast<double>(result >> 11) * 0x1.0p-53;
}

int Random::Draw(int n) {
  if (n <= 0) return 0;
  return static_cast<int>(Uniform() * n);
}

}  // namespace tessaru
