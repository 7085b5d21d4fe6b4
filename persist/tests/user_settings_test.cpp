#include "persist/user_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/testing/scratch_folder.h"

namespace tessaru {
namespace {
namespace fs = std::filesystem;

class UserSettingsTest : public testing_support::ScratchFolder {
 protected:
  UserSettings Load(std::string* dataPath = nullptr) const {
    UserSettings settings;
    settings.DIFFICULTY = -77;  // stale values must not survive a load
    settings.DATAPATH = "stale";
    std::string path = "stale";
    LoadUserSettings(settings, path, root_);
    if (dataPath != nullptr) *dataPath = path;
    return settings;
  }
  // Writes user.ini with these lines under [USER] (none: no file at all).
  void WriteUser(const std::optional<std::string>& lines) const {
    std::filesystem::remove(root_ + "/user.ini");
    if (lines) Write("user.ini", "[USER]\r\n" + *lines);
  }
};

// Every numeric key with a way to read its field, in the order the file is read.
struct KeyField { const char* name; std::function<int64_t(const UserSettings&)> get; int64_t defaultValue; };
#define FIELD(key, def) {#key, [](const UserSettings& s) { return int64_t{s.key}; }, def}
const std::vector<KeyField> kKeys = {
    FIELD(RESOLUTION, 0), FIELD(DIFFICULTY, 2),   FIELD(DRAWING, 0),      FIELD(DRAWBACK, 0),     FIELD(DRAWDANCE, 0),
    FIELD(DRAWTEMP, 0),   FIELD(DRAWALPHA, 0),    FIELD(DRAWSTRET, 0),    FIELD(SOUNDING, 0),     FIELD(SNDPLAYQUALITY, 0),
    FIELD(SNDPANVOLCTRL, 0), FIELD(BGMVOLUME, 100), FIELD(PLAYERVOLUME, 100), FIELD(BGPARTOFFSET, 20), FIELD(MAXFPS, 60),
    FIELD(AUTODEC, 0),    FIELD(USEDX, 0),        FIELD(FULLSCREEN, 1),   FIELD(SELCOM, 0),       FIELD(JUDGEMODE, 0),
    FIELD(JUDGEOFFSET, 0), FIELD(JUDGESTYLE, 0),  FIELD(SKIN_H, 0),       FIELD(SKIN_L, 0),       FIELD(SCANSONGS, 0),
};
#undef FIELD

std::string IniWithEveryKey(const std::string& value) {
  std::string text;
  for (const KeyField& key : kKeys) text += std::string(key.name) + "=" + value + "\r\n";
  return text;
}

TEST_F(UserSettingsTest, MissingKeysAndEValuesGiveEveryDefault) {
  const std::vector<std::pair<const char*, std::optional<std::string>>> files = {
      {"no file", std::nullopt},
      {"other section only", "[OTHER]\r\nDIFFICULTY=4\r\nMAXFPS=5\r\n"},
      {"empty section", ""},
      {"every value E", IniWithEveryKey("E")},
      {"every value starting with E", IniWithEveryKey("E5x")},
  };
  for (const auto& [label, lines] : files) {
    WriteUser(lines);
    std::string dataPath;
    const UserSettings settings = Load(&dataPath);
    for (const KeyField& key : kKeys) EXPECT_EQ(key.get(settings), key.defaultValue) << label << " " << key.name;
    EXPECT_EQ(std::tie(settings.DATAPATH, dataPath), std::make_tuple("", root_)) << label;
  }
}

TEST_F(UserSettingsTest, LeadingNumberParsingWidthsAndTheLeastBackgroundOffset) {
  struct Case {
    const char* text;
    int64_t narrow;  // a 16-bit key
    int64_t wide;    // a 32-bit key
    int32_t offset;  // BGPARTOFFSET, at least 20
  };
  const std::vector<Case> cases = {
      {"abc", 0, 0, 20},  // no number: 0, not the default
      {"e5", 0, 0, 20},   // only a capital E selects the default
      {"", 0, 0, 20},        {"123abc", 123, 123, 123}, {"  7 ", 7, 7, 20}, {"-3", -3, -3, 20},
      {"+4x", 4, 4, 20},     {"19", 19, 19, 20},        {"20", 20, 20, 20}, {"21", 21, 21, 21},
      {"2.5", 2, 2, 20},  // halves to even
      {"3.5", 4, 4, 20},
      {"1e3", 1, 1, 20},  // the exponent is not part of the number
      {"32767", 32767, 32767, 32767},
      {"32768", 32767, 32768, 32768},  // held at the field's end, never wrapped
      {"-40000", -32768, -40000, 20},
      {"99999999999", 32767, 2147483647, 2147483647},
  };
  for (const Case& c : cases) {
    const std::string text = c.text;
    WriteUser("SKIN_L=" + text + "\r\nPLAYERVOLUME=" + text + "\r\nBGPARTOFFSET=" + text + "\r\n");
    const UserSettings settings = Load();
    EXPECT_EQ(std::make_tuple(settings.SKIN_L, settings.PLAYERVOLUME, settings.BGPARTOFFSET),
              std::make_tuple(c.narrow, c.wide, c.offset)) << c.text;
  }
}

TEST_F(UserSettingsTest, DataPathSetting) {
  const std::string cases[][3] = {
      // the line, the setting, the data folder used
      {"DATAPATH=   ", "", root_},
      {"DATAPATH=", "", root_},
      {"DATAPATH=  /srv/songs  ", "/srv/songs", "/srv/songs"},
      {"DATAPATH=/srv/songs/", "/srv/songs/", "/srv/songs/"},  // the separator is kept
      {"DATAPATH=\\\\host\\share", "\\\\host\\share", "\\\\host\\share"},
      {"DATAPATH=mydata", "mydata", root_ + "\\mydata"},  // relative to the program folder
  };
  for (const auto& [line, setting, folder] : cases) {
    WriteUser(line + "\r\n");
    std::string dataPath;
    const UserSettings settings = Load(&dataPath);
    EXPECT_EQ(std::tie(settings.DATAPATH, dataPath), std::tie(setting, folder)) << line;
  }
}

TEST_F(UserSettingsTest, SaveEditsOnlyItsKeysAndNeverDataPath) {
  Write("user.ini", "; the player's notes\r\n[USER]\r\nDATAPATH = /old/data \r\nMAXFPS=30\r\nMYOWNKEY=keep me\r\n\r\n"
        "[OTHER]\r\nDIFFICULTY=9\r\n");
  UserSettings settings = Load();
  settings.DATAPATH = "/somewhere/else";
  settings.MAXFPS = 120;
  settings.JUDGEOFFSET = -12;
  settings.BGMVOLUME = 70000;
  ASSERT_TRUE(SaveUserSettings(settings, root_));

  const std::string after = Read("user.ini");
  EXPECT_EQ(after.find("; the player's notes\r\n[USER]\r\nDATAPATH = /old/data \r\nMAXFPS=120\r\nMYOWNKEY=keep me\r\n"),
            0u) << after;
  for (const char* kept : {"JUDGEOFFSET=-12\r\n", "BGMVOLUME=70000\r\n", "\r\n[OTHER]\r\nDIFFICULTY=9\r\n"}) {
    EXPECT_NE(after.find(kept), std::string::npos) << kept;
  }
  EXPECT_EQ(after.find("/somewhere/else"), std::string::npos);
  // Only the player's own DATAPATH line has a blank after "=".
  EXPECT_EQ(after.find("= ", after.find("DATAPATH") + 10), std::string::npos);

  std::string dataPath;
  const UserSettings reloaded = Load(&dataPath);
  EXPECT_EQ(dataPath, "/old/data");
  for (const KeyField& key : kKeys) EXPECT_EQ(key.get(reloaded), key.get(settings)) << key.name;
}

TEST_F(UserSettingsTest, JudgeOffsetSaveChangesThatLineAlone) {
  struct Case { const char* Name; std::string Before; int16_t Offset; std::string After; };
  const Case cases[] = {
      {"no file yet", "", 12, "[USER]\r\nJUDGEOFFSET=12\r\n"},
      {"its own line replaced, the rest kept", "; notes\r\n[USER]\r\nMAXFPS=E\r\nJUDGEOFFSET=E\r\nDATAPATH = /d \r\n",
       -7, "; notes\r\n[USER]\r\nMAXFPS=E\r\nJUDGEOFFSET=-7\r\nDATAPATH = /d \r\n"},
      {"added to the end of its section", "[USER]\r\nMAXFPS=30\r\n[OTHER]\r\nJUDGEOFFSET=5\r\n", 0,
       "[USER]\r\nMAXFPS=30\r\nJUDGEOFFSET=0\r\n[OTHER]\r\nJUDGEOFFSET=5\r\n"},
  };
  for (const Case& c : cases) {
    fs::remove(root_ + "/user.ini");
    if (!c.Before.empty()) Write("user.ini", c.Before);
    ASSERT_TRUE(SaveJudgeOffset(c.Offset, root_)) << c.Name;
    EXPECT_EQ(Read("user.ini"), c.After) << c.Name;
    EXPECT_EQ(Load().JUDGEOFFSET, c.Offset) << c.Name;
  }
}

TEST_F(UserSettingsTest, UnreadableFileGivesDefaultsAndIsNeverOverwritten) {
  Block("user.ini");
  UserSettings settings;
  settings.MAXFPS = 5;
  std::string dataPath;
  EXPECT_FALSE(LoadUserSettings(settings, dataPath, root_));
  EXPECT_EQ(std::tie(settings.MAXFPS, dataPath), std::make_tuple(60, root_));
  EXPECT_FALSE(SaveUserSettings(settings, root_));
  EXPECT_FALSE(SaveJudgeOffset(3, root_));
  EXPECT_TRUE(fs::is_directory(root_ + "/user.ini"));
}

}  // namespace
}  // namespace tessaru
