#include "content/packed.h"

#include <charconv>

#include "content/byte_cursor.h"
#include "core/numbers.h"
#include "core/text.h"

namespace tessaru {
namespace {

template <typename T>
void Put(std::vector<uint8_t>& out, T value) {
  PutLittleEndian(out, value);
}

bool IsCp932LeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// CP932 bytes as character codes: a double-byte character is lead * 256 + trail.
std::vector<int32_t> CharacterCodes(std::string_view cp932) {
  std::vector<int32_t> codes;
  for (size_t i = 0; i < cp932.size(); ++i) {
    const auto b = static_cast<uint8_t>(cp932[i]);
    if (IsCp932LeadByte(b) && i + 1 < cp932.size()) {
      codes.push_back(b * 256 + static_cast<uint8_t>(cp932[i + 1]));
      ++i;
    } else {
      codes.push_back(b);
    }
  }
  return codes;
}

bool ReadString(ByteCursor& cursor, std::string& out) {
  int16_t dims = 0;
  if (!cursor.Take(dims) || dims != 1) return false;
  int32_t elements = 0;
  int32_t lowerBound = 0;
  if (!cursor.Take(elements) || !cursor.Take(lowerBound)) return false;
  if (elements < 0 || lowerBound != 0) return false;
  if (static_cast<size_t>(elements) > cursor.Remaining() / 4) return false;
  std::vector<int32_t> codes(static_cast<size_t>(elements));
  for (auto& code : codes) cursor.Take(code);

  uint16_t countType = 0;
  if (!cursor.Take(countType)) return false;
  int32_t count = 0;
  if (countType == kTokenInt16) {
    int16_t shortCount = 0;
    if (!cursor.Take(shortCount)) return false;
    count = shortCount;
  } else if (countType == kTokenInt32) {
    if (!cursor.Take(count)) return false;
  } else {
    return false;
  }
  if (count < 0 || count > elements) return false;

  std::string cp932;
  for (int32_t i = 0; i < count; ++i) {
    int64_t code =
        static_cast<int32_t>(static_cast<uint32_t>(codes[static_cast<size_t>(i)]) ^ kTextKeyWord);
    // Old authoring tools stored double-byte codes as signed 16-bit values.
    if (code >= -32768 && code < 0) code += 65536;
    // A code that is no single- or double-byte character means the stream is damaged.
    if (code < 0 || code > 0xFFFF) return false;
    if (code >= 256) cp932 += static_cast<char>(code >> 8);
    cp932 += static_cast<char>(code & 0xFF);
  }
  out = Cp932ToUtf8(cp932);
  return true;
}

template <typename T>
std::string ShortestText(T value) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  if (ec != std::errc()) return "0";
  std::string text(buf, end);
  return text == "-0" ? "0" : text;
}

}  // namespace

std::vector<uint8_t> PackText(const std::vector<TextValue>& values) {
  std::vector<uint8_t> out;
  for (const auto& value : values) {
    if (const auto* text = std::get_if<std::string>(&value)) {
      const std::vector<int32_t> codes = CharacterCodes(Utf8ToCp932(*text));
      Put(out, kTokenLongArray);
      Put(out, int16_t{1});
      Put(out, static_cast<int32_t>(codes.size()));
      Put(out, int32_t{0});
      for (int32_t code : codes) Put(out, static_cast<int32_t>(static_cast<uint32_t>(code) ^ kTextKeyWord));
      Put(out, kTokenInt32);
      Put(out, static_cast<int32_t>(codes.size()));
    } else if (const auto* i16 = std::get_if<int16_t>(&value)) {
      Put(out, kTokenInt16);
      Put(out, *i16);
    } else if (const auto* i32 = std::get_if<int32_t>(&value)) {
      Put(out, kTokenInt32);
      Put(out, *i32);
    } else if (const auto* single = std::get_if<float>(&value)) {
      Put(out, kTokenSingle);
      Put(out, *single);
    } else {
      Put(out, kTokenDouble);
      Put(out, std::get<double>(value));
    }
  }
  ScrambleBytes(out);
  return out;
}

std::optional<std::vector<TextValue>> UnpackValues(std::span<const uint8_t> packedBytes) {
  std::vector<uint8_t> plain(packedBytes.begin(), packedBytes.end());
  ScrambleBytes(plain);
  ByteCursor cursor(plain);
  std::vector<TextValue> values;
  while (!cursor.AtEnd()) {
    uint16_t type = 0;
    if (!cursor.Take(type)) return std::nullopt;
    bool ok = false;
    switch (type) {
      case kTokenInt16: {
        int16_t v = 0;
        ok = cursor.Take(v);
        values.emplace_back(v);
        break;
      }
      case kTokenInt32: {
        int32_t v = 0;
        ok = cursor.Take(v);
        values.emplace_back(v);
        break;
      }
      case kTokenSingle: {
        float v = 0;
        ok = cursor.Take(v);
        values.emplace_back(v);
        break;
      }
      case kTokenDouble: {
        double v = 0;
        ok = cursor.Take(v);
        values.emplace_back(v);
        break;
      }
      case kTokenLongArray: {
        std::string s;
        ok = ReadString(cursor, s);
        values.emplace_back(std::move(s));
        break;
      }
      default:
        ok = false;
    }
    if (!ok) return std::nullopt;
  }
  return values;
}

std::string ValueText(const TextValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return "\"" + *text + "\"";
  if (const auto* i16 = std::get_if<int16_t>(&value)) return NumberText(int64_t{*i16});
  if (const auto* i32 = std::get_if<int32_t>(&value)) return NumberText(int64_t{*i32});
  if (const auto* single = std::get_if<float>(&value)) return ShortestText(*single);
  return ShortestText(std::get<double>(value));
}

std::optional<std::string> UnpackText(std::span<const uint8_t> packedBytes) {
  const auto values = UnpackValues(packedBytes);
  if (!values) return std::nullopt;
  std::string text;
  for (const auto& value : *values) {
    text += ValueText(value);
    text += "\r\n";
  }
  return text;
}

}  // namespace tessaru
