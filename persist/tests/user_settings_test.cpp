#include "persist/user_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace tessaru {
namespace {
namespace fs = std::filesystem;

class UserSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::string(TESSARU_SCRATCH) + "/user_" + info->name();
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void WriteIni(const std::string& text) const {
    std::ofstream(root_ + "/user.ini", std::ios::binary) << text;
  }
  std::string ReadIni() const {
    std::ifstream in(root_ + "/user.ini", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  UserSettings Load(std::string* dataPath = nullptr) const {
    UserSettings settings;
    settings.DIFFICULTY = -77;  // stale values must not survive a load
    settings.DATAPATH = "stale";
    std::string path = "stale";
    LoadUserSettings(settings, path, root_);
    if (dataPath != nullptr) *dataPath = path;
    return settings;
  }
  std::string root_;
};

// Every numeric key with a way to read its field, in the order the file is read.
struct KeyField {
  const char* name;
  std::function<int64_t(const UserSettings&)> get;
  int64_t defaultValue;
  bool wide;  // 32-bit
};
#define FIELD(key, def, wide) {#key, [](const UserSettings& s) { return int64_t{s.key}; }, def, wide}
const std::vector<KeyField> kKeys = {
    FIELD(RESOLUTION, 0, false),    FIELD(DIFFICULTY, 2, false),   FIELD(DRAWING, 0, false),
    FIELD(DRAWBACK, 0, false),      FIELD(DRAWDANCE, 0, false),    FIELD(DRAWTEMP, 0, false),
    FIELD(DRAWALPHA, 0, false),     FIELD(DRAWSTRET, 0, false),    FIELD(SOUNDING, 0, false),
    FIELD(SNDPLAYQUALITY, 0, false), FIELD(SNDPANVOLCTRL, 0, false), FIELD(BGMVOLUME, 100, true),
    FIELD(PLAYERVOLUME, 100, true), FIELD(BGPARTOFFSET, 20, true), FIELD(MAXFPS, 60, false),
    FIELD(AUTODEC, 0, false),       FIELD(USEDX, 0, false),        FIELD(FULLSCREEN, 1, false),
    FIELD(SELCOM, 0, false),        FIELD(JUDGEMODE, 0, false),    FIELD(JUDGEOFFSET, 0, false),
    FIELD(JUDGESTYLE, 0, false),    FIELD(SKIN_H, 0, false),       FIELD(SKIN_L, 0, false),
    FIELD(SCANSONGS, 0, false),
};
#undef FIELD

std::string IniWithEveryKey(const std::string& value) {
  std::string text = "[USER]\r\n";
  for (const KeyField& key : kKeys) text += std::string(key.name) + "=" + value + "\r\n";
  return text;
}

TEST_F(UserSettingsTest, MissingKeysAndEValuesGiveEveryDefault) {
  const std::vector<std::pair<const char*, std::string>> files = {
      {"no file", ""},
      {"other section only", "[OTHER]\r\nDIFFICULTY=4\r\nMAXFPS=5\r\n"},
      {"empty section", "[USER]\r\n"},
      {"every value E", IniWithEveryKey("E")},
      {"every value starting with E", IniWithEveryKey("E5x")},
  };
  for (const auto& [label, text] : files) {
    fs::remove(root_ + "/user.ini");
    if (!text.empty()) WriteIni(text);
    std::string dataPath;
    const UserSettings settings = Load(&dataPath);
    for (const KeyField& key : kKeys) {
      EXPECT_EQ(key.get(settings), key.defaultValue) << label << " " << key.name;
    }
    EXPECT_EQ(settings.DATAPATH, "") << label;
    EXPECT_EQ(dataPath, root_) << label;
  }
}

TEST_F(UserSettingsTest, LeadingNumberParsingAndWidths) {
  struct Case {
    const char* text;
    int64_t narrow;  // a 16-bit key
    int64_t wide;    // a 32-bit key
  };
  const std::vector<Case> cases = {
      {"abc", 0, 0},          // no number: 0, not the default
      {"e5", 0, 0},           // only a capital E selects the default
      {"", 0, 0},
      {"123abc", 123, 123},
      {"  7 ", 7, 7},
      {"-3", -3, -3},
      {"+4x", 4, 4},
      {"2.5", 2, 2},          // halves to even
      {"3.5", 4, 4},
      {"1e3", 1, 1},          // the exponent is not part of the number
      {"32767", 32767, 32767},
      {"32768", 32767, 32768},  // held at the field's end, never wrapped
      {"-40000", -32768, -40000},
      {"99999999999", 32767, 2147483647},
  };
  for (const Case& c : cases) {
    WriteIni(std::string("[USER]\r\nSKIN_L=") + c.text + "\r\nPLAYERVOLUME=" + c.text + "\r\n");
    const UserSettings settings = Load();
    EXPECT_EQ(settings.SKIN_L, c.narrow) << c.text;
    EXPECT_EQ(settings.PLAYERVOLUME, c.wide) << c.text;
  }
}

TEST_F(UserSettingsTest, BackgroundPartOffsetIsAtLeastTwenty) {
  const std::vector<std::pair<const char*, int32_t>> cases = {
      {nullptr, 20}, {"5", 20}, {"-100", 20}, {"abc", 20}, {"19", 20}, {"20", 20}, {"21", 21},
      {"250", 250},
  };
  for (const auto& [value, expected] : cases) {
    WriteIni(value == nullptr ? "[USER]\r\n" : std::string("[USER]\r\nBGPARTOFFSET=") + value + "\r\n");
    EXPECT_EQ(Load().BGPARTOFFSET, expected) << (value ? value : "absent");
  }
}

TEST_F(UserSettingsTest, DataPathSetting) {
  struct Case {
    const char* line;
    std::string setting;
    std::string dataPath;
  };
  const std::vector<Case> cases = {
      {"DATAPATH=   ", "", root_},
      {"DATAPATH=", "", root_},
      {"DATAPATH=  /srv/songs  ", "/srv/songs", "/srv/songs"},
      {"DATAPATH=/srv/songs/", "/srv/songs/", "/srv/songs/"},  // the separator is kept
      {"DATAPATH=\\\\host\\share", "\\\\host\\share", "\\\\host\\share"},
      {"DATAPATH=mydata", "mydata", root_ + "\\mydata"},  // relative to the program folder
  };
  for (const Case& c : cases) {
    WriteIni(std::string("[USER]\r\n") + c.line + "\r\n");
    std::string dataPath;
    const UserSettings settings = Load(&dataPath);
    EXPECT_EQ(settings.DATAPATH, c.setting) << c.line;
    EXPECT_EQ(dataPath, c.dataPath) << c.line;
  }
}

TEST_F(UserSettingsTest, SaveEditsOnlyItsKeysAndNeverDataPath) {
  const std::string before =
      "; the player's notes\r\n"
      "[USER]\r\n"
      "DATAPATH = /old/data \r\n"
      "MAXFPS=30\r\n"
      "MYOWNKEY=keep me\r\n"
      "\r\n"
      "[OTHER]\r\n"
      "DIFFICULTY=9\r\n";
  WriteIni(before);
  UserSettings settings = Load();
  settings.DATAPATH = "/somewhere/else";
  settings.MAXFPS = 120;
  settings.JUDGEOFFSET = -12;
  settings.BGMVOLUME = 70000;
  ASSERT_TRUE(SaveUserSettings(settings, root_));

  const std::string after = ReadIni();
  EXPECT_EQ(after.find("; the player's notes\r\n[USER]\r\nDATAPATH = /old/data \r\nMAXFPS=120\r\n"
                       "MYOWNKEY=keep me\r\n"),
            0u)
      << after;
  EXPECT_NE(after.find("JUDGEOFFSET=-12\r\n"), std::string::npos);
  EXPECT_NE(after.find("BGMVOLUME=70000\r\n"), std::string::npos);
  EXPECT_NE(after.find("\r\n[OTHER]\r\nDIFFICULTY=9\r\n"), std::string::npos);
  EXPECT_EQ(after.find("/somewhere/else"), std::string::npos);
  // Only the player's own DATAPATH line has a blank after "=".
  EXPECT_EQ(after.find("= ", after.find("DATAPATH") + 10), std::string::npos);

  std::string dataPath;
  const UserSettings reloaded = Load(&dataPath);
  EXPECT_EQ(reloaded.MAXFPS, 120);
  EXPECT_EQ(reloaded.JUDGEOFFSET, -12);
  EXPECT_EQ(reloaded.BGMVOLUME, 70000);
  EXPECT_EQ(dataPath, "/old/data");
  for (const KeyField& key : kKeys) {
    EXPECT_EQ(key.get(reloaded), key.get(settings)) << key.name;
  }
}

TEST_F(UserSettingsTest, JudgeOffsetSaveChangesThatLineAlone) {
  struct Case {
    const char* Name;
    std::string Before;
    int16_t Offset;
    std::string After;
  };
  const Case cases[] = {
      {"no file yet", "", 12, "[USER]\r\nJUDGEOFFSET=12\r\n"},
      {"its own line replaced, the rest kept",
       "; notes\r\n[USER]\r\nMAXFPS=E\r\nJUDGEOFFSET=E\r\nDATAPATH = /d \r\n", -7,
       "; notes\r\n[USER]\r\nMAXFPS=E\r\nJUDGEOFFSET=-7\r\nDATAPATH = /d \r\n"},
      {"added to the end of its section",
       "[USER]\r\nMAXFPS=30\r\n[OTHER]\r\nJUDGEOFFSET=5\r\n", 0,
       "[USER]\r\nMAXFPS=30\r\nJUDGEOFFSET=0\r\n[OTHER]\r\nJUDGEOFFSET=5\r\n"},
  };
  for (const Case& c : cases) {
    fs::remove(root_ + "/user.ini");
    if (!c.Before.empty()) WriteIni(c.Before);
    ASSERT_TRUE(SaveJudgeOffset(c.Offset, root_)) << c.Name;
    EXPECT_EQ(ReadIni(), c.After) << c.Name;
    EXPECT_EQ(Load().JUDGEOFFSET, c.Offset) << c.Name;
  }
  fs::remove(root_ + "/user.ini");
  fs::create_directories(root_ + "/user.ini");
  EXPECT_FALSE(SaveJudgeOffset(3, root_)) << "a failed write is reported";
}

TEST_F(UserSettingsTest, UnreadableFileGivesDefaultsAndIsNeverOverwritten) {
  fs::create_directories(root_ + "/user.ini");  // a folder where the file should be
  UserSettings settings;
  settings.MAXFPS = 5;
  std::string dataPath;
  EXPECT_FALSE(LoadUserSettings(settings, dataPath, root_));
  EXPECT_EQ(settings.MAXFPS, 60);
  EXPECT_EQ(dataPath, root_);
  EXPECT_FALSE(SaveUserSettings(settings, root_));
  EXPECT_TRUE(fs::is_directory(root_ + "/user.ini"));
}

}  // namespace
}  // namespace tessaru
