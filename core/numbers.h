#pragma once
// Number helpers with the game's own rounding and text rules.
#include <cstdint>
#include <string>

namespace tessaru {

// Decimal text without a leading blank; a negative number keeps its minus sign.
std::string NumberText(int64_t x);
// Doubles print like the old runtime: up to 15 significant digits, no trailing zeros.
std::string NumberText(double x);
// NumberText(x) padded on the left with "0" to width characters; a longer text stays whole.
std::string ZeroPadNumber(int64_t x, int width);
// Int(x) + 1 when the fraction is above one half, else Int(x) (Int = floor).
int64_t RoundHalfUp(double x);
// a - Int(a / b) * b: the remainder with the sign of the divisor; 0 when b is 0.
int64_t FloorMod(int64_t a, int64_t b);
double FloorMod(double a, double b);
// Round to nearest, halves to even (the default rounding of formulas).
int64_t RoundHalfEven(double x);
// Leading-number parse: the longest numeric prefix after blanks ("12abc" -> 12); 0 when none.
double LeadingNumber(std::string_view text);

}  // namespace tessaru
