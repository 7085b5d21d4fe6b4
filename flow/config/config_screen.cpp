#include "flow/config/config_screen.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "content/data_files.h"
#include "core/numbers.h"
#include "flow/config/config_draw.h"
#include "flow/config/key_config.h"
#include "flow/config/setting_list.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"
#include "layout/config_layout.h"
#include "stage/play/stage_audio.h"
#include "flow/screen_names.h"

namespace tessaru {
namespace {

namespace cl = config_layout;

constexpr int kLastRegularRow = kConfigSaveExit;
constexpr int16_t kMaxDifficulty = 4;
constexpr int32_t kMaxVolume = 100;
constexpr int16_t kSkins = 3;

constexpr std::string_view kDifficultyLabels[] = {"BEGINNER", "EASY", "NORMAL", "HARD", "GODLIKE"};
constexpr std::string_view kComPartLabels[] = {"AUTO", "SELECT"};
constexpr std::string_view kSkinLabels[] = {"DEFAULT", "SPECIAL", "JOKE"};
constexpr std::string_view kRowLabels[kConfigRows] = {
    "GAMELEVEL",   "VOLUME",         "",          "MAX FPS",     "COM PART", "DISPLAY SETTING",
    "SOUND SETTING", "KEY CONFIG", "RESET SETTING", "SAVE & EXIT", "SKIN"};

bool IsVolumeRow(int row) { return row == kConfigBgmVolume || row == kConfigPlayerVolume; }

int32_t& VolumeOf(UserSettings& s, int row) {
  return row == kConfigBgmVolume ? s.BGMVOLUME : s.PLAYERVOLUME;
}

// Left/Right on a value row; false when the value stayed where it was.
bool ChangeValue(UserSettings& s, int row, int direction) {
  const auto step16 = [](int16_t& v, int delta, int16_t lo, int16_t hi) {
    const int16_t before = v;
    v = static_cast<int16_t>(std::clamp<int>(v + delta, lo, hi));
    return v != before;
  };
  switch (row) {
    case kConfigGameLevel: return step16(s.DIFFICULTY, direction, 0, kMaxDifficulty);
    case kConfigBgmVolume:
    case kConfigPlayerVolume: {
      int32_t& v = VolumeOf(s, row);
      const int32_t before = v;
      v = std::clamp<int32_t>(v + direction, 0, kMaxVolume);
      return v != before;
    }
    case kConfigMaxFps: return step16(s.MAXFPS, direction * kFpsStep, kMinFps, kUncappedFps);
    case kConfigComPart: s.SELCOM = s.SELCOM == 0 ? int16_t{1} : int16_t{0}; return true;
    case kConfigSkin: s.SKIN_H = static_cast<int16_t>((s.SKIN_H + 1) % kSkins); return true;
    default: return false;
  }
}

std::string_view Pick(std::span<const std::string_view> labels, int16_t v) {
  return labels[static_cast<size_t>(std::clamp<int>(v, 0, static_cast<int>(labels.size()) - 1))];
}

// The two test sounds of the volume rows: loaded on first use, released on Enter and
// when CONFIG ends.
class TestSounds {
 public:
  explicit TestSounds(Game& game) : game_(game) {}
  ~TestSounds() { Release(); }
  TestSounds(const TestSounds&) = delete;
  TestSounds& operator=(const TestSounds&) = delete;

  void Play(int row, int32_t volume) {
    const size_t i = row == kConfigBgmVolume ? 0 : 1;
    if (slots_[i] < 0 && !failed_[i]) {
      const std::string path = DataFile(game_, i == 0 ? data_files::kMusicTestSound : data_files::kPlayerTestSound);
      slots_[i] = game_.Sound.LoadMultiCopyWave(path, 0, 0);
      // Said once: a missing file must not add a line for every step of a held button.
      if (slots_[i] < 0) {
        failed_[i] = true;
        if (game_.Sound.IsSoundOpen()) game_.Errors.AddLoadFailure(path);
      }
    }
    if (slots_[i] < 0) return;
    game_.Sound.SetVolPan(slots_[i], 0, VolumeToAttenuation(volume), false);
    game_.Sound.PlaySound(slots_[i], true, false);
  }

  void Release() {
    for (SoundSlot& slot : slots_) {
      if (slot >= 0) game_.Sound.ReleaseSound(slot);
      slot = -1;
    }
  }

