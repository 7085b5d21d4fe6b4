// INI text: any bytes parse and come back byte for byte. Writing one key changes that key's
// line or adds lines, nothing else, and the written value reads back, also after the
// text is parsed again.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "persist/ini_file.h"

namespace {

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A value that reads back exactly as written: no blanks around it to trim, no quotes to strip.
bool ReadsBackAsWritten(std::string_view value) {
  if (value.empty()) return true;
  const std::string_view blanks(" \t\v\f\x1A");
  return blanks.find(value.front()) == std::string_view::npos &&
         blanks.find(value.back()) == std::string_view::npos && value.front() != '"' && value.front() != '\'';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(24);
  const std::string key = input.ConsumeRandomLengthString(24);
  const std::string value = input.ConsumeRandomLengthString(24);
  const std::string before = input.ConsumeRemainingBytesAsString();

  tessaru::IniDocument document(before);
  if (document.Bytes() != before) __builtin_trap();
  if (!document.Set(section, key, value)) {
    if (document.Bytes() != before || document.Changed()) __builtin_trap();
    return 0;
  }
  const std::string after = document.Bytes();

  // Everything outside the one changed stretch is kept: the stretch either replaces text
  // within one line (the key's value) or is inserted whole (new lines).
  size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
  size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::string_view removed = std::string_view(before).substr(prefix, before.size() - prefix - suffix);
  const std::string_view added = std::string_view(after).substr(prefix, after.size() - prefix - suffix);
  if (HasLineBreak(removed) || (!removed.empty() && HasLineBreak(added))) __builtin_trap();

  const std::string read = document.Get(section, key, "E");
  if (tessaru::IniDocument(after).Get(section, key, "E") != read) __builtin_trap();
  if (ReadsBackAsWritten(value) && read != value) __builtin_trap();
  return 0;
}
