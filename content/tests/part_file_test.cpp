#include "content/part_file.h"

#include <gtest/gtest.h>

#include "content/byte_cursor.h"
#include "content/tests/content_files.h"

namespace tessaru {
namespace {

TEST(InitPartRecord, DefaultsPerIndex) {
  struct Case {
    int index;
    const char* name;
    int16_t icon;
    int16_t flag;
  };
  for (const Case c : {Case{0, "PART01", 0, 0}, Case{3, "PART04", 3, 1}, Case{6, "PART07", 2, 0},
                       Case{7, "PART08", 3, 1}, Case{8, "BGM01", 0, 1}, Case{9, "BGM02", 1, 1},
                       Case{10, "BGM03", 2, 1}}) {
    PartRecord part;
    part.SoundCount = 5;
    InitPartRecord(part, c.index, 100);
    EXPECT_EQ(part.Name, c.name);
    EXPECT_EQ(part.Kind, c.index);
    EXPECT_EQ(part.IconIndex, c.icon) << c.name;
    EXPECT_EQ(part.FlagWord, c.flag) << c.name;
    EXPECT_EQ(part.PartLevel, 1);
    EXPECT_EQ(part.SoundCount, 0);
    EXPECT_EQ(part.SoundFiles, std::vector<std::string>{""});
    EXPECT_EQ(part.SoundPan, std::vector<int32_t>{0});
    EXPECT_EQ(part.SoundVolume, std::vector<int32_t>{0});
    EXPECT_EQ(part.StepWords.size(), 1600u);
    ASSERT_EQ(part.ChipSounds.size(), 6400u);
    EXPECT_EQ(part.ChipTicks.size(), 6400u);
    EXPECT_EQ(part.ChipWordsB.size(), 6400u);
    EXPECT_EQ(part.ChipWordsC.size(), 6400u);
    EXPECT_EQ(std::count(part.ChipSounds.begin(), part.ChipSounds.end(), -1), 6400);
  }
  PartRecord empty;
  InitPartRecord(empty, 0, 0);
  EXPECT_TRUE(empty.StepWords.empty());
  EXPECT_TRUE(empty.ChipSounds.empty());
}

PartRecord SamplePart(int16_t bars, int16_t sounds) {
  PartRecord part;
  InitPartRecord(part, 2, bars);
  part.Name = "ベース";
  part.Kind = 2;
  part.ChipTotal = 300;
  part.IconIndex = 1;
  part.PartLevel = 7;
  part.FlagWord = -1;
  part.PlayType = 4;
  part.SoundCount = sounds;
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
    const PartRecord part = SamplePart(bars, sounds);
    PartRecord loaded;
    InitPartRecord(loaded, 0, 5);
    const auto bytes = EncodePartFile(part);
    ASSERT_TRUE(LoadPartBytes(loaded, bytes)) << bars << "/" << sounds;
    if (sounds == 0) {
      // No sound table in the file: the record keeps the one it had.
      EXPECT_EQ(loaded.SoundFiles, std::vector<std::string>{""});
      loaded.SoundFiles = part.SoundFiles;
      loaded.SoundPan = part.SoundPan;
      loaded.SoundVolume = part.SoundVolume;
    }
    EXPECT_EQ(loaded.Name, part.Name);
    EXPECT_EQ(loaded.Kind, part.Kind);
    EXPECT_EQ(loaded.ChipTotal, part.ChipTotal);
    EXPECT_EQ(loaded.IconIndex, part.IconIndex);
    EXPECT_EQ(loaded.PartLevel, part.PartLevel);
    EXPECT_EQ(loaded.Bars, part.Bars);
    EXPECT_EQ(loaded.FlagWord, part.FlagWord);
    EXPECT_EQ(loaded.PlayType, part.PlayType);
    EXPECT_EQ(loaded.SoundCount, part.SoundCount);
    EXPECT_EQ(loaded.SoundFiles, part.SoundFiles);
    EXPECT_EQ(loaded.SoundPan, part.SoundPan);
    EXPECT_EQ(loaded.SoundVolume, part.SoundVolume);
    EXPECT_EQ(loaded.StepWords, part.StepWords);
    EXPECT_EQ(loaded.ChipSounds, part.ChipSounds);
    EXPECT_EQ(loaded.ChipWordsB, part.ChipWordsB);
    EXPECT_EQ(loaded.ChipWordsC, part.ChipWordsC);
    EXPECT_EQ(loaded.ChipTicks, part.ChipTicks);
  }
}

TEST(PartFile, LayoutOffsets) {
  PartRecord part = SamplePart(1, 0);
  part.Name = "ab";  // L = 2
  const auto bytes = EncodePartFile(part);
  // Header order differs from the record: Kind, ChipTotal, IconIndex, PartLevel, Bars, ...
  ASSERT_EQ(bytes.size(), 24u + 2 + 672);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "<KWP4>");
  EXPECT_EQ(bytes[6], 2);
  EXPECT_EQ(bytes[10], 2);    // Kind
  EXPECT_EQ(bytes[12], 44);   // ChipTotal 300 = 0x012C
  EXPECT_EQ(bytes[13], 1);
  EXPECT_EQ(bytes[14], 1);    // IconIndex
  EXPECT_EQ(bytes[16], 7);    // PartLevel
  EXPECT_EQ(bytes[18], 1);    // Bars
  EXPECT_EQ(bytes[20], 0xFF); // FlagWord -1
  EXPECT_EQ(bytes[22], 4);    // PlayType
  EXPECT_EQ(bytes[24], 0);    // SoundCount
  // With no sounds the step words start right after the header, at 24 + L.
  EXPECT_EQ(bytes[26 + 2], 1);  // StepWords[1]
  // Slot tables in file order: sounds, words B, words C, ticks.
  const size_t sounds = 26 + 32;
  EXPECT_EQ(bytes[sounds + 2], 0xFF);  // ChipSounds[1] = -1
  const size_t wordsB = sounds + 128;
  EXPECT_EQ(bytes[wordsB + 2 * 5], 1);  // ChipWordsB[5] = step 1
  const size_t wordsC = wordsB + 128;
  EXPECT_EQ(bytes[wordsC + 2 * 6], 0xFF);  // ChipWordsC[6] = -1
  const size_t ticks = wordsC + 128;
  EXPECT_EQ(bytes[ticks + 4 * 7], 0xE8);  // ChipTicks[7] = 1000
}

