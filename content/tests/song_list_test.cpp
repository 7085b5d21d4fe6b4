#include "content/song_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "content/part_file.h"
#include "content/song_file.h"
#include "content/tests/content_files.h"
#include "core/paths.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

// The default game's song files, in the order of the built-in rows.
const std::vector<std::string> kBuiltInFolders = {"firstlight", "paperplanes", "neondrift", "tidewater",
                                                  "marblerun",  "clockwork",   "ember",     "aurora",
                                                  "lantern",    "freefall",    "postcard"};

class SongListTest : public ContentFiles {
 protected:
  // A song file holding just a header, at the listed path (".z4s" becomes ".zxs").
  void WriteSong(const std::string& listed, const std::string& title, double bpm, int16_t level) {
    SongRecord song;
    std::tie(song.Title, song.Bpm, song.Level, song.TempoBpms, song.PartCount) =
        std::make_tuple(title, bpm, level, std::vector<double>{bpm}, 0);
    MakeFolder(FolderOf(listed));
    WriteText(StripExtension(listed) + ".zxs", EncodeSongFile(song, SongFileVersion::Current));
  }
  void WriteBuiltInSongs(int skip = -1) {
    for (int i = 0; i < kBuiltInSongCount; ++i) {
      const std::string& f = kBuiltInFolders[static_cast<size_t>(i)];
      if (i != skip) WriteSong("songs\\" + f + "\\" + f + ".z4s", f, 100.0 + i, static_cast<int16_t>(i + 1));
    }
  }
  void WriteList(std::vector<TextValue> entries) {
    entries.insert(entries.begin(), S("<KWSONGFILENAME>"));
    WriteText("songfn.zxt", entries);
  }
  bool Load(int16_t scanSongs = 0) { return LoadSongList(list_, song_, parts_, root_, scanSongs, log_); }
  // One row of the list: key, path, name, flag, tempo, level.
  auto Row(size_t i) const {
    return std::make_tuple(list_.SongKeys[i], list_.SongPaths[i], list_.SongNames[i], list_.SongFlags[i],
                           list_.SongBpms[i], list_.SongLevels[i]);
  }
  using RowOf = std::tuple<std::string, std::string, std::string, int16_t, double, int16_t>;

  SongList list_;
  SongRecord song_;
  std::vector<PartRecord> parts_;
  ErrorLog log_;
};

TEST_F(SongListTest, ListedSongsFillEveryColumn) {
  WriteList({S("<EOF>")});
  list_.SongCount = 5;
  list_.SongKeys = {"stale"};
  EXPECT_TRUE(Load());
  EXPECT_EQ(std::tie(list_.SongCount, list_.SongListValid, list_.FirstExtraSong), std::make_tuple(0, true, 9));
  EXPECT_TRUE(list_.SongKeys.empty());

  WriteSong("one\\a.z4s", "Alpha", 133.5, 3);
  WriteSong("two\\b.z4s", "Beta", 90, 7);
  WriteList({S("one\\a.z4s"), S("Song A"), I(2), S("two\\b.z4s"), S("曲 B"), I(0), S("<EOF>")});
  EXPECT_TRUE(Load());
  ASSERT_EQ(list_.SongCount, 2);
  EXPECT_EQ(Row(0), (RowOf{"one\\a.z4s", root_ + "\\one\\a.z4s", "Song A", 2, 133.5, 3}));
  EXPECT_EQ(Row(1), (RowOf{"two\\b.z4s", root_ + "\\two\\b.z4s", "曲 B", 0, 90.0, 7}));
  EXPECT_TRUE(list_.SongListValid);
  EXPECT_TRUE(log_.Empty());
}

