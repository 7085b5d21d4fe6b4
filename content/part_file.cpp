#include "content/part_file.h"

#include <algorithm>
#include <cctype>

#include "content/byte_cursor.h"
#include "content/packed.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "core/text.h"

namespace tessaru {
namespace {

constexpr std::string_view kSignature = "<KWP4>";
// Bytes per bar of the step and slot tables: 16 step words, then 64 slots of
// three 16-bit words and one 32-bit value.
constexpr size_t kTableBytesPerBar = 2 * 16 + (2 + 2 + 2 + 4) * 64;

bool SignatureMatches(std::span<const uint8_t> bytes) {
  for (size_t i = 0; i < kSignature.size(); ++i) {
    if (std::toupper(bytes[i]) != kSignature[i]) return false;
  }
  return true;
}

bool TakeText(ByteCursor& cursor, std::string& out) {
  int16_t length = 0;
  std::span<const uint8_t> raw;
  if (!cursor.Take(length) || length < 0 ||
      !cursor.TakeBytes(static_cast<size_t>(length), raw)) {
    return false;
  }
  out = Cp932ToUtf8(std::string_view(reinterpret_cast<const char*>(raw.data()), raw.size()));
  return true;
}

template <typename T>
void TakeTable(ByteCursor& cursor, std::vector<T>& table, size_t count) {
  // The caller has checked that the bytes are there.
  table.assign(count, T{});
  for (auto& value : table) cursor.Take(value);
}

void PutText(std::vector<uint8_t>& out, std::string_view utf8) {
  const std::string cp932 = Utf8ToCp932(utf8);
  const size_t length = std::min<size_t>(cp932.size(), INT16_MAX);
  PutLittleEndian(out, static_cast<int16_t>(length));
  out.insert(out.end(), cp932.begin(), cp932.begin() + static_cast<std::ptrdiff_t>(length));
}

template <typename T>
void PutTable(std::vector<uint8_t>& out, const std::vector<T>& table, size_t count, T pad) {
  for (size_t i = 0; i < count; ++i) PutLittleEndian(out, i < table.size() ? table[i] : pad);
}

}  // namespace

void InitPartRecord(PartRecord& part, int index, int bars) {
  const int16_t b = static_cast<int16_t>(std::clamp(bars, 0, int{INT16_MAX}));
  part = PartRecord{};
  part.Name = index < 8 ? "PART" + ZeroPadNumber(index + 1, 2) : "BGM" + ZeroPadNumber(index - 7, 2);
  part.Kind = static_cast<int16_t>(index);
  part.PartLevel = 1;
  part.ChipTotal = 0;
  part.IconIndex = static_cast<int16_t>(index & 3);
  part.FlagWord = ((index & 3) == 3 || index >= 8) ? 1 : 0;
  part.PlayType = 0;
  part.Bars = b;
  part.SoundCount = 0;
  part.SoundFiles.assign(1, std::string());
  part.SoundPan.assign(1, 0);
  part.SoundVolume.assign(1, 0);
  const size_t steps = static_cast<size_t>(b) * kStepsPerBar;
  part.StepWords.assign(steps, 0);
  part.ChipTicks.assign(steps * kSlotsPerStep, 0);
  part.ChipSounds.assign(steps * kSlotsPerStep, -1);
  part.ChipWordsC.assign(steps * kSlotsPerStep, 0);
  part.ChipWordsB.assign(steps * kSlotsPerStep, 0);
}

bool LoadPartFile(PartRecord& part, std::string_view path) {
  const auto bytes = ReadPackedFile(ReplaceExtension(path, ".zxp"));
  return bytes && LoadPartBytes(part, *bytes);
}

bool LoadPartBytes(PartRecord& part, std::span<const uint8_t> plainBytes) {
  ByteCursor cursor(plainBytes);
  std::span<const uint8_t> signature;
  if (!cursor.TakeBytes(kSignature.size(), signature) || !SignatureMatches(signature)) {
    return false;
  }
  // Fill a copy so a damaged file leaves the caller's part as it was.
  PartRecord loaded = part;
  if (!TakeText(cursor, loaded.Name)) return false;
  for (int16_t* field : {&loaded.Kind, &loaded.ChipTotal, &loaded.IconIndex, &loaded.PartLevel,
                         &loaded.Bars, &loaded.FlagWord, &loaded.PlayType, &loaded.SoundCount}) {
    if (!cursor.Take(*field)) return false;
  }
  if (loaded.SoundCount < 0 || loaded.Bars < 0) return false;

  const auto sounds = static_cast<size_t>(loaded.SoundCount);
  if (sounds > 0) {
    // Each sound needs at least its length word, pan and volume: refuse a count the file
    // cannot hold before sizing anything by it.
    if (sounds * (2 + 4 + 4) > cursor.Remaining()) return false;
    loaded.SoundFiles.assign(sounds, std::string());
    for (auto& file : loaded.SoundFiles) {
      if (!TakeText(cursor, file)) return false;
    }
    if (sounds * (4 + 4) > cursor.Remaining()) return false;
    TakeTable(cursor, loaded.SoundPan, sounds);
    TakeTable(cursor, loaded.SoundVolume, sounds);
  }

  const auto bars = static_cast<size_t>(loaded.Bars);
  if (bars * kTableBytesPerBar > cursor.Remaining()) return false;
  const size_t steps = bars * kStepsPerBar;
  const size_t slots = steps * kSlotsPerStep;
  TakeTable(cursor, loaded.StepWords, steps);
  TakeTable(cursor, loaded.ChipSounds, slots);
  TakeTable(cursor, loaded.ChipWordsB, slots);
  TakeTable(cursor, loaded.ChipWordsC, slots);
  TakeTable(cursor, loaded.ChipTicks, slots);
  part = std::move(loaded);
  return true;
}

std::vector<uint8_t> EncodePartFile(const PartRecord& part) {
  std::vector<uint8_t> out(kSignature.begin(), kSignature.end());
  PutText(out, part.Name);
  const int16_t bars = std::max<int16_t>(part.Bars, 0);
  const int16_t sounds = std::max<int16_t>(part.SoundCount, 0);
  for (int16_t value : {part.Kind, part.ChipTotal, part.IconIndex, part.PartLevel, bars,
                        part.FlagWord, part.PlayType, sounds}) {
    PutLittleEndian(out, value);
  }
  const auto n = static_cast<size_t>(sounds);
  if (n > 0) {
    for (size_t i = 0; i < n; ++i) PutText(out, i < part.SoundFiles.size() ? part.SoundFiles[i] : "");
    PutTable(out, part.SoundPan, n, int32_t{0});
    PutTable(out, part.SoundVolume, n, int32_t{0});
  }
  const size_t steps = static_cast<size_t>(bars) * kStepsPerBar;
  const size_t slots = steps * kSlotsPerStep;
  PutTable(out, part.StepWords, steps, int16_t{0});
  PutTable(out, part.ChipSounds, slots, int16_t{-1});
  PutTable(out, part.ChipWordsB, slots, int16_t{0});
  PutTable(out, part.ChipWordsC, slots, int16_t{0});
  PutTable(out, part.ChipTicks, slots, int32_t{0});
  return out;
}

int CountChipSteps(const PartRecord& part) {
  return static_cast<int>(std::count_if(part.StepWords.begin(), part.StepWords.end(),
                                        [](int16_t word) { return word != 0; }));
}

}  // namespace tessaru