// Plain part bytes built field by field, for damaged files.
std::vector<uint8_t> Header(const char* signature, int16_t nameLength, int16_t bars,
                            int16_t sounds) {
  std::vector<uint8_t> out(signature, signature + 6);
  PutLittleEndian(out, nameLength);
  for (int i = 0; i < std::max<int16_t>(nameLength, 0); ++i) out.push_back('n');
  for (int16_t v : {int16_t{0}, int16_t{0}, int16_t{0}, int16_t{1}, bars, int16_t{0},
                    int16_t{0}, sounds}) {
    PutLittleEndian(out, v);
  }
  return out;
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
  std::vector<uint8_t> soundNameTooLong = Header("<KWP4>", 1, 0, 1);
  PutLittleEndian(soundNameTooLong, int16_t{200});
  soundNameTooLong.resize(soundNameTooLong.size() + 20);
  std::vector<uint8_t> negativeSoundName = Header("<KWP4>", 1, 0, 1);
  PutLittleEndian(negativeSoundName, int16_t{-1});
  negativeSoundName.resize(negativeSoundName.size() + 20);

  std::vector<uint8_t> cutHeader = Header("<KWP4>", 0, 0, 0);
  cutHeader.pop_back();
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool ok;
  };
  const std::vector<Case> cases{
      {"lower-case signature", withTables(Header("<kwp4>", 2, 1, 0), 1), true},
      {"mixed-case signature", withTables(Header("<Kwp4>", 0, 0, 0), 0), true},
      {"trailing bytes ignored", withTables(Header("<KWP4>", 0, 1, 0), 1, -5), true},
      {"one sound", withTables(oneSound, 1), true},
      {"wrong signature", withTables(Header("<KWP3>", 0, 0, 0), 0), false},
      {"empty file", {}, false},
      {"signature only", {'<', 'K', 'W', 'P', '4', '>'}, false},
      {"header cut short", cutHeader, false},
      {"negative name length", Header("<KWP4>", -1, 0, 0), false},
      {"name beyond the file", hugeName, false},
      {"negative bars", withTables(Header("<KWP4>", 0, -1, 0), 0), false},
      {"negative sound count", withTables(Header("<KWP4>", 0, 0, -2), 0), false},
      {"huge sound count", withTables(Header("<KWP4>", 0, 0, 32767), 0), false},
      {"huge bar count", withTables(Header("<KWP4>", 0, 32767, 0), 1), false},
      {"tables one byte short", withTables(Header("<KWP4>", 0, 2, 0), 2, 1), false},
      {"sound name beyond the file", soundNameTooLong, false},
      {"negative sound name length", negativeSoundName, false},
      {"sound volumes missing", std::vector<uint8_t>(oneSound.begin(), oneSound.end() - 4), false},
  };
  for (const auto& c : cases) {
    PartRecord part;
    InitPartRecord(part, 4, 3);
    const PartRecord before = part;
    EXPECT_EQ(LoadPartBytes(part, c.bytes), c.ok) << c.name;
    if (!c.ok) {
      EXPECT_EQ(part.Name, before.Name) << "a failed load leaves the part as it was: " << c.name;
      EXPECT_EQ(part.StepWords.size(), before.StepWords.size()) << c.name;
    }
  }
  PartRecord part;
  ASSERT_TRUE(LoadPartBytes(part, withTables(oneSound, 1)));
  EXPECT_EQ(part.SoundFiles, std::vector<std::string>{"abc"});
  EXPECT_EQ(part.SoundPan, std::vector<int32_t>{5});
  EXPECT_EQ(part.SoundVolume, std::vector<int32_t>{-6});
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
  const auto plain = EncodePartFile(part);
  ASSERT_TRUE(WriteWholeFileAtomic(Path("plain.zxp"),
                                   std::string_view(reinterpret_cast<const char*>(plain.data()), plain.size())));
  EXPECT_FALSE(LoadPartFile(loaded, Path("plain.z4p")));
}

}  // namespace
}  // namespace tessaru
