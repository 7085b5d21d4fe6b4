#include "tools/text_values.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "content/field_reader.h"
#include "core/text.h"
#include "tools/commands.h"

namespace tessaru {
namespace {

bool ParseInteger(std::string_view s, int64_t& out) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

TextValue ParseLine(std::string_view line, size_t lineNumber) {
  const auto fail = [lineNumber](const std::string& why) {
    return CommandFailure("line " + std::to_string(lineNumber) + ": " + why);
  };
  if (line.front() == '"') {
    if (line.size() < 2 || line.back() != '"') throw fail("a string must end with a double quote");
    const std::string_view inner = line.substr(1, line.size() - 2);
    // The game's field reader ends a string at the next double quote.
    if (inner.find('"') != std::string_view::npos) throw fail("a string cannot hold a double quote");
    return std::string(inner);
  }
  int64_t integer = 0;
  if (ParseInteger(line, integer)) {
    if (integer >= std::numeric_limits<int16_t>::min() && integer <= std::numeric_limits<int16_t>::max()) {
      return static_cast<int16_t>(integer);
    }
    if (integer >= std::numeric_limits<int32_t>::min() && integer <= std::numeric_limits<int32_t>::max()) {
      return static_cast<int32_t>(integer);
    }
  }
  double number = 0.0;
  if (!ParseNumberField(line, number)) {
    throw fail("not a quoted string or a finite number: " + std::string(line));
  }
  return number;
}

}  // namespace

std::vector<TextValue> ParseValueLines(std::string_view text) {
  std::vector<TextValue> values;
  size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const size_t end = text.find('\n');
    const std::string_view line = TrimBlanks(text.substr(0, end), " \t\r");
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty()) continue;
    values.push_back(ParseLine(line, lineNumber));
  }
  return values;
}

std::string ValueLines(const std::vector<TextValue>& values) {
  std::string text;
  for (const auto& value : values) {
    text += ValueText(value);
    text += '\n';
  }
  return text;
}

}  // namespace tessaru