TEST_F(SongListTest, BuiltInRows) {
  WriteBuiltInSongs();
  log_.Add("earlier failure");
  EXPECT_TRUE(Load());  // no list file: the built-in rows
  ASSERT_EQ(list_.SongCount, 11);
  EXPECT_EQ(std::tie(list_.FirstExtraSong, list_.SongListValid), std::make_tuple(9, true));
  EXPECT_EQ(list_.SongFlags, (std::vector<int16_t>{2, 1, 1, 1, 1, 2, 2, 1, 1, 1, 0}));
  for (size_t i = 0; i < 11; ++i) {
    const std::string key = "songs\\" + kBuiltInFolders[i] + "\\" + kBuiltInFolders[i] + ".z4s";
    EXPECT_EQ(std::tie(list_.SongKeys[i], list_.SongBpms[i], list_.SongLevels[i]),
              std::make_tuple(key, 100.0 + static_cast<double>(i), static_cast<int16_t>(i + 1)));
    EXPECT_EQ(list_.SongPaths[i], root_ + "\\" + key);
    EXPECT_FALSE(list_.SongNames[i].empty());
  }
  EXPECT_EQ(list_.SongNames[0], "First Light");
  EXPECT_EQ(log_.Text(), "earlier failure\r\n");

  // A built-in row that fails stops the list there.
  fs::remove(ResolvePath(Path("songs\\marblerun\\marblerun.zxs")));
  EXPECT_FALSE(LoadDefaultSongList(list_, song_, parts_, root_, log_));
  EXPECT_FALSE(list_.SongListValid);
  ASSERT_EQ(list_.SongCount, 11);
  EXPECT_EQ((std::vector<double>(list_.SongBpms.begin() + 3, list_.SongBpms.begin() + 6)),
            (std::vector<double>{103.0, 0.0, 0.0}));
  EXPECT_EQ(list_.SongLevels[10], 0);
  EXPECT_EQ(list_.SongKeys[10], "songs\\postcard\\postcard.z4s");
  EXPECT_EQ(log_.Text(), "earlier failure\r\n曲データの定義がロードＢできません。\r\n");
}

TEST_F(SongListTest, UnusableListFilesFallBackToTheBuiltInRows) {
  WriteBuiltInSongs();
  WriteSong("x\\ok.z4s", "OK", 120, 1);
  const std::string listPath = root_ + "\\songfn.zxt";
  const std::string unreadable = listPath + "の読み込みに失敗しました\r\n";
  struct Case {
    const char* label;
    std::vector<TextValue> values;  // empty: no list file at all
    std::string log;
  };
  const std::vector<Case> cases = {
      {"no list file", {}, ""},
      {"wrong header: not a list, no error", {S("<KWSONGFILE>"), S("<EOF>")}, ""},
      {"empty first field", {S("")}, ""},
      {"ends before <EOF>", {S("<KWSONGFILENAME>"), S("x\\ok.z4s"), S("OK"), I(1)}, unreadable},
      {"ends inside an entry", {S("<KWSONGFILENAME>"), S("x\\ok.z4s"), S("OK")}, unreadable},
      {"flag is no number", {S("<KWSONGFILENAME>"), S("x\\ok.z4s"), S("OK"), S("one"), S("<EOF>")}, unreadable},
      {"listed song missing",
       {S("<KWSONGFILENAME>"), S("x\\ok.z4s"), S("OK"), I(1), S("x\\gone.z4s"), S("Gone"), I(1), S("<EOF>")},
       root_ + "\\x\\gone.z4sがロードＡできません。\r\n"},
  };
  for (const Case& c : cases) {
    fs::remove(ResolvePath(listPath));
    if (!c.values.empty()) WriteText("songfn.zxt", c.values);
    log_.Clear();
    log_.Add("earlier failure");
    EXPECT_TRUE(Load(kScanSongsEnabled)) << c.label;
    // The built-in rows, loaded, and no scan.
    EXPECT_EQ(std::tie(list_.SongCount, list_.SongKeys[0], list_.SongListValid),
              std::make_tuple(11, "songs\\firstlight\\firstlight.z4s", true)) << c.label;
    EXPECT_EQ(log_.Text(), "earlier failure\r\n" + c.log) << c.label;
  }
  WriteBytes("songfn.zxt", {1, 2, 3});  // bytes that do not unpack at all
  log_.Clear();
  EXPECT_TRUE(Load());
  EXPECT_EQ(list_.SongCount, 11);
  EXPECT_EQ(log_.Text(), unreadable);
}

