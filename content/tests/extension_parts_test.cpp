#include "content/extension_parts.h"

#include <gtest/gtest.h>

#include "content/part_file.h"
#include "content/song_file.h"
#include "content/tests/content_files.h"

namespace tessaru {
namespace {

class ExtensionParts : public ContentFiles {
 protected:
  void SetUp() override {
    ContentFiles::SetUp();
    MakeFolder("song");
    InitSongRecord(song_, parts_);
    song_.PartCount = 8;
    song_.PartLinks = {4, 5, 2, 7, 0, 5, 0, 0, 0, 0};
    parts_.resize(8);
    song_.PartFiles.resize(8);
    for (const char* name : {"ea", "eb", "ec"}) {
      PartRecord part;
      InitPartRecord(part, 0, 6);
      part.Name = name;
      ASSERT_TRUE(WritePackedFile(Path(std::string("song\\") + name + ".zxp"), EncodePartFile(part)));
    }
  }
  void Load() { LoadExtensionParts(song_, parts_, Path("song\\s.z4s")); }
  SongRecord song_;
  std::vector<PartRecord> parts_;
};

TEST_F(ExtensionParts, TwoPartsTakeOverTheirLinks) {
  WriteText("song\\extreme.zxt", {S("ea.z4p"), S("eb.z4p"), I(2), I(5)});
  Load();
  EXPECT_EQ(song_.PartCount, 10);
  ASSERT_EQ(parts_.size(), 10u);
  EXPECT_EQ(parts_[8].Name, "ea");
  EXPECT_EQ(parts_[9].Name, "eb");
  EXPECT_EQ(parts_[8].Kind, 8);
  EXPECT_EQ(parts_[9].Kind, 8);
  EXPECT_EQ(song_.PartFiles[8], Path("song\\ea.z4p"));
  // Links to 2 now go to 8, links to 5 to 9; the new parts link nowhere.
  EXPECT_EQ(song_.PartLinks, (std::vector<int16_t>{4, 9, 8, 7, 0, 9, 0, 0, 0, 0}));
}

TEST_F(ExtensionParts, ThirdPartAfterTheExtendTag) {
  WriteText("song\\extreme.zxt", {S("ea.z4p"), S("eb.z4p"), I(2), I(5), S("<extend>"),
                                  S("ec.z4p"), I(8)});
  Load();
  EXPECT_EQ(song_.PartCount, 11);
  ASSERT_EQ(parts_.size(), 11u);
  EXPECT_EQ(parts_[10].Name, "ec");
  EXPECT_EQ(parts_[10].Kind, 8);
  EXPECT_EQ(song_.PartLinks, (std::vector<int16_t>{4, 9, 10, 7, 0, 9, 0, 0, 10, 0, 0}));
}

TEST_F(ExtensionParts, DamagedOrMissingLists) {
  struct Case {
    const char* name;
    std::vector<TextValue> values;
    int16_t partCount;
    std::vector<int16_t> links;
  };
  const std::vector<Case> cases{
      {"cut short", {S("ea.z4p"), S("eb.z4p"), I(2)}, 8, {4, 5, 2, 7, 0, 5, 0, 0, 0, 0}},
      {"index outside the parts", {S("ea.z4p"), S("eb.z4p"), I(40), I(-3)}, 10,
       {4, 5, 2, 7, 0, 5, 0, 0, 0, 0}},
      {"other tag than extend", {S("ea.z4p"), S("eb.z4p"), I(2), I(5), S("<EXTEND>"), S("ec.z4p"), I(1)},
       10, {4, 9, 8, 7, 0, 9, 0, 0, 0, 0}},
      {"extend cut short", {S("ea.z4p"), S("eb.z4p"), I(2), I(5), S("<extend>"), S("ec.z4p")}, 10,
       {4, 9, 8, 7, 0, 9, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SetUp();
    WriteText("song\\extreme.zxt", c.values);
    Load();
    EXPECT_EQ(song_.PartCount, c.partCount) << c.name;
    EXPECT_EQ(song_.PartLinks, c.links) << c.name;
  }
  SetUp();
  Load();
  EXPECT_EQ(song_.PartCount, 8) << "no list";
}

TEST_F(ExtensionParts, UnreadablePartBecomesAnEmptyPartOfTheSongsLength) {
  WriteText("song\\extreme.zxt", {S("ea.z4p"), S("missing.z4p"), I(2), I(5)});
  song_.Bars = 33;
  Load();
  ASSERT_EQ(parts_.size(), 10u);
  EXPECT_EQ(parts_[9].Kind, 8);
  EXPECT_EQ(parts_[9].StepWords.size(), 33u * 16);
  EXPECT_EQ(parts_[9].ChipSounds.size(), 33u * 64);
}

}  // namespace
}  // namespace tessaru
