#include "content/song_file.h"

#include <gtest/gtest.h>

#include "content/part_file.h"
#include "content/tests/content_files.h"

namespace tessaru {
namespace {

using SongFiles = ContentFiles;

TEST_F(SongFiles, HeaderOnlyTagsAndTempoMap) {
  struct Case {
    const char* name;
    std::vector<TextValue> tags;
    std::vector<int32_t> ticks;
    std::vector<double> bpms;
  };
  const std::vector<Case> cases{
      {"no tempo map", {S("<BPM>"), D(150.5)}, {0}, {150.5}},
      {"one entry takes the song tempo", {S("<BPM>"), D(120), S("<EXBPM>"), I(1), L(960), D(150)},
       {960}, {120.0}},
      {"tempo read after the map still applies",
       {S("<EXBPM>"), I(1), L(0), D(99), S("<BPM>"), D(180)}, {0}, {180.0}},
      {"two entries kept", {S("<BPM>"), D(120), S("<EXBPM>"), I(2), L(0), D(130), L(1920), D(90.25)},
       {0, 1920}, {130.0, 90.25}},
      {"repeated tag overwrites", {S("<EXBPM>"), I(2), L(0), D(1), L(5), D(2), S("<EXBPM>"), I(1),
                                   L(7), D(3)}, {7}, {120.0}},
  };
  for (const auto& c : cases) {
    std::vector<TextValue> values{S("<KWSONGFILE5.1>")};
    values.insert(values.end(), c.tags.begin(), c.tags.end());
    values.push_back(S("<EOF>"));
    WriteText("s.zxs", values);
    SongRecord song;
    std::vector<PartRecord> parts;
    ASSERT_TRUE(LoadSongFile(song, parts, Path("s.z4s"), true)) << c.name;
    EXPECT_EQ(song.TempoCount, static_cast<int16_t>(c.ticks.size())) << c.name;
    EXPECT_EQ(song.TempoTicks, c.ticks) << c.name;
    EXPECT_EQ(song.TempoBpms, c.bpms) << c.name;
  }
}

TEST_F(SongFiles, EveryTagIsStored) {
  WriteText("s.zxs", {S("<KWSONGFILE5.1>"), S("<TITLE>"), S("夜の歌"), S("<ARTIST>"), S("A, B"),
                      S("<GENRE>"), S("POP"), S("<LEVEL>"), I(7), S("<BARS>"), I(64),
                      S("<INTROBARS>"), I(2), S("<BGM>"), S("bgm.wav"), S("<BGMOFFSET>"), L(-120),
                      S("<ANIME>"), S("a.z4b"), S("<PART>"), I(2), S("p0.z4p"), I(1), S("p1.z4p"),
                      I(0), S("<EOF>")});
  SongRecord song;
  std::vector<PartRecord> parts;
  ASSERT_TRUE(LoadSongFile(song, parts, Path("s.z4s"), true));
  EXPECT_EQ(song.Title, "夜の歌");
  EXPECT_EQ(song.Artist, "A, B");
  EXPECT_EQ(song.Genre, "POP");
  EXPECT_EQ(song.Level, 7);
  EXPECT_EQ(song.Bars, 64);
  EXPECT_EQ(song.IntroBars, 2);
  EXPECT_EQ(song.Bgm, "bgm.wav");
  EXPECT_EQ(song.BgmOffset, -120);
  EXPECT_EQ(song.Anime, "a.z4b");
  EXPECT_EQ(song.PartCount, 2);
  EXPECT_EQ(song.PartFiles, (std::vector<std::string>{"p0.z4p", "p1.z4p"}));
  EXPECT_EQ(song.PartLinks, (std::vector<int16_t>{1, 0, 6, 7, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(parts.size(), 2u) << "header-only loads still size the part array";
}

TEST_F(SongFiles, RefusedFiles) {
  struct Case {
    const char* name;
    std::vector<TextValue> values;
  };
  const std::vector<Case> cases{
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
      {"eleven parts", {S("<KWSONGFILE5.1>"), S("<PART>"), I(11), S("<EOF>")}},
      {"negative part count", {S("<KWSONGFILE5.1>"), S("<PART>"), I(-1), S("<EOF>")}},
      {"first version, eleven parts", {S("<KWSONGFILE>"), S("<PART>"), I(11), S("<EOF>")}},
      {"empty file", {}},
  };
  for (const auto& c : cases) {
    WriteText("s.zxs", c.values);
    SongRecord song;
    std::vector<PartRecord> parts;
    EXPECT_FALSE(LoadSongFile(song, parts, Path("s.z4s"), true)) << c.name;
  }
  SongRecord song;
  std::vector<PartRecord> parts;
  EXPECT_FALSE(LoadSongFile(song, parts, Path("missing.z4s"), true));
}

TEST_F(SongFiles, OnlyHeaderAndEnd) {
  WriteText("s.zxs", {S("<KWSONGFILE5.1>"), S("<EOF>")});
  SongRecord song;
  std::vector<PartRecord> parts;
  ASSERT_TRUE(LoadSongFile(song, parts, Path("s.z4s"), true));
  EXPECT_EQ(song.Title, "NO TITLE");
  EXPECT_EQ(song.Bpm, 120.0);
  EXPECT_EQ(song.Bars, 100);
  EXPECT_EQ(song.PartCount, 10);
  EXPECT_EQ(song.PartFiles[5], "part05.z4p");
  EXPECT_EQ(song.PartLinks, (std::vector<int16_t>{4, 5, 6, 7, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(song.TempoTicks, std::vector<int32_t>{0});
  ASSERT_EQ(parts.size(), 10u);
  EXPECT_EQ(parts[9].Name, "BGM02");
  // A full load needs part00 .. part09.
  EXPECT_FALSE(LoadSongFile(song, parts, Path("s.z4s"), false));
  PartRecord part;
  for (int i = 0; i < 10; ++i) {
    InitPartRecord(part, i, 4);
    part.Name = "P" + std::to_string(i);
    ASSERT_TRUE(WritePackedFile(Path("part0" + std::to_string(i) + ".zxp"), EncodePartFile(part)));
  }
  ASSERT_TRUE(LoadSongFile(song, parts, Path("s.z4s"), false));
  EXPECT_EQ(parts[9].Name, "P9");
  EXPECT_EQ(parts[9].Bars, 4);
}

TEST_F(SongFiles, CurrentVersionPartList) {
  MakeFolder("songs\\x");
  WriteText("songs\\x\\x.zxs", {S("<KWSONGFILE5.1>"), S("<PART>"), I(2), S("p1.z4p"), I(1),
                                S("sub\\p2.z4p"), I(0), S("<EOF>")});
  SongRecord song;
  std::vector<PartRecord> parts;
  // Parts are found beside the song whatever extension the list gives them.
  EXPECT_FALSE(LoadSongFile(song, parts, Path("songs\\x\\x.z4s"), false));
  PartRecord part;
  InitPartRecord(part, 0, 2);
  part.Name = "one";
  ASSERT_TRUE(WritePackedFile(Path("songs\\x\\p1.zxp"), EncodePartFile(part)));
  EXPECT_FALSE(LoadSongFile(song, parts, Path("songs\\x\\x.z4s"), false)) << "second part missing";
  EXPECT_EQ(parts[0].Name, "one") << "the record keeps what was read";
  MakeFolder("songs\\x\\sub");
  part.Name = "two";
  ASSERT_TRUE(WritePackedFile(Path("songs\\x\\sub\\p2.zxp"), EncodePartFile(part)));
  ASSERT_TRUE(LoadSongFile(song, parts, Path("songs\\x\\x.z4s"), false));
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[1].Name, "two");

  // A part count of 0 reads no part files and succeeds.
  WriteText("songs\\x\\none.zxs", {S("<KWSONGFILE5.1>"), S("<PART>"), I(0), S("<EOF>")});
  ASSERT_TRUE(LoadSongFile(song, parts, Path("songs\\x\\none.z4s"), false));
  EXPECT_EQ(song.PartCount, 0);
}

TEST_F(SongFiles, FirstVersionAddsTwoBackgroundParts) {
  WriteText("abc.zxs", {S("<KWSONGFILE>"), S("<PART>"), I(8), S("a0.z4p"), I(4), S("a1.z4p"), I(5),
                        S("a2.z4p"), I(6), S("a3.z4p"), I(7), S("a4.z4p"), I(0), S("a5.z4p"), I(0),
                        S("a6.z4p"), I(0), S("a7.z4p"), I(3), S("<EOF>")});
  for (int i = 0; i < 8; ++i) {
    PartRecord part;
    InitPartRecord(part, i, 12 + i);
    ASSERT_TRUE(WritePackedFile(Path("a" + std::to_string(i) + ".zxp"), EncodePartFile(part)));
  }
  SongRecord song;
  std::vector<PartRecord> parts;
  ASSERT_TRUE(LoadSongFile(song, parts, Path("abc.z4s"), true));
  EXPECT_EQ(song.PartCount, 10);
  EXPECT_EQ(song.PartFiles[8], "abc08.z4p");
  EXPECT_EQ(song.PartFiles[9], "abc09.z4p");
  EXPECT_EQ(song.PartLinks, (std::vector<int16_t>{4, 5, 6, 7, 0, 0, 0, 3, 0, 0}));
  ASSERT_TRUE(LoadSongFile(song, parts, Path("abc.z4s"), false));
  ASSERT_EQ(parts.size(), 10u);
  EXPECT_EQ(parts[7].Bars, 19);
  EXPECT_EQ(parts[8].Name, "BGM01");
  EXPECT_EQ(parts[9].Name, "BGM02");
  EXPECT_EQ(parts[8].Bars, 12);
  EXPECT_EQ(parts[9].StepWords.size(), 12u * 16);
}

TEST_F(SongFiles, EncodeThenLoadBothVersions) {
  SongRecord song;
  std::vector<PartRecord> parts;
  InitSongRecord(song, parts);
  song.Title = "Round trip";
  song.Artist = "作者";
  song.Level = 5;
  song.Bpm = 133.5;
  song.Bars = 48;
  song.BgmOffset = 35;
  song.Bgm = "bgm.wav";
  song.TempoCount = 2;
  song.TempoTicks = {0, 3840};
  song.TempoBpms = {133.5, 66.75};
  song.PartCount = 3;
  song.PartFiles = {"x.z4p", "y.z4p", "z.z4p"};
  song.PartLinks = {2, 0, 0, 7, 0, 0, 0, 0, 0, 0};
  for (const auto version : {SongFileVersion::Current, SongFileVersion::First}) {
    WriteText("r.zxs", EncodeSongFile(song, version));
    SongRecord loaded;
    std::vector<PartRecord> loadedParts;
    ASSERT_TRUE(LoadSongFile(loaded, loadedParts, Path("r.z4s"), true));
    EXPECT_EQ(loaded.Title, song.Title);
    EXPECT_EQ(loaded.Artist, song.Artist);
    EXPECT_EQ(loaded.Level, song.Level);
    EXPECT_EQ(loaded.Bpm, song.Bpm);
    EXPECT_EQ(loaded.Bars, song.Bars);
    EXPECT_EQ(loaded.BgmOffset, song.BgmOffset);
    EXPECT_EQ(loaded.Bgm, song.Bgm);
    EXPECT_EQ(loaded.TempoTicks, song.TempoTicks);
    EXPECT_EQ(loaded.TempoBpms, song.TempoBpms);
    EXPECT_EQ(loaded.PartLinks[0], 2);
    if (version == SongFileVersion::Current) {
      EXPECT_EQ(loaded.PartCount, 3);
      EXPECT_EQ(loaded.PartFiles, song.PartFiles);
    } else {
      EXPECT_EQ(loaded.PartCount, 10);
      EXPECT_EQ(loaded.PartFiles[2], "z.z4p");
      EXPECT_EQ(loaded.PartFiles[3], "");
      EXPECT_EQ(loaded.PartFiles[9], "r09.z4p");
    }
  }
}

}  // namespace
}  // namespace tessaru