TEST_F(SongListTest, ScanAddsUnlistedSongsInListingOrder) {
  WriteSong("songs\\a\\a.z4s", "Listed", 120, 1);
  WriteSong("z.z4s", "Zed", 150, 2);
  WriteText("B.ZXS", EncodeSongFile(SongRecord{}, SongFileVersion::Current));
  WriteSong("m\\m1.z4s", "Em", 140, 3);
  WriteSong("c\\c1.z4s", "See", 130, 4);
  WriteSong("c\\d\\deep.z4s", "Deep", 99, 5);
  WriteSong("a\\b.z4s", "Key", 98, 6);
  WriteSong("dir.zxs\\inner.z4s", "Inner", 97, 7);  // a folder, whatever its name
  WriteText("broken.zxs", {S("<KWSONGFILE5.1>"), S("<LEVEL>")});
  WriteText("notes.txt", {S("not a song")});
  // Listed under another letter case: found again by the scan, not added twice.
  WriteList({S("SONGS\\A\\A.z4s"), S("Listed"), I(1), S("<EOF>")});

  EXPECT_TRUE(Load(1));
  EXPECT_EQ(list_.SongCount, 1);  // only 9261 scans
  log_.Clear();
  EXPECT_TRUE(Load(kScanSongsEnabled));
  EXPECT_EQ(list_.SongKeys, (std::vector<std::string>{"SONGS\\A\\A.z4s", "B.z4s", "z.z4s", "a\\b.z4s", "c\\c1.z4s",
                                                      "c\\d\\deep.z4s", "dir.zxs\\inner.z4s", "m\\m1.z4s"}));
  EXPECT_EQ(Row(2), (RowOf{"z.z4s", root_ + "\\z.z4s", "Zed", 0, 150.0, 2}));
  EXPECT_EQ(list_.SongNames[1], "NO TITLE");
  EXPECT_EQ(list_.SongFlags, (std::vector<int16_t>{1, 0, 0, 0, 0, 0, 0, 0}));
  for (size_t size : {list_.SongPaths.size(), list_.SongNames.size(), list_.SongBpms.size(), list_.SongLevels.size()}) {
    EXPECT_EQ(size, 8u);
  }
  // A broken file is skipped without a line; a checker can still ask which it was.
  EXPECT_EQ(log_.Text(), "");
  std::vector<std::string> skipped;
  SongList again;
  ScanSongFolder(again, song_, parts_, root_, root_, &skipped);
  EXPECT_EQ(skipped, (std::vector<std::string>{root_ + "\\broken.zxs"}));
}

TEST_F(SongListTest, ScanDoesNotFollowLinksBackIntoVisitedFolders) {
  WriteList({S("<EOF>")});
  WriteSong("songs\\one\\one.z4s", "One", 120, 1);
  const fs::path root = ResolvePath(root_);
  const fs::path one = root / "songs" / "one";
  fs::create_directory_symlink(root, root / "songs" / "back");  // to the top
  fs::create_directory_symlink(root / "songs", one / "up");     // to a parent
  fs::create_directory_symlink(one, root / "alias");            // to a sibling
  fs::create_directory_symlink(root / "nowhere", root / "dangling");
  fs::create_directory_symlink(one / "loop2", one / "loop1");
  fs::create_directory_symlink(one / "loop1", one / "loop2");
  EXPECT_TRUE(Load(kScanSongsEnabled));
  // Found once, through the first path the listing order reaches it by.
  EXPECT_EQ(list_.SongKeys, std::vector<std::string>{"alias\\one.z4s"});
}

TEST_F(SongListTest, RapidSongIsReadFromItsTextNameWithoutACopy) {
  MakeFolder("s");
  SongRecord rapid;
  std::tie(rapid.Title, rapid.PartCount, rapid.PartFiles, rapid.PartLinks) =
      std::make_tuple("Rapid", 1, std::vector<std::string>{"rp.z4p"}, std::vector<int16_t>{0});
  WriteText("s\\rapid.zxt", EncodeSongFile(rapid, SongFileVersion::Current));
  WritePart("s\\rp.zxp", 0, 2, "RAPIDPART");
  WriteSong("s\\main.z4s", "Main", 120, 1);
  fs::permissions(ResolvePath(Path("s")), fs::perms::owner_write, fs::perm_options::remove);
  ASSERT_TRUE(LoadSongFile(song_, parts_, Path("s\\main.z4s"), true));
  EXPECT_TRUE(LoadRapidSong(song_, parts_, Path("s\\main.z4s")));
  EXPECT_EQ(song_.Title, "Rapid");
  ASSERT_FALSE(parts_.empty());
  EXPECT_EQ(parts_[0].Name, "RAPIDPART");
  fs::permissions(ResolvePath(Path("s")), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_FALSE(fs::exists(ResolvePath(Path("s\\rapid.zxs"))));

  // Without the rapid file nothing is loaded and the song stays as it was.
  fs::remove(ResolvePath(Path("s\\rapid.zxt")));
  ASSERT_TRUE(LoadSongFile(song_, parts_, Path("s\\main.z4s"), true));
  EXPECT_FALSE(BuildRapidSong(song_, parts_, Path("s\\main.z4s")));
  EXPECT_EQ(song_.Title, "Main");
}

}  // namespace
}  // namespace tessaru
