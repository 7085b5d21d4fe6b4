#include "core/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tessaru {

std::string NumberText(int64_t x) { return std::to_string(x); }

std::string NumberText(double x) {
  if (std::isnan(x)) return "NaN";
  if (x == 0.0) return "0";  // also folds -0 into "0"
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", x);
  return buf;
}

std::string ZeroPadNumber(int64_t x, int width) {
  std::string text = NumberText(x);
  if (width > 0 && static_cast<int>(text.size()) < width) {
    text.insert(0, static_cast<size_t>(width) - text.size(), '0');
  }
  return text;
}

int64_t RoundHalfUp(double x) {
  const double whole = std::floor(x);
  return static_cast<int64_t>(whole) + ((x - whole) > 0.5 ? 1 : 0);
}

int64_t FloorMod(int64_t a, int64_t b) {
  if (b == 0) return 0;
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;  // floor, not truncation
  return a - q * b;
}

double FloorMod(double a, double b) {
  if (b == 0.0) return 0.0;
  return a - std::floor(a / b) * b;
}

int64_t RoundHalfEven(double x) { return static_cast<int64_t>(std::nearbyint(x)); }

double LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::string prefix;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) prefix += text[i++];
  bool digits = false;
  bool dot = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !dot) {
      dot = true;
    } else {
      break;
    }
    prefix += c;
  }
  if (!digits) return 0.0;
  return std::strtod(prefix.c_str(), nullptr);
}

}  // namespace tessaru
