#pragma once
// Fixed tables indexed by a typed code or by a player number, so a use reads
// `JudgeCount[JudgeMiss]` or `PlayerPart[p]` instead of casting at every index.
#include <array>
#include <cstddef>
#include <type_traits>

namespace tessaru {

template <typename T, typename Index, size_t N>
struct IndexedArray : std::array<T, N> {
  using std::array<T, N>::operator[];
  constexpr T& operator[](Index i) { return std::array<T, N>::operator[](Offset(i)); }
  constexpr const T& operator[](Index i) const { return std::array<T, N>::operator[](Offset(i)); }

 private:
  static constexpr size_t Offset(Index i) {
    if constexpr (std::is_enum_v<Index>) {
      return static_cast<size_t>(static_cast<std::underlying_type_t<Index>>(i));
    } else {
      return static_cast<size_t>(i);
    }
  }
};

// One entry per player. Player index p: 0 = 1P, 1 = 2P; the tables of four slots hold the
// pair styles' partner at 2 (3 spare).
template <typename T, size_t N = 2>
using PerPlayer = IndexedArray<T, int, N>;

}  // namespace tessaru
