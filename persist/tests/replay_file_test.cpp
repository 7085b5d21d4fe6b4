#include "persist/replay_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/file_access.h"
#include "core/paths.h"
#include "core/testing/scratch_folder.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

class ReplayFileTest : public testing_support::ScratchFolder {
 protected:
  void SetUp() override {
    testing_support::ScratchFolder::SetUp();
    fs::create_directories(root_ + "/data");
  }
  std::string Data() const { return root_ + "/data"; }
  std::string SongAt(const std::string& relative) const { return Data() + "\\" + relative; }
  ReplayRecord Sample() const {
    ReplayRecord r;
    r.SongPath = SongAt("songs\\Ember\\ember.z4s");
    r.Part = 2;
    r.Append(0, 1, 0, kReplayNoJudgement);
    r.Append(3840, 4, 32, kReplayJust);
    r.Append(3900, 2, 33, kReplayBlank);
    return r;
  }
};

TEST_F(ReplayFileTest, SavesVersionTwoWithCrLfAndCountsUp) {
  std::string reason;
  const std::string first = SaveReplay(root_, Data(), Sample(), reason);
  const std::string second = SaveReplay(root_, Data(), Sample(), reason);
  EXPECT_EQ(FileNameOf(first), "ember3-000.zxr");
  EXPECT_EQ(FileNameOf(second), "ember3-001.zxr");
  EXPECT_EQ(Read("replay/" + FileNameOf(first)), "songs\\Ember\\ember.z4s\r\n2\r\n-1\r\n2\r\n3\r\n0,1,0,0\r\n3840,4,1,32\r\n3900,2,5,33\r\n");

  ReplayRecord back;
  ASSERT_TRUE(LoadReplay(second, back, false, &reason)) << reason;
  const ReplayRecord sample = Sample();
  EXPECT_EQ(std::tie(back.SongPath, back.Version, back.EvTick, back.EvStep, back.EvJudge),
            std::make_tuple("songs\\Ember\\ember.z4s", 2, sample.EvTick, sample.EvStep, sample.EvJudge));
  // A freed counter is taken again first.
  fs::remove(ResolvePath(first));
  EXPECT_EQ(FileNameOf(SaveReplay(root_, Data(), Sample(), reason)), "ember3-000.zxr");
}

TEST_F(ReplayFileTest, ReadsEveryVersion) {
  struct Case {
    const char* name;
    std::string text;
    bool headerOnly;
    int16_t version;
    int32_t count;
    std::vector<int32_t> ticks;
    std::vector<int16_t> judges;
    std::vector<int16_t> steps;
  };
  const std::vector<Case> cases = {
      {"version 0", "a.z4s\r\n1\r\n3\r\n10,1\r\n20,2\r\n30,4\r\n", false, 0, 3, {10, 20, 30}, {0, 0, 0}, {0, 0, 0}},
      {"version 0 header", "a.z4s\r\n1\r\n3\r\n", true, 0, 3, {}, {}, {}},
      {"version 1, blanks", "a.z4s\r\n1\r\n -1 \r\n 1\r\n2\r\n10,1,3\r\n20,2,5\r\n", false, 1, 2, {10, 20}, {3, 5},
       {0, 0}},
      {"version 2, LF", "a.z4s\n1\n-1\n2\n1\n10,1,2,7\n", false, 2, 1, {10}, {2}, {7}},
      {"version 2, CR", "a.z4s\r1\r-1\r2\r1\r10,1,2,7", false, 2, 1, {10}, {2}, {7}},
      {"version 2 header", "a.z4s\r\n1\r\n-1\r\n2\r\n4\r\n", true, 2, 4, {}, {}, {}},
      {"version 2, empty", "a.z4s\r\n1\r\n-1\r\n2\r\n0\r\n", false, 2, 0, {}, {}, {}},
      {"version 1, empty", "a.z4s\r\n1\r\n-1\r\n1\r\n0\r\n", false, 1, 0, {}, {}, {}},
      {"extra lines ignored", "a.z4s\r\n1\r\n1\r\n10,1\r\ngarbage\r\n", false, 0, 1, {10}, {0}, {0}},
  };
  for (const Case& c : cases) {
    ReplayRecord r;
    std::string reason;
    ASSERT_TRUE(DecodeReplay(c.text, r, c.headerOnly, reason)) << c.name << ": " << reason;
    EXPECT_EQ(std::make_tuple(r.SongPath, r.Part, r.Version, r.EventCount, r.EvTick, r.EvJudge, r.EvStep),
              std::make_tuple("a.z4s", 1, c.version, c.count, c.ticks, c.judges, c.steps)) << c.name;
    EXPECT_EQ(r.EvLane.size(), c.ticks.size()) << c.name;
  }
}

