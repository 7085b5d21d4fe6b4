#pragma once
// The player's settings ("user.ini", section [USER], in the program folder). Field names
// are the INI keys, so a setting is found by the same name in code and in the file.
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaru {

inline constexpr std::string_view kUserSettingsFile = "user.ini";
inline constexpr std::string_view kUserSettingsSection = "USER";
// The background parts are never scheduled earlier than this offset.
inline constexpr int32_t kMinBgPartOffset = 20;

struct UserSettings {
  int16_t RESOLUTION = 0;
  int16_t DIFFICULTY = 2;
  int16_t DRAWING = 0;
  int16_t DRAWBACK = 0;
  int16_t DRAWDANCE = 0;
  int16_t DRAWTEMP = 0;
  int16_t DRAWALPHA = 0;
  int16_t DRAWSTRET = 0;
  int16_t SOUNDING = 0;
  int16_t SNDPLAYQUALITY = 0;
  int16_t SNDPANVOLCTRL = 0;
  int32_t BGMVOLUME = 100;
  int32_t PLAYERVOLUME = 100;
  int32_t BGPARTOFFSET = kMinBgPartOffset;
  int16_t MAXFPS = 60;
  int16_t AUTODEC = 0;
  int16_t USEDX = 0;
  int16_t FULLSCREEN = 1;  // 0 = full screen, anything else = windowed
  int16_t SELCOM = 0;
  int16_t JUDGEMODE = 0;
  int16_t JUDGEOFFSET = 0;
  int16_t JUDGESTYLE = 0;
  // As read (blanks stripped); empty means the program folder. Never written back: the
  // player sets it by hand and a save must not undo that.
  std::string DATAPATH;
  int16_t SKIN_H = 0;
  int16_t SKIN_L = 0;
  int16_t SCANSONGS = 0;
};

// Reads every key (a missing file or key gives the default; a value starting with "E"
// gives the default; other text gives its leading number, 0 when there is none) and sets
// dataPath: DATAPATH when it names a folder, else the program folder. A relative DATAPATH
// is taken from the program folder, not from wherever the game was started. False when
// the file exists but cannot be read (the defaults are then in use).
bool LoadUserSettings(UserSettings& settings, std::string& dataPath,
                      std::string_view programFolder);

// Writes every key except DATAPATH, editing the file's own lines and replacing the file
// once. False when it could not be written (nothing is changed then).
bool SaveUserSettings(const UserSettings& settings, std::string_view programFolder);

// Writes JUDGEOFFSET alone, leaving every other line of the file as it is (the results'
// timing panel changes only this one). False when it could not be written.
bool SaveJudgeOffset(int16_t judgeOffset, std::string_view programFolder);

}  // namespace tessaru
