#include "content/field_reader.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/numbers.h"
#include "core/text.h"

namespace tessaru {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }


}  // namespace

bool FieldReader::Read(std::string& out) {
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  if (pos_ >= text_.size()) return false;

  const std::string_view rest = std::string_view(text_).substr(pos_);
  if (rest.front() == '"') {
    const size_t close = rest.find('"', 1);
    if (close == std::string_view::npos) {
      // An unterminated quote runs to the end of the text.
      out.assign(rest.substr(1));
      pos_ = text_.size();
      return true;
    }
    out.assign(rest.substr(1, close - 1));
    pos_ += close + 1;
    // Whatever follows the closing quote up to the delimiter belongs to no field.
    while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\r' &&
           text_[pos_] != '\n') {
      ++pos_;
    }
  } else {
    const size_t end = rest.find_first_of(",\r\n");
    const size_t length = end == std::string_view::npos ? rest.size() : end;
    out.assign(TrimBlanks(rest.substr(0, length)));
    pos_ += length;
  }
  // Consume one delimiter: a comma, or one line end (CR LF, CR or LF).
  if (pos_ < text_.size()) {
    if (text_[pos_] == ',') {
      ++pos_;
    } else if (text_[pos_] == '\r') {
      ++pos_;
      if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    } else if (text_[pos_] == '\n') {
      ++pos_;
    }
  }
  return true;
}

bool ParseNumberField(std::string_view text, double& out) {
  text = TrimBlanks(text);
  if (text.empty()) {
    out = 0.0;
    return true;
  }
  if (text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return false;
  }
  out = value;
  return true;
}

bool FieldReader::ReadInteger(int64_t low, int64_t high, int64_t& out) {
  std::string field;
  double value = 0.0;
  if (!Read(field) || !ParseNumberField(field, value)) return false;
  // Range check before converting, so a huge value never reaches the integer cast.
  if (value < static_cast<double>(low) - 0.5 || value > static_cast<double>(high) + 0.5) {
    return false;
  }
  const int64_t rounded = RoundHalfEven(value);
  if (rounded < low || rounded > high) return false;
  out = rounded;
  return true;
}

bool FieldReader::ReadInt16(int16_t& out) {
  int64_t value = 0;
  if (!ReadInteger(std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max(),
                   value)) {
    return false;
  }
  out = static_cast<int16_t>(value);
  return true;
}

bool FieldReader::ReadInt32(int32_t& out) {
  int64_t value = 0;
  if (!ReadInteger(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                   value)) {
    return false;
  }
  out = static_cast<int32_t>(value);
  return true;
}

bool FieldReader::ReadDouble(double& out) {
  std::string field;
  return Read(field) && ParseNumberField(field, out);
}

}  // namespace tessaru
