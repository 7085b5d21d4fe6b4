#pragma once
// Numbers stored in the INI files are read one way everywhere: the leading decimal number
// of the text (anything after it ignored, no number at all gives 0), rounded half to even
// as the old runtime did on assignment.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "core/numbers.h"

namespace tessaru {

// A value beyond the field's range (a hand edit) is held at the range's end; wrapping it
// would turn a large volume into a small one or a count into a negative one.
template <typename T>
T ProfileNumber(std::string_view text) {
  const double value = LeadingNumber(text);
  constexpr double low = static_cast<double>(std::numeric_limits<T>::min());
  constexpr double high = static_cast<double>(std::numeric_limits<T>::max());
  if (!(value > low)) return std::numeric_limits<T>::min();
  if (!(value < high)) return std::numeric_limits<T>::max();
  return static_cast<T>(RoundHalfEven(value));
}

}  // namespace tessaru
