#include "content/part_file.h"

#include <gtest/gtest.h>

#include <tuple>

#include "content/byte_cursor.h"
#include "content/tests/content_files.h"

namespace tessaru {
namespace {

auto Fields(const PartRecord& p) {
  return std::tie(p.Name, p.Kind, p.ChipTotal, p.IconIndex, p.PartLevel, p.Bars, p.FlagWord, p.PlayType,
                  p.SoundCount, p.SoundFiles, p.SoundPan, p.SoundVolume, p.StepWords, p.ChipSounds,
                  p.ChipWordsB, p.ChipWordsC, p.ChipTicks);
}

TEST(InitPartRecord, DefaultsPerIndex) {
  struct Case { int index; const char* name; int16_t icon, flag; };
  for (const Case c : {Case{0, "PART01", 0, 0}, Case{3, "PART04", 3, 1}, Case{6, "PART07", 2, 0},
                       Case{7, "PART08", 3, 1}, Case{8, "BGM01", 0, 1}, Case{9, "BGM02", 1, 1},
                       Case{10, "BGM03", 2, 1}}) {
    PartRecord part;
    part.SoundCount = 5;
    InitPartRecord(part, c.index, 100);
    EXPECT_EQ(std::tie(part.Name, part.IconIndex, part.FlagWord), std::tie(c.name, c.icon, c.flag));
    EXPECT_EQ(std::tie(part.Kind, part.PartLevel, part.SoundCount), std::make_tuple(c.index, 1, 0)) << c.name;
    EXPECT_EQ(std::tie(part.SoundFiles, part.SoundPan, part.SoundVolume),
              std::make_tuple(std::vector<std::string>{""}, std::vector<int32_t>{0}, std::vector<int32_t>{0}));
    EXPECT_EQ(part.StepWords.size(), 1600u);
    for (size_t size : {part.ChipTicks.size(), part.ChipWordsB.size(), part.ChipWordsC.size()}) EXPECT_EQ(size, 6400u);
    EXPECT_EQ(std::count(part.ChipSounds.begin(), part.ChipSounds.end(), -1), 6400);
  }
  PartRecord empty;
  InitPartRecord(empty, 0, 0);
  EXPECT_TRUE(empty.StepWords.empty() && empty.ChipSounds.empty());
}

PartRecord SamplePart(int16_t bars, int16_t sounds) {
  PartRecord part;
  InitPartRecord(part, 2, bars);
  std::tie(part.Name, part.Kind, part.ChipTotal, part.IconIndex, part.PartLevel, part.FlagWord, part.PlayType,
           part.SoundCount) = std::make_tuple("ベース", 2, 300, 1, 7, -1, 4, sounds);
  part.SoundFiles.clear();
  part.SoundPan.clear();
  part.SoundVolume.clear();
  for (int i = 0; i < sounds; ++i) {
    part.SoundFiles.push_back("snd" + std::to_string(i) + ".wav");
    part.SoundPan.push_back(-10000 + i);
    part.SoundVolume.push_back(-i * 100);
  }
  for (size_t s = 0; s < part.StepWords.size(); ++s) {
    part.StepWords[s] = static_cast<int16_t>(s % 5);
    part.ChipSounds[4 * s] = static_cast<int16_t>(s % 3);
    part.ChipWordsB[4 * s + 1] = static_cast<int16_t>(s);
    part.ChipWordsC[4 * s + 2] = static_cast<int16_t>(-static_cast<int>(s));
    part.ChipTicks[4 * s + 3] = static_cast<int32_t>(s * 1000);
  }
  return part;
}

TEST(PartFile, EncodeThenLoadGivesTheRecord) {
  for (const auto& [bars, sounds] : {std::pair<int16_t, int16_t>{2, 3}, {1, 0}, {0, 2}, {0, 0}}) {
    PartRecord part = SamplePart(bars, sounds);
    PartRecord loaded;
    InitPartRecord(loaded, 0, 5);
    ASSERT_TRUE(LoadPartBytes(loaded, EncodePartFile(part))) << bars << "/" << sounds;
    if (sounds == 0) {  // no sound table in the file: the record keeps the one it had
      part.SoundFiles = {""};
      part.SoundPan = part.SoundVolume = {0};
    }
    EXPECT_TRUE(Fields(loaded) == Fields(part)) << bars << "/" << sounds;
  }
}

TEST(PartFile, LayoutOffsets) {
  PartRecord part = SamplePart(1, 0);
  part.Name = "ab";  // L = 2
  const auto bytes = EncodePartFile(part);
  ASSERT_EQ(bytes.size(), 24u + 2 + 672);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "<KWP4>");
  // Header order differs from the record: Kind, ChipTotal (300 = 0x012C), IconIndex, PartLevel,
  // Bars, FlagWord (-1), PlayType, SoundCount; the step words follow at 24 + L with no sounds.
  const size_t sounds = 26 + 32, wordsB = sounds + 128, wordsC = wordsB + 128, ticks = wordsC + 128;
  const std::vector<std::pair<size_t, int>> at{
      {6, 2},  {10, 2}, {12, 44}, {13, 1}, {14, 1}, {16, 7}, {18, 1}, {20, 0xFF}, {22, 4}, {24, 0},
      {28, 1},                 // StepWords[1]
      {sounds + 2, 0xFF},      // ChipSounds[1] = -1
      {wordsB + 2 * 5, 1},     // ChipWordsB[5] = step 1
      {wordsC + 2 * 6, 0xFF},  // ChipWordsC[6] = -1
      {ticks + 4 * 7, 0xE8},   // ChipTicks[7] = 1000
  };
  for (const auto& [offset, value] : at) EXPECT_EQ(bytes[offset], value) << "byte " << offset;
}

// Plain part bytes built field by field, for damaged files.
std::vector<uint8_t> Header(const char* signature, int16_t nameLength, int16_t bars, int16_t sounds) {
  std::vector<uint8_t> out(signature, signature + 6);
  PutLittleEndian(out, nameLength);
  out.insert(out.end(), static_cast<size_t>(std::max<int16_t>(nameLength, 0)), 'n');
  for (int16_t v : {int16_t{0}, int16_t{0}, int16_t{0}, int16_t{1}, bars, int16_t{0}, int16_t{0}, sounds}) {
    PutLittleEndian(out, v);
  }
  return out;
}

// Appends one sound entry with the given name length and a few bytes after it.
std::vector<uint8_t> WithSound(std::vector<uint8_t> bytes, int16_t nameLength) {
  PutLittleEndian(bytes, nameLength);
  bytes.resize(bytes.size() + 20);
  return bytes;
}

TEST(PartFile, AcceptsAndRefuses) {
  // Appends zeroed tables for `bars` bars, `cut` bytes short (negative: extra bytes).
  auto withTables = [](std::vector<uint8_t> bytes, int bars, int cut = 0) {
    bytes.resize(static_cast<size_t>(static_cast<int>(bytes.size()) + bars * 672 - cut), 0);
    return bytes;
  };
  std::vector<uint8_t> oneSound = Header("<KWP4>", 1, 1, 1);
  PutLittleEndian(oneSound, int16_t{3});
  oneSound.insert(oneSound.end(), {'a', 'b', 'c'});
  PutLittleEndian(oneSound, int32_t{5});
  PutLittleEndian(oneSound, int32_t{-6});
  std::vector<uint8_t> hugeName = Header("<KWP4>", 0, 0, 0);
  hugeName[6] = 0xFF;
  hugeName[7] = 0x7F;
  const std::vector<uint8_t> cutHeader = Header("<KWP4>", 0, 0, 0);
  struct Case { const char* name; std::vector<uint8_t> bytes; bool ok; };
  const std::vector<Case> cases{
      {"lower-case signature", withTables(Header("<kwp4>", 2, 1, 0), 1), true},
      {"mixed-case signature", withTables(Header("<Kwp4>", 0, 0, 0), 0), true},
      {"trailing bytes ignored", withTables(Header("<KWP4>", 0, 1, 0), 1, -5), true},
      {"one sound", withTables(oneSound, 1), true},
      {"wrong signature", withTables(Header("<KWP3>", 0, 0, 0), 0), false},
      {"empty file", {}, false},
      {"signature only", {'<', 'K', 'W', 'P', '4', '>'}, false},
      {"header cut short", std::vector<uint8_t>(cutHeader.begin(), cutHeader.end() - 1), false},
      {"negative name length", Header("<KWP4>", -1, 0, 0), false},
      {"name beyond the file", hugeName, false},
      {"negative bars", withTables(Header("<KWP4>", 0, -1, 0), 0), false},
      {"negative sound count", withTables(Header("<KWP4>", 0, 0, -2), 0), false},
      {"huge sound count", withTables(Header("<KWP4>", 0, 0, 32767), 0), false},
      {"huge bar count", withTables(Header("<KWP4>", 0, 32767, 0), 1), false},
      {"tables one byte short", withTables(Header("<KWP4>", 0, 2, 0), 2, 1), false},
      {"sound name beyond the file", WithSound(Header("<KWP4>", 1, 0, 1), 200), false},
      {"negative sound name length", WithSound(Header("<KWP4>", 1, 0, 1), -1), false},
      {"sound volumes missing", std::vector<uint8_t>(oneSound.begin(), oneSound.end() - 4), false},
  };
  for (const auto& c : cases) {
    PartRecord part;
    InitPartRecord(part, 4, 3);
    const PartRecord before = part;
    EXPECT_EQ(LoadPartBytes(part, c.bytes), c.ok) << c.name;
    if (!c.ok) { EXPECT_TRUE(Fields(part) == Fields(before)) << "a failed load leaves the part as it was: " << c.name; }
  }
  PartRecord part;
  ASSERT_TRUE(LoadPartBytes(part, withTables(oneSound, 1)));
  EXPECT_EQ(std::tie(part.SoundFiles, part.SoundPan, part.SoundVolume),
            std::make_tuple(std::vector<std::string>{"abc"}, std::vector<int32_t>{5}, std::vector<int32_t>{-6}));
  EXPECT_EQ(part.StepWords.size(), 16u);
}

using PartFiles = ContentFiles;

TEST_F(PartFiles, LoadsThePackedFileWhateverTheListedExtension) {
  const PartRecord part = SamplePart(1, 1);
  ASSERT_TRUE(WritePackedFile(Path("p1.zxp"), EncodePartFile(part)));
  PartRecord loaded;
  EXPECT_TRUE(LoadPartFile(loaded, Path("p1.z4p")));
  EXPECT_EQ(loaded.StepWords, part.StepWords);
  EXPECT_EQ(CountChipSteps(loaded), 12);  // steps 0..15, word s % 5 is non-zero 12 times
  EXPECT_FALSE(LoadPartFile(loaded, Path("missing.z4p")));
  // A part file left unscrambled has no readable signature.
  WriteBytes("plain.zxp", EncodePartFile(part));
  EXPECT_FALSE(LoadPartFile(loaded, Path("plain.z4p")));
}

}  // namespace
}  // namespace tessaru
