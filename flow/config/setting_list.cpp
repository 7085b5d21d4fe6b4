#include "flow/config/setting_list.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "content/data_files.h"
#include "core/numbers.h"
#include "flow/config/config_draw.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"
#include "layout/config_layout.h"
#include "flow/screen_names.h"

namespace tessaru {
namespace {

namespace cl = config_layout;

constexpr std::string_view kResolutionLabels[] = {"HIGH(640x480x16)", "LOW (320x240x16)"};
constexpr std::string_view kOnOff[] = {"ON", "OFF"};
constexpr std::string_view kBackAnimeLabels[] = {"ON", "WALLPAPER ONLY", "OFF"};
constexpr std::string_view kWorkAreaLabels[] = {"FULL", "LOW", "OFF"};
constexpr std::string_view kQualityLabels[] = {"44100Hz 16Bit", "22050Hz 16Bit", "22050Hz 8Bit(NORMAL)",
                                               "SAFE"};
constexpr std::string_view kPanVolumeLabels[] = {"FULL", "HIGH", "LOW", "SAFE", "OFF"};
constexpr std::string_view kPlayBgmLabels[] = {"ON", "NOBGM", "PLAYER ONLY"};

constexpr std::array<SettingValueRow, 4> kDisplayRows = {{
    {"RESOLUTION", &UserSettings::RESOLUTION, 0, 1, kResolutionLabels},
    {"DANCE ANIME", &UserSettings::DRAWDANCE, 0, 1, kOnOff},
    {"BACK ANIME", &UserSettings::DRAWBACK, 0, 2, kBackAnimeLabels},
    {"WORK AREA", &UserSettings::DRAWTEMP, 0, 2, kWorkAreaLabels},
}};

constexpr std::array<SettingValueRow, 3> kSoundRows = {{
    {"PLAY QUALITY", &UserSettings::SNDPLAYQUALITY, -2, 1, kQualityLabels},
    {"PAN,VOLUME CTRL", &UserSettings::SNDPANVOLCTRL, 0, 4, kPanVolumeLabels},
    {"PLAY BGM", &UserSettings::SOUNDING, 0, 2, kPlayBgmLabels},
}};

// Pages of the VRAM estimate, in units of one screen page (a quarter of the screen for
// the dance sheets, which hold a 480x384 sheet per dancer at 640x480).
constexpr int64_t kScreenPagesAlways = 3;  // front buffer, back buffer, play sheet
constexpr int64_t kDanceSheetBytes = 480 * 384 * 2;
constexpr int64_t kDancers = 2;
constexpr int64_t kBackAnimePages[] = {2, 1, 0};  // animation pictures, wallpaper, none
constexpr int64_t kWorkAreaPages[] = {2, 1, 0};

int Rows(std::span<const SettingValueRow> rows) { return static_cast<int>(rows.size()) + 2; }

std::string OutputText(const Game& game) {
  if (!game.Sound.IsSoundOpen()) return "OUTPUT NOW: NONE";
  const platform::AudioFormat& f = game.Sound.OutputFormat();
  return "OUTPUT NOW: " + NumberText(int64_t{f.Rate}) + "Hz " + NumberText(int64_t{f.Bits}) + "Bit";
}

void DrawSettingList(GraphLib& g, std::string_view title, std::span<const SettingValueRow> rows,
                     const SettingListState& s, const std::string& note, int16_t blink) {
  DrawConfigHeader(g, title, "F1:BACK TO MAIN CONFIG");
  int y = cl::kFirstRowY;
  const int n = static_cast<int>(rows.size());
  for (int row = 0; row < Rows(rows); ++row) {
    if (row == n) {
      // The note line stands between the values and the two actions.
      g.DrawSystemText(BackIndex, note, cl::kSettingNoteX, y, 1);
      y += cl::kSettingRowHeight;
    }
    std::string_view label = row == n ? "RESET SETTING" : row == n + 1 ? "BACK TO MAIN CONFIG" : rows[static_cast<size_t>(row)].Label;
    g.DrawSystemText(BackIndex, label, cl::kLabelX, y, 1);
    if (row < n) {
      const SettingValueRow& r = rows[static_cast<size_t>(row)];
      g.DrawSystemText(BackIndex, SettingValueLabel(r, s.Values.*r.Field), cl::kSettingValueX, y, 1);
    }
    if (row == s.Row && blink == 0) g.DrawSystemText(BackIndex, ">", cl::kCursorX, y, 1);
    y += cl::kSettingRowHeight;
  }
}

template <typename Note, typename AfterChange>
void RunSettingList(Game& game, std::string_view screen, std::string_view title, std::span<const SettingValueRow> rows,
                    void (*reset)(UserSettings&), Note note, AfterChange afterChange) {
  SettingListState s;
  s.Values = game.Settings;
  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING < 3 ? pages.Load(data_files::kMenuBack) : -1;
  ScreenFrame frame(game, screen);
  for (;;) {
    const MenuButtons& b = frame.Poll();
    const SettingEvent event = UpdateSettingList(s, rows, b);
    if (event == SettingEvent::Reset) reset(s.Values);
    if (event == SettingEvent::Changed || event == SettingEvent::Reset) {
      game.Settings = s.Values;
      afterChange(game);
      s.Values = game.Settings;
    }
    switch (event) {
      case SettingEvent::Moved:
      case SettingEvent::Changed: PlayMenuSound(game, kCursorSound); break;
      case SettingEvent::Reset:
      case SettingEvent::Back: PlayMenuSound(game, kDecideSound); break;
      case SettingEvent::Quit: game.State.QuitRequested = true; break;
      default: break;
    }
    if (event == SettingEvent::Back || event == SettingEvent::Quit) return;
    if (frame.DrawDue()) {
      frame.DrawBackground(back);
      DrawSettingList(game.Graph, title, rows, s, note(game, s.Values), frame.Blink());
      frame.Show();
    }
  }
}

}  // namespace

SettingEvent UpdateSettingList(SettingListState& s, std::span<const SettingValueRow> rows,
                               const MenuButtons& b) {
  if (b.Escape) return SettingEvent::Quit;
  if (b.F1) return SettingEvent::Back;
  const int count = Rows(rows);
  const int n = static_cast<int>(rows.size());
  if (b.AnyUp() || b.AnyDown()) {
    s.Row = (s.Row + (b.AnyUp() ? count - 1 : 1)) % count;
    return SettingEvent::Moved;
  }
  if ((b.AnyLeft() || b.AnyRight()) && s.Row < n) {
    const SettingValueRow& row = rows[static_cast<size_t>(s.Row)];
    int16_t& v = s.Values.*row.Field;
    const int16_t before = v;
    v = static_cast<int16_t>(std::clamp(v + (b.AnyRight() ? 1 : -1), int{row.Min}, int{row.Max}));
    return v == before ? SettingEvent::None : SettingEvent::Changed;
  }
  if (b.AnyDecide()) {
    if (s.Row == n) return SettingEvent::Reset;
    if (s.Row == n + 1) return SettingEvent::Back;
  }
  return SettingEvent::None;
}

std::string_view SettingValueLabel(const SettingValueRow& row, int16_t value) {
  const int i = std::clamp<int>(value, row.Min, row.Max) - row.Min;
  return row.Labels[static_cast<size_t>(std::min<int>(i, static_cast<int>(row.Labels.size()) - 1))];
}

std::span<const SettingValueRow> DisplaySettingRows() { return kDisplayRows; }
std::span<const SettingValueRow> SoundSettingRows() { return kSoundRows; }

void ResetDisplayValues(UserSettings& s) {
  s.DRAWALPHA = 0;
  s.DRAWBACK = 0;
  s.DRAWDANCE = 0;
  s.RESOLUTION = 0;
  s.DRAWTEMP = 0;
  s.DRAWING = 0;
  s.DRAWSTRET = 1;
}

void ResetSoundValues(UserSettings& s) {
  s.SNDPLAYQUALITY = -2;
  s.SOUNDING = 0;
  s.SNDPANVOLCTRL = 0;
}

int64_t VramEstimateBytes(const UserSettings& s) {
  const bool low = s.RESOLUTION == 1;
  const int64_t screen = low ? 320 * 240 * 2 : 640 * 480 * 2;
  const int64_t dance = low ? kDanceSheetBytes / 4 : kDanceSheetBytes;
  const auto pick = [](const int64_t (&table)[3], int16_t v) { return table[std::clamp<int>(v, 0, 2)]; };
  int64_t total = kScreenPagesAlways * screen;
  if (s.DRAWDANCE == 0) total += kDancers * dance;
  total += pick(kBackAnimePages, s.DRAWBACK) * screen;
  total += pick(kWorkAreaPages, s.DRAWTEMP) * screen;
  return total;
}

std::string VramText(const UserSettings& s) {
  // Tenths of a megabyte, rounded half up, written with the decimal point.
  const int64_t tenths = (VramEstimateBytes(s) * 10 + 512 * 1024) / (1024 * 1024);
  return "(VRAM USE TOTAL:" + NumberText(tenths / 10) + "." + NumberText(tenths % 10) + "MB)";
}

void RunDisplaySetting(Game& game) {
  RunSettingList(
      game, screen_name::kDisplaySetting, "DISPLAY SETTING", DisplaySettingRows(), ResetDisplayValues,
      [](const Game&, const UserSettings& v) { return VramText(v); }, [](Game&) {});
}

void RunSoundSetting(Game& game) {
  RunSettingList(
      game, screen_name::kSoundSetting, "SOUND SETTING", SoundSettingRows(), ResetSoundValues,
      [](const Game& g, const UserSettings&) { return OutputText(g); },
      [quality = game.Settings.SNDPLAYQUALITY, sounding = game.Settings.SOUNDING](Game& g) mutable {
        // The output follows the quality at once; a refused one steps down as at start-up.
        if (g.Settings.SNDPLAYQUALITY != quality) SetupSoundOutput(g);
        ReloadMenuSoundsIfChanged(g, sounding);
        quality = g.Settings.SNDPLAYQUALITY;
        sounding = g.Settings.SOUNDING;
      });
}

}  // namespace tessaru