 private:
  Game& game_;
  std::array<SoundSlot, 2> slots_{-1, -1};
  std::array<bool, 2> failed_{false, false};
};

// F1: the file's values come back. The data folder stays the one the game started on,
// and the sound output follows the quality that is now in the settings.
void ReloadSettings(Game& game, const UserSettings& onEntry) {
  UserSettings fromFile;
  std::string dataPath;
  const int16_t qualityInUse = game.Settings.SNDPLAYQUALITY;
  const int16_t soundingInUse = game.Settings.SOUNDING;
  // A file that can no longer be read must not turn the settings into defaults: the
  // values CONFIG started with are what the file said.
  if (!LoadUserSettings(fromFile, dataPath, game.ProgramFolder)) fromFile = onEntry;
  fromFile.DATAPATH = game.Settings.DATAPATH;
  game.Settings = fromFile;
  if (game.Settings.SNDPLAYQUALITY != qualityInUse) SetupSoundOutput(game);
  ReloadMenuSoundsIfChanged(game, soundingInUse);
}

void SaveAndApply(Game& game) {
  // The output follows the chosen quality at once; a refused quality falls back and the
  // value that worked is the one saved. RESOLUTION needs nothing here: the display is
  // made at the chosen size when the next stage starts.
  SetupSoundOutput(game);
  if (!CanSaveUserFiles(game)) return;
  if (SaveUserSettings(game.Settings, game.ProgramFolder)) {
    game.LoadedSettings = game.Settings;
  } else {
    game.Errors.Add(game.ProgramFolder + "\\" + std::string(kUserSettingsFile) + "の保存に失敗しました");
  }
}

void DrawConfig(GraphLib& g, const ConfigState& s, int16_t blink) {
  DrawConfigHeader(g, "CONFIG", "F1:EXIT WITHOUT SAVING");
  for (int row = 0; row < kConfigRows; ++row) {
    // The hidden row shows only while the cursor is on it.
    if (row == kConfigSkin && s.Row != kConfigSkin) continue;
    const int y = cl::kFirstRowY + row * cl::kConfigRowHeight;
    if (!kRowLabels[row].empty()) g.DrawSystemText(BackIndex, kRowLabels[row], cl::kLabelX, y, 1);
    if (IsVolumeRow(row)) {
      g.DrawSystemText(BackIndex, row == kConfigBgmVolume ? "BGM" : "PLAYER", cl::kConfigSubLabelX, y, 1);
      const int32_t v = row == kConfigBgmVolume ? s.Values.BGMVOLUME : s.Values.PLAYERVOLUME;
      DrawVolumeBar(g, cl::kVolumeBarX, y, v);
      g.DrawSystemText(BackIndex, NumberText(int64_t{v}), cl::kVolumeNumberX, y, 1);
    } else {
      const std::string value = ConfigValueText(row, s.Values);
      if (!value.empty()) g.DrawSystemText(BackIndex, value, cl::kConfigValueX, y, 1);
    }
    if (row == s.Row && blink == 0) g.DrawSystemText(BackIndex, ">", cl::kCursorX, y, 1);
  }
}

}  // namespace

ConfigEvent UpdateConfig(ConfigState& s, const MenuButtons& b, uint32_t now) {
  if (b.Escape) return ConfigEvent::Quit;
  if (b.F1) return ConfigEvent::Back;
  if (b.AnyUp()) {
    s.RepeatDirection = 0;
    s.Row = s.Row == 0 ? kLastRegularRow : s.Row - 1;
    return ConfigEvent::Moved;
  }
  if (b.AnyDown()) {
    s.RepeatDirection = 0;
    if (s.Row == kLastRegularRow) {
      s.Row = b.TabHeld ? kConfigSkin : 0;
    } else if (s.Row == kConfigSkin) {
      s.Row = 0;
    } else {
      ++s.Row;
    }
    return ConfigEvent::Moved;
  }
  const int direction = b.AnyRight() ? 1 : b.AnyLeft() ? -1 : 0;
  if (direction != 0) {
    if (!ChangeValue(s.Values, s.Row, direction)) return ConfigEvent::None;
    if (!IsVolumeRow(s.Row)) return ConfigEvent::Changed;
    s.RepeatDirection = direction;
    s.LastStepMs = now;
    return ConfigEvent::VolumeChanged;
  }
  if (b.AnyDecide()) {
    s.RepeatDirection = 0;
    switch (s.Row) {
      case kConfigBgmVolume:
      case kConfigPlayerVolume: return ConfigEvent::StopTestSounds;
      case kConfigDisplay: return ConfigEvent::OpenDisplay;
      case kConfigSound: return ConfigEvent::OpenSound;
      case kConfigKeys: return ConfigEvent::OpenKeys;
      case kConfigReset: ResetConfigValues(s.Values); return ConfigEvent::Reset;
      case kConfigSaveExit: return ConfigEvent::SaveAndExit;
      default: return ConfigEvent::None;
    }
  }
  // A volume button still held steps on every kVolumeRepeatMs.
  if (s.RepeatDirection != 0 && IsVolumeRow(s.Row)) {
    const bool held = s.RepeatDirection > 0 ? (b.Side[0].RightHeld || b.Side[1].RightHeld)
                                            : (b.Side[0].LeftHeld || b.Side[1].LeftHeld);
    if (!held) {
      s.RepeatDirection = 0;
    } else if (now - s.LastStepMs >= kVolumeRepeatMs) {
      s.LastStepMs = now;
      if (ChangeValue(s.Values, s.Row, s.RepeatDirection)) return ConfigEvent::VolumeChanged;
    }
  }
  return ConfigEvent::None;
}

void ClampConfigValues(UserSettings& s) {
  const auto clamp16 = [](int16_t& v, int16_t lo, int16_t hi) { v = std::clamp(v, lo, hi); };
  clamp16(s.DIFFICULTY, 0, kMaxDifficulty);
  s.BGMVOLUME = std::clamp<int32_t>(s.BGMVOLUME, 0, kMaxVolume);
  s.PLAYERVOLUME = std::clamp<int32_t>(s.PLAYERVOLUME, 0, kMaxVolume);
  clamp16(s.MAXFPS, kMinFps, kUncappedFps);
  clamp16(s.SELCOM, 0, 1);
  clamp16(s.SKIN_H, 0, kSkins - 1);
  for (const auto rows : {DisplaySettingRows(), SoundSettingRows()}) {
    for (const SettingValueRow& row : rows) clamp16(s.*row.Field, row.Min, row.Max);
  }
}

void ResetConfigValues(UserSettings& s) {
  s.DIFFICULTY = 2;
  s.BGMVOLUME = 90;
  s.PLAYERVOLUME = 100;
  s.MAXFPS = 60;
  s.SELCOM = 0;
  s.SKIN_H = 0;
  s.SKIN_L = 0;
}

std::string ConfigValueText(int row, const UserSettings& s) {
  switch (row) {
    case kConfigGameLevel: return std::string(Pick(kDifficultyLabels, s.DIFFICULTY));
    case kConfigMaxFps: return s.MAXFPS >= kUncappedFps ? "NO LIMIT" : NumberText(int64_t{s.MAXFPS});
    case kConfigComPart: return std::string(Pick(kComPartLabels, s.SELCOM));
    case kConfigSkin: return std::string(Pick(kSkinLabels, s.SKIN_H));
    default: return "";
  }
}

void RunConfig(Game& game) {
  const UserSettings onEntry = game.Settings;
  ConfigState s;
  ClampConfigValues(game.Settings);
  s.Values = game.Settings;
  TestSounds sounds(game);
  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING < 3 ? pages.Load(data_files::kMenuBack) : -1;

  for (;;) {
    // A fresh frame after every sub-screen, so CONFIG fades in again.
    ScreenFrame frame(game, screen_name::kConfig);
    ConfigEvent event = ConfigEvent::None;
    while (event != ConfigEvent::OpenDisplay && event != ConfigEvent::OpenSound) {
      const MenuButtons& b = frame.Poll();
      event = UpdateConfig(s, b, game.Clock().GetTickCount());
      // Values change in place: the frame cap, for one, holds at once.
      game.Settings = s.Values;
      switch (event) {
        case ConfigEvent::Moved:
        case ConfigEvent::Changed: PlayMenuSound(game, kCursorSound); break;
        case ConfigEvent::VolumeChanged:
          sounds.Play(s.Row, s.Row == kConfigBgmVolume ? s.Values.BGMVOLUME : s.Values.PLAYERVOLUME);
          break;
        case ConfigEvent::StopTestSounds: sounds.Release(); break;
        case ConfigEvent::Reset:
        case ConfigEvent::OpenDisplay:
        case ConfigEvent::OpenSound: PlayMenuSound(game, kDecideSound); break;
        case ConfigEvent::OpenKeys:
          PlayMenuSound(game, kDecideSound);
          sounds.Release();
          RunKeyConfig(game);
          // KEY CONFIG ends CONFIG too; unsaved CONFIG values go as they do on F1.
          ReloadSettings(game, onEntry);
          return;
        case ConfigEvent::SaveAndExit:
          PlayMenuSound(game, kDecideSound);
          sounds.Release();
          SaveAndApply(game);
          return;
        case ConfigEvent::Back:
          sounds.Release();
          ReloadSettings(game, onEntry);
          return;
        case ConfigEvent::Quit:
          // Unsaved values must not reach the file through the driver's exit save.
          sounds.Release();
          ReloadSettings(game, onEntry);
          game.State.QuitRequested = true;
          return;
        default: break;
      }
      if (frame.DrawDue()) {
        frame.DrawBackground(back);
        DrawConfig(game.Graph, s, frame.Blink());
        frame.Show();
      }
    }
    if (event == ConfigEvent::OpenDisplay) {
      RunDisplaySetting(game);
    } else {
      RunSoundSetting(game);
    }
    if (game.State.QuitRequested) {
      ReloadSettings(game, onEntry);
      return;
    }
    s.Values = game.Settings;
  }
}

}  // namespace tessaru
