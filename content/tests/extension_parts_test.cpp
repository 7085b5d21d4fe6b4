#include "content/extension_parts.h"

#include <gtest/gtest.h>

#include "content/part_file.h"
#include "content/song_file.h"
#include "content/tests/content_files.h"

namespace tessaru {
namespace {

class ExtensionParts : public ContentFiles {
 protected:
  // An eight-part song with parts "ea", "eb" and "ec" beside it, and the given list (none: no list).
  void MakeSong(const std::optional<std::vector<TextValue>>& list) {
    SetUp();
    MakeFolder("song");
    InitSongRecord(song_, parts_);
    song_.PartCount = 8;
    song_.Bars = 33;
    song_.PartLinks = {4, 5, 2, 7, 0, 5, 0, 0, 0, 0};
    parts_.resize(8);
    song_.PartFiles.resize(8);
    for (const std::string name : {"ea", "eb", "ec"}) WritePart("song\\" + name + ".zxp", 0, 6, name);
    if (list) WriteText("song\\extreme.zxt", *list);
    LoadExtensionParts(song_, parts_, Path("song\\s.z4s"));
  }
  SongRecord song_;
  std::vector<PartRecord> parts_;
};

TEST_F(ExtensionParts, ListsTakeOverTheLinksOfThePartsTheyExtend) {
  const std::vector<TextValue> two{S("ea.z4p"), S("eb.z4p"), I(2), I(5)};
  const std::vector<int16_t> unchanged{4, 5, 2, 7, 0, 5, 0, 0, 0, 0};
  // Links to 2 now go to 8, links to 5 to 9; the new parts link nowhere.
  const std::vector<int16_t> twoLinks{4, 9, 8, 7, 0, 9, 0, 0, 0, 0};
  struct Case {
    const char* name;
    std::optional<std::vector<TextValue>> values;
    std::vector<int16_t> links;
    std::vector<std::string> added;
  };
  const std::vector<Case> cases{
      {"two parts", two, twoLinks, {"ea", "eb"}},
      {"a third part after the extend tag", Join({two, {S("<extend>"), S("ec.z4p"), I(8)}}),
       {4, 9, 10, 7, 0, 9, 0, 0, 10, 0, 0}, {"ea", "eb", "ec"}},
      {"no list", std::nullopt, unchanged, {}},
      {"cut short", std::vector<TextValue>{S("ea.z4p"), S("eb.z4p"), I(2)}, unchanged, {}},
      {"index outside the parts", std::vector<TextValue>{S("ea.z4p"), S("eb.z4p"), I(40), I(-3)}, unchanged,
       {"ea", "eb"}},
      {"index just outside the parts", std::vector<TextValue>{S("ea.z4p"), S("eb.z4p"), I(8), I(-1)}, unchanged,
       {"ea", "eb"}},
      {"other tag than extend", Join({two, {S("<EXTEND>"), S("ec.z4p"), I(1)}}), twoLinks, {"ea", "eb"}},
      {"extend cut short", Join({two, {S("<extend>"), S("ec.z4p")}}), twoLinks, {"ea", "eb"}},
  };
  for (const auto& c : cases) {
    MakeSong(c.values);
    EXPECT_EQ(song_.PartLinks, c.links) << c.name;
    EXPECT_EQ(song_.PartCount, static_cast<int16_t>(8 + c.added.size())) << c.name;
    ASSERT_EQ(parts_.size(), 8 + c.added.size()) << c.name;
    for (size_t i = 0; i < c.added.size(); ++i) {
      EXPECT_EQ(std::tie(parts_[8 + i].Name, parts_[8 + i].Kind), std::make_tuple(c.added[i], 8)) << c.name;
    }
  }
  MakeSong(two);
  EXPECT_EQ(song_.PartFiles[8], Path("song\\ea.z4p"));
  // An unreadable part becomes an empty part of the song's length.
  MakeSong(std::vector<TextValue>{S("ea.z4p"), S("missing.z4p"), I(2), I(5)});
  ASSERT_EQ(parts_.size(), 10u);
  EXPECT_EQ(parts_[9].Kind, 8);
  EXPECT_EQ(parts_[9].StepWords.size(), 33u * 16);
  EXPECT_EQ(parts_[9].ChipSounds.size(), 33u * 64);
}

}  // namespace
}  // namespace tessaru
