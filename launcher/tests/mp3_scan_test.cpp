#include "launcher/mp3_scan.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace tessaru {
namespace {

namespace fs = std::filesystem;

class Mp3ScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::string(TESSARU_SCRATCH) + "/scan_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(root_);
    fs::create_directories(root_);
  }

  // A file modified at `seconds` after the epoch.
  void Touch(const std::string& relative, int64_t seconds) {
    const fs::path path = fs::path(root_) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }

  std::vector<std::string> Scan() {
    std::vector<std::string> found;
    ScanForMp3(root_, found);
    for (std::string& path : found) path = path.substr(root_.size());
    return found;
  }

  std::string root_;
};

// A base time on a minute boundary, so the offsets below fall where their names say.
constexpr int64_t kMinute = 1'700'000'040;

TEST_F(Mp3ScanTest, TwinRulesForNamesAndMinutes) {
  struct Case {
    const char* mp3;
    int64_t mp3Time;
    const char* wave;  // nullptr: no WAVE beside it
    int64_t waveTime;
    bool listed;
  };
  const Case cases[] = {
      {"Song.MP3", kMinute + 10, "Song.wav", kMinute + 10, false},  // letter case of ".mp3" is free
      {"song.mp3", kMinute + 10, "Song.wav", kMinute + 10, true},   // the name keeps its case
      {"a.mp3", kMinute, "a.WAV", kMinute, false},                  // so does not the extension
      {"b.mp3", kMinute + 50, "b.wav", kMinute + 10, false},        // older, but the same minute
      {"c.mp3", kMinute + 65, "c.wav", kMinute + 55, true},         // 10 s older, previous minute
      {"d.mp3", kMinute, "d.wav", kMinute + 3600, false},           // newer
      {"e.mp3", kMinute + 120, "e.wav", kMinute, true},             // two minutes older
      {"f.mp3", kMinute, "f.mp3.wav", kMinute, true},               // not the same stem
      {"g.mp3", kMinute, "g.wave", kMinute, true},                  // not a WAVE extension
      {"h.mp3", kMinute, nullptr, 0, true},
      {".mp3", kMinute, nullptr, 0, true},  // nothing before the dot is still an MP3 name
      {"amp3", kMinute, nullptr, 0, false},
      {"i.mp3x", kMinute, nullptr, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mp3);
    SetUp();
    Touch(c.mp3, c.mp3Time);
    if (c.wave != nullptr) Touch(c.wave, c.waveTime);
    const std::vector<std::string> expected =
        c.listed ? std::vector<std::string>{std::string("/") + c.mp3} : std::vector<std::string>{};
    EXPECT_EQ(Scan(), expected);
  }
}

// Files before subfolders, depth first; a folder link loop and a second link to a folder
// are searched once, a dangling link is no file.
TEST_F(Mp3ScanTest, FilesBeforeSubfoldersDepthFirstAndLinksOnce) {
  for (const char* name : {"sub2/z.mp3", "b.mp3", "sub1/deep/y.mp3", "sub1/x.mp3", "a.mp3", "sub1/deeper/w.MP3"}) {
    Touch(name, kMinute);
  }
  fs::create_directory_symlink("..", fs::path(root_) / "sub1" / "loop");
  fs::create_directory_symlink("sub1", fs::path(root_) / "twin");
  fs::create_symlink("missing", fs::path(root_) / "dangling.mp3");
  const std::vector<std::string> expected = {"/a.mp3", "/b.mp3", "/sub1/x.mp3", "/sub1/deep/y.mp3",
                                             "/sub1/deeper/w.MP3", "/sub2/z.mp3"};
  EXPECT_EQ(Scan(), expected);
}

TEST_F(Mp3ScanTest, MissingFolderFindsNothingAndProgressCanStop) {
  std::vector<std::string> found;
  ScanForMp3(root_ + "/missing", found);
  EXPECT_TRUE(found.empty());

  Touch("a.mp3", kMinute);
  Touch("sub/b.mp3", kMinute);
  std::vector<std::string> folders;
  ScanForMp3(root_, found, [&](const std::string& folder) {
    folders.push_back(folder);
    return folders.size() < 2;  // the player ends the program while "sub" is searched
  });
  EXPECT_EQ(folders, (std::vector<std::string>{root_, root_ + "/sub"}));
  EXPECT_EQ(found, std::vector<std::string>{root_ + "/a.mp3"});
}

TEST(GetSegTest, CutsThePathList) {
  struct Case {
    const char* list;
    const char* head;
    const char* rest;
  };
  const Case cases[] = {
      {"a|b", "a", "b"}, {"b", "b", ""}, {"a|b|c", "a", "b|c"}, {"|b", "", "b"}, {"", "", ""},
  };
  for (const Case& c : cases) {
    std::string list = c.list;
    EXPECT_EQ(GetSeg(list), c.head) << c.list;
    EXPECT_EQ(list, c.rest) << c.list;
  }
  EXPECT_EQ(JoinPathList({"/x/a.mp3", "/y/b.mp3"}), "/x/a.mp3|/y/b.mp3");
  EXPECT_EQ(JoinPathList({}), "");
}

}  // namespace
}  // namespace tessaru
