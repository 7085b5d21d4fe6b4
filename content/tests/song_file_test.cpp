#include "content/song_file.h"

#include <gtest/gtest.h>

#include <tuple>

#include "content/part_file.h"
#include "content/tests/content_files.h"

namespace tessaru {
namespace {

class SongFiles : public ContentFiles {
 protected:
  bool Load(const std::string& relative, bool headerOnly) {
    song_ = SongRecord{};
    return LoadSongFile(song_, parts_, Path(relative), headerOnly);
  }
  SongRecord song_;
  std::vector<PartRecord> parts_;
};

auto Header(const SongRecord& s) {
  return std::tie(s.Title, s.Artist, s.Genre, s.Level, s.Bpm, s.Bars, s.IntroBars, s.Bgm, s.BgmOffset, s.Anime,
                  s.TempoCount, s.TempoTicks, s.TempoBpms);
}

TEST_F(SongFiles, TempoMap) {
  struct Case {
    const char* name;
    std::vector<TextValue> tags;
    std::vector<int32_t> ticks;
    std::vector<double> bpms;
  };
  const std::vector<Case> cases{
      {"no tempo map", {S("<BPM>"), D(150.5)}, {0}, {150.5}},
      {"one entry takes the song tempo", {S("<BPM>"), D(120), S("<EXBPM>"), I(1), L(960), D(150)}, {960}, {120.0}},
      {"tempo read after the map still applies", {S("<EXBPM>"), I(1), L(0), D(99), S("<BPM>"), D(180)}, {0}, {180.0}},
      {"two entries kept", {S("<BPM>"), D(120), S("<EXBPM>"), I(2), L(0), D(130), L(1920), D(90.25)}, {0, 1920},
       {130.0, 90.25}},
      {"repeated tag overwrites", {S("<EXBPM>"), I(2), L(0), D(1), L(5), D(2), S("<EXBPM>"), I(1), L(7), D(3)}, {7},
       {120.0}},
  };
  for (const auto& c : cases) {
    WriteText("s.zxs", Join({{S("<KWSONGFILE5.1>")}, c.tags, {S("<EOF>")}}));
    ASSERT_TRUE(Load("s.z4s", true)) << c.name;
    EXPECT_EQ(std::tie(song_.TempoCount, song_.TempoTicks, song_.TempoBpms),
              std::make_tuple(static_cast<int16_t>(c.ticks.size()), c.ticks, c.bpms)) << c.name;
  }
}

TEST_F(SongFiles, EveryTagIsStoredAndEncodesBackInBothVersions) {
  WriteText("s.zxs", {S("<KWSONGFILE5.1>"), S("<TITLE>"), S("夜の歌"), S("<ARTIST>"), S("A, B"), S("<GENRE>"),
                      S("POP"), S("<LEVEL>"), I(7), S("<BPM>"), D(133.5), S("<BARS>"), I(64), S("<INTROBARS>"), I(2),
                      S("<BGM>"), S("bgm.wav"), S("<BGMOFFSET>"), L(-120), S("<ANIME>"), S("a.z4b"), S("<EXBPM>"), I(2),
                      L(0), D(133.5), L(3840), D(66.75), S("<PART>"), I(2), S("p0.z4p"), I(1), S("p1.z4p"), I(0),
                      S("<EOF>")});
  ASSERT_TRUE(Load("s.z4s", true));
  EXPECT_EQ(Header(song_), std::make_tuple("夜の歌", "A, B", "POP", 7, 133.5, 64, 2, "bgm.wav", -120, "a.z4b", 2,
                                           std::vector<int32_t>{0, 3840}, std::vector<double>{133.5, 66.75}));
  EXPECT_EQ(song_.PartCount, 2);
  EXPECT_EQ(song_.PartFiles, (std::vector<std::string>{"p0.z4p", "p1.z4p"}));
  EXPECT_EQ(song_.PartLinks, (std::vector<int16_t>{1, 0, 6, 7, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(parts_.size(), 2u) << "header-only loads still size the part array";

  const SongRecord song = song_;
  for (const auto version : {SongFileVersion::Current, SongFileVersion::First}) {
    WriteText("r.zxs", EncodeSongFile(song, version));
    ASSERT_TRUE(Load("r.z4s", true));
    EXPECT_TRUE(Header(song_) == Header(song));
    EXPECT_EQ(song_.PartLinks, song.PartLinks);
    if (version == SongFileVersion::Current) {
      EXPECT_EQ(std::tie(song_.PartCount, song_.PartFiles), std::tie(song.PartCount, song.PartFiles));
    } else {  // the first version always lists ten parts, the last two named after the song
      EXPECT_EQ(song_.PartCount, 10);
      EXPECT_EQ(std::tie(song_.PartFiles[1], song_.PartFiles[2], song_.PartFiles[9]),
                std::make_tuple("p1.z4p", "", "r09.z4p"));
    }
  }
}

TEST_F(SongFiles, RefusedFiles) {
  std::vector<TextValue> elevenParts;
  for (int i = 0; i < 11; ++i) elevenParts.insert(elevenParts.end(), {S("p.z4p"), I(0)});
  elevenParts.push_back(S("<EOF>"));
  const std::vector<std::pair<const char*, std::vector<TextValue>>> cases{
      {"unknown header", {S("<KWSONGFILE6>"), S("<EOF>")}},
      {"header in lower case", {S("<kwsongfile5.1>"), S("<EOF>")}},
      {"unknown tag", {S("<KWSONGFILE5.1>"), S("<TEMPO>"), I(1), S("<EOF>")}},
      {"tag in lower case", {S("<KWSONGFILE5.1>"), S("<title>"), S("x"), S("<EOF>")}},
      {"no end tag", {S("<KWSONGFILE5.1>"), S("<TITLE>"), S("x")}},
      {"value missing", {S("<KWSONGFILE5.1>"), S("<LEVEL>")}},
      {"text where a number belongs", {S("<KWSONGFILE5.1>"), S("<LEVEL>"), S("hard"), S("<EOF>")}},
      {"level too big for 16 bits", {S("<KWSONGFILE5.1>"), S("<LEVEL>"), L(40000), S("<EOF>")}},
      {"empty tempo map", {S("<KWSONGFILE5.1>"), S("<EXBPM>"), I(0), S("<EOF>")}},
      {"negative tempo count", {S("<KWSONGFILE5.1>"), S("<EXBPM>"), I(-1), S("<EOF>")}},
      {"tempo map cut short", {S("<KWSONGFILE5.1>"), S("<EXBPM>"), I(3), L(0), D(1), S("<EOF>")}},
      {"huge tempo count", {S("<KWSONGFILE5.1>"), S("<EXBPM>"), I(32767), S("<EOF>")}},
      {"eleven parts", Join({{S("<KWSONGFILE5.1>"), S("<PART>"), I(11)}, elevenParts})},
      {"negative part count", {S("<KWSONGFILE5.1>"), S("<PART>"), I(-1), S("<EOF>")}},
      {"first version, eleven parts", Join({{S("<KWSONGFILE>"), S("<PART>"), I(11)}, elevenParts})},
      {"empty file", {}},
  };
  for (const auto& [name, values] : cases) {
    WriteText("s.zxs", values);
    EXPECT_FALSE(Load("s.z4s", true)) << name;
  }
  EXPECT_FALSE(Load("missing.z4s", true));
}

TEST_F(SongFiles, OnlyHeaderAndEndGivesTheDefaultsAndTenParts) {
  WriteText("s.zxs", {S("<KWSONGFILE5.1>"), S("<EOF>")});
  ASSERT_TRUE(Load("s.z4s", true));
  EXPECT_TRUE(Header(song_) == Header(SongRecord{}));
  EXPECT_EQ(std::tie(song_.PartCount, song_.PartFiles[5]), std::make_tuple(10, "part05.z4p"));
  EXPECT_EQ(song_.PartLinks, (std::vector<int16_t>{4, 5, 6, 7, 0, 0, 0, 0, 0, 0}));
  ASSERT_EQ(parts_.size(), 10u);
  EXPECT_EQ(parts_[9].Name, "BGM02");
  // A full load needs part00 .. part09.
  EXPECT_FALSE(Load("s.z4s", false));
  for (int i = 0; i < 10; ++i) WritePart("part0" + std::to_string(i) + ".zxp", i, 4, "P" + std::to_string(i));
  ASSERT_TRUE(Load("s.z4s", false));
  EXPECT_EQ(std::tie(parts_[9].Name, parts_[9].Bars), std::make_tuple("P9", 4));
}

TEST_F(SongFiles, PartsAreFoundBesideTheSongWhateverTheListedExtension) {
  MakeFolder("songs\\x\\sub");
  WriteText("songs\\x\\x.zxs",
            {S("<KWSONGFILE5.1>"), S("<PART>"), I(2), S("p1.z4p"), I(1), S("sub\\p2.z4p"), I(0), S("<EOF>")});
  EXPECT_FALSE(Load("songs\\x\\x.z4s", false));
  WritePart("songs\\x\\p1.zxp", 0, 2, "one");
  EXPECT_FALSE(Load("songs\\x\\x.z4s", false)) << "second part missing";
  EXPECT_EQ(parts_[0].Name, "one") << "the record keeps what was read";
  WritePart("songs\\x\\sub\\p2.zxp", 0, 2, "two");
  ASSERT_TRUE(Load("songs\\x\\x.z4s", false));
  ASSERT_EQ(parts_.size(), 2u);
  EXPECT_EQ(parts_[1].Name, "two");
  // A part count of 0 reads no part files and succeeds.
  WriteText("songs\\x\\none.zxs", {S("<KWSONGFILE5.1>"), S("<PART>"), I(0), S("<EOF>")});
  ASSERT_TRUE(Load("songs\\x\\none.z4s", false));
  EXPECT_EQ(song_.PartCount, 0);
}

TEST_F(SongFiles, FirstVersionAddsTwoBackgroundParts) {
  std::vector<TextValue> values{S("<KWSONGFILE>"), S("<PART>"), I(8)};
  const int16_t links[8] = {4, 5, 6, 7, 0, 0, 0, 3};
  for (int i = 0; i < 8; ++i) {
    values.insert(values.end(), {TextValue("a" + std::to_string(i) + ".z4p"), I(links[i])});
    WritePart("a" + std::to_string(i) + ".zxp", i, 12 + i);
  }
  values.push_back(S("<EOF>"));
  WriteText("abc.zxs", values);
  ASSERT_TRUE(Load("abc.z4s", true));
  EXPECT_EQ(song_.PartCount, 10);
  EXPECT_EQ(std::tie(song_.PartFiles[8], song_.PartFiles[9]), std::make_tuple("abc08.z4p", "abc09.z4p"));
  EXPECT_EQ(song_.PartLinks, (std::vector<int16_t>{4, 5, 6, 7, 0, 0, 0, 3, 0, 0}));
  ASSERT_TRUE(Load("abc.z4s", false));
  ASSERT_EQ(parts_.size(), 10u);
  EXPECT_EQ(parts_[7].Bars, 19);
  // The two added parts are empty background parts.
  EXPECT_EQ(std::tie(parts_[8].Name, parts_[8].Bars, parts_[9].Name), std::make_tuple("BGM01", 12, "BGM02"));
  EXPECT_EQ(parts_[9].StepWords.size(), 12u * 16);
}

}  // namespace
}  // namespace tessaru
