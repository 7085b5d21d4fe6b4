#include "persist/user_settings.h"

#include <variant>

#include "core/numbers.h"
#include "core/paths.h"
#include "core/text.h"
#include "persist/ini_file.h"
#include "persist/profile_number.h"

namespace tessaru {
namespace {

using Field = std::variant<int16_t UserSettings::*, int32_t UserSettings::*>;
struct NumericKey {
  std::string_view name;
  Field field;
};

// Every numeric key, in the order they are written (which decides where new keys land in
// a fresh file). Reading order does not matter: each key is read on its own.
constexpr NumericKey kNumericKeys[] = {
    {"DIFFICULTY", &UserSettings::DIFFICULTY},
    {"DRAWING", &UserSettings::DRAWING},
    {"DRAWBACK", &UserSettings::DRAWBACK},
    {"DRAWDANCE", &UserSettings::DRAWDANCE},
    {"DRAWTEMP", &UserSettings::DRAWTEMP},
    {"DRAWSTRET", &UserSettings::DRAWSTRET},
    {"DRAWALPHA", &UserSettings::DRAWALPHA},
    {"SOUNDING", &UserSettings::SOUNDING},
    {"SNDPLAYQUALITY", &UserSettings::SNDPLAYQUALITY},
    {"SNDPANVOLCTRL", &UserSettings::SNDPANVOLCTRL},
    {"BGMVOLUME", &UserSettings::BGMVOLUME},
    {"PLAYERVOLUME", &UserSettings::PLAYERVOLUME},
    {"BGPARTOFFSET", &UserSettings::BGPARTOFFSET},
    {"MAXFPS", &UserSettings::MAXFPS},
    {"AUTODEC", &UserSettings::AUTODEC},
    {"USEDX", &UserSettings::USEDX},
    {"FULLSCREEN", &UserSettings::FULLSCREEN},
    {"RESOLUTION", &UserSettings::RESOLUTION},
    {"SELCOM", &UserSettings::SELCOM},
    {"JUDGEMODE", &UserSettings::JUDGEMODE},
    {"JUDGEOFFSET", &UserSettings::JUDGEOFFSET},
    {"JUDGESTYLE", &UserSettings::JUDGESTYLE},
    {"SKIN_H", &UserSettings::SKIN_H},
    {"SKIN_L", &UserSettings::SKIN_L},
    {"SCANSONGS", &UserSettings::SCANSONGS},
};

std::string UserSettingsPath(std::string_view programFolder) {
  return JoinLogical(programFolder, kUserSettingsFile);
}

}  // namespace

bool LoadUserSettings(UserSettings& settings, std::string& dataPath,
                      std::string_view programFolder) {
  const IniFile file(UserSettingsPath(programFolder));
  const UserSettings defaults;
  for (const NumericKey& key : kNumericKeys) {
    const std::string value = file.Get(kUserSettingsSection, key.name, "E");
    std::visit(
        [&](auto member) {
          using T = std::remove_reference_t<decltype(settings.*member)>;
          settings.*member = value.starts_with('E') ? defaults.*member : ProfileNumber<T>(value);
        },
        key.field);
  }
  if (settings.BGPARTOFFSET < kMinBgPartOffset) settings.BGPARTOFFSET = kMinBgPartOffset;

  settings.DATAPATH = std::string(TrimBlanks(file.Get(kUserSettingsSection, "DATAPATH", " ")));
  if (settings.DATAPATH.empty()) {
    dataPath = std::string(programFolder);
  } else if (settings.DATAPATH.front() == '/' || settings.DATAPATH.front() == '\\') {
    dataPath = settings.DATAPATH;
  } else {
    dataPath = JoinLogical(programFolder, settings.DATAPATH);
  }
  return file.State() != IniFile::Source::Unreadable;
}

bool SaveUserSettings(const UserSettings& settings, std::string_view programFolder) {
  IniFile file(UserSettingsPath(programFolder));
  for (const NumericKey& key : kNumericKeys) {
    std::visit(
        [&](auto member) {
          file.Set(kUserSettingsSection, key.name, NumberText(int64_t{settings.*member}));
        },
        key.field);
  }
  return file.Save();
}

bool SaveJudgeOffset(int16_t judgeOffset, std::string_view programFolder) {
  return WriteIniString(UserSettingsPath(programFolder), kUserSettingsSection, "JUDGEOFFSET",
                        NumberText(int64_t{judgeOffset}));
}

}  // namespace tessaru
