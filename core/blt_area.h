#pragma once
// The rectangle record every sprite table is kept in: the screens that cut pictures from
// image sheets and the generator that draws those sheets share it.
#include <cstdint>

namespace tessaru {

// Origin and size of a rectangle.
struct BltArea {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t W = 0;
  int32_t H = 0;
  bool operator==(const BltArea&) const = default;
};

}  // namespace tessaru