TEST_F(ReplayFileTest, RefusesBadFilesWithAReason) {
  const std::string head = "a.z4s\r\n0\r\n-1\r\n2\r\n";
  struct Case {
    const char* name;
    std::string text;
    const char* reason;  // a part of the reason given
  };
  const std::vector<Case> cases = {
      {"empty", "", "empty"},
      {"count above lines", head + "3\r\n1,1,1,1\r\n", "ends after 1 of 3"},
      {"two billion", head + "2000000000\r\n", "above the 5000"},
      {"5001", "a\r\n0\r\n5001\r\n", "above the 5000"},
      {"negative count", head + "-5\r\n", "count must be"},
      {"negative tick", head + "1\r\n-1,1,1,1\r\n", "tick must be"},
      {"lane 0", head + "1\r\n1,0,1,1\r\n", "lane must be"},
      {"lane 5", head + "1\r\n1,5,1,1\r\n", "lane must be"},
      {"judgement 6", head + "1\r\n1,1,6,1\r\n", "judgement must be"},
      {"step beyond 16 bits", head + "1\r\n1,1,1,40000\r\n", "step must be"},
      {"too few fields", head + "1\r\n1,1,1\r\n", "expected 4 numbers"},
      {"too many fields", "a\r\n0\r\n1\r\n1,1,1\r\n", "expected 2 numbers"},
      {"ticks backwards", head + "2\r\n50,1,1,1\r\n40,1,1,1\r\n", "before the press above"},
      {"unknown version", "a\r\n0\r\n-1\r\n3\r\n0\r\n", "version must be"},
      {"negative part", "a\r\n-1\r\n0\r\n", "part must be"},
      {"no header", "a\r\n", "ends before its part"},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "part must be"},
  };
  for (const Case& c : cases) {
    ReplayRecord r;
    r.EventCount = 9;
    std::string reason;
    EXPECT_FALSE(DecodeReplay(c.text, r, false, reason)) << c.name;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.name << ": " << reason;
    EXPECT_TRUE(r.EventCount == 0 && r.EvTick.empty()) << c.name;
  }
}

TEST_F(ReplayFileTest, RefusesMissingFoldersAndHugeFiles) {
  std::string reason;
  ReplayRecord r;
  EXPECT_FALSE(LoadReplay(ReplayPath(root_, "none.zxr"), r, false, &reason));
  EXPECT_NE(reason.find("does not exist"), std::string::npos);
  Block("replay/dir.zxr");
  EXPECT_FALSE(LoadReplay(ReplayPath(root_, "dir.zxr"), r, true, &reason));
  // 100 MB (sparse): refused from its size, before anything is read.
  Write("replay/huge.zxr", "a.z4s\r\n0\r\n-1\r\n2\r\n0\r\n");
  fs::resize_file(root_ + "/replay/huge.zxr", 100u << 20);
  EXPECT_FALSE(LoadReplay(ReplayPath(root_, "huge.zxr"), r, true, &reason));
  EXPECT_NE(reason.find("larger than"), std::string::npos);
}

TEST_F(ReplayFileTest, ListsOnlyTheSongsReplaysWhateverTheDataFolder) {
  std::string reason;
  ReplayRecord ember = Sample();
  ASSERT_FALSE(SaveReplay(root_, Data(), ember, reason).empty()) << reason;  // makes the folder
  ember.Part = 0;
  ASSERT_FALSE(SaveReplay(root_, Data(), ember, reason).empty());
  Write("replay/Old.ZXR", "SONGS\\ember\\EMBER.Z4S\r\n5\r\n2\r\n1,1\r\n2,2\r\n");
  Write("replay/broken.zxr", "songs\\ember\\ember.z4s\r\n");
  Write("replay/other.zxr", "songs\\aurora\\aurora.z4s\r\n1\r\n0\r\n");
  Write("replay/notes.txt", "songs\\ember\\ember.z4s\r\n1\r\n0\r\n");

  const auto found = FindReplays(root_, Data(), SongAt("songs/ember/ember.z4s"));
  std::vector<std::pair<std::string, int16_t>> names;
  for (const auto& e : found) names.emplace_back(e.Name, e.Part);
  EXPECT_EQ(names, (std::vector<std::pair<std::string, int16_t>>{{"ember1-000.zxr", 0}, {"ember3-000.zxr", 2}, {"Old.ZXR", 5}}));
  // The same song reached through another data folder is not this folder's song.
  EXPECT_TRUE(FindReplays(root_, root_ + "/elsewhere", SongAt("songs\\ember\\ember.z4s")).empty());
  EXPECT_TRUE(FindReplays(root_ + "/nothing", Data(), SongAt("songs\\ember\\ember.z4s")).empty());
}

TEST_F(ReplayFileTest, RelativeToDataPath) {
  struct Case { const char* data; const char* path; const char* relative; };
  const std::vector<Case> cases = {
      {"/g/bin", "/g/bin\\songs\\a.z4s", "songs\\a.z4s"},
      {"/g/bin/", "/g/bin/songs/a.z4s", "songs/a.z4s"},
      {"/G/Bin", "/g/bin\\songs\\a.z4s", "songs\\a.z4s"},
      {"/g/bin", "/g/binary\\songs\\a.z4s", "/g/binary\\songs\\a.z4s"},  // not inside: whole
      {"/g/bin", "/elsewhere/songs/a.z4s", "/elsewhere/songs/a.z4s"},
      {"/g/bin", "/g", "/g"},
  };
  for (const Case& c : cases) EXPECT_EQ(RelativeToDataPath(c.data, c.path), c.relative) << c.path;
}

}  // namespace
}  // namespace tessaru
