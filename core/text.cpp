#include "core/text.h"

#include <iconv.h>

#include <cerrno>

namespace tessaru {
namespace {

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
size_t Utf8UnitLength(std::string_view text) {
  if (text.empty()) return 1;
  const auto b = static_cast<unsigned char>(text.front());
  if (b >= 0xF0) return 4;
  if (b >= 0xE0) return 3;
  if (b >= 0xC0) return 2;
  return 1;
}

size_t OneByte(std::string_view) { return 1; }

// A converter that skips one invalid input unit at a time and writes a replacement.
using UnitLength = size_t (*)(std::string_view rest);

std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, UnitLength invalidUnit) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
  std::string out;
  out.reserve(input.size() * 3 / 2 + 4);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char buf[1024];
  while (inLeft > 0) {
    char* outPtr = buf;
    size_t outLeft = sizeof buf;
    const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buf, static_cast<size_t>(outPtr - buf));
    if (rc != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL (a cut-short sequence): replace one unit and go on.
    out += replacement;
    const size_t unit = invalidUnit(std::string_view(in, inLeft));
    const size_t skip = inLeft < unit ? inLeft : unit;
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  if (IsAscii(cp932)) return std::string(cp932);
  return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", OneByte);
}

std::string Utf8ToCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  // A character with no CP932 form is skipped whole, not byte by byte.
  return Convert("CP932", "UTF-8", utf8, "?", Utf8UnitLength);
}

std::string_view TrimBlanks(std::string_view text, std::string_view blanks) {
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace tessaru
