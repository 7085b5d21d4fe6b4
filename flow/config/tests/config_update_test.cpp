// The configuration screens' Update functions and value rules, without devices.
#include <gtest/gtest.h>

#include "flow/config/config_screen.h"
#include "flow/config/key_config.h"
#include "flow/config/setting_list.h"
#include "flow/tests/menu_rig.h"
#include "persist/key_settings.h"
#include "stage/play/stage_audio.h"

namespace tessaru {
namespace {

TEST(Config, RowValuesStopAtTheirEnds) {
  struct Case {
    int Row;
    int16_t Fps;
    const char* Key;
    int16_t WantFps;
    std::string WantText;
  };
  const Case cases[] = {
      {kConfigMaxFps, 120, "R", 125, "NO LIMIT"}, {kConfigMaxFps, 125, "R", 125, "NO LIMIT"},
      {kConfigMaxFps, 125, "L", 120, "120"},      {kConfigMaxFps, 5, "L", 5, "5"},
      {kConfigMaxFps, 10, "L", 5, "5"},
  };
  for (const Case& c : cases) {
    ConfigState s;
    s.Row = c.Row;
    s.Values.MAXFPS = c.Fps;
    UpdateConfig(s, Buttons(c.Key), 0);
    EXPECT_EQ(s.Values.MAXFPS, c.WantFps) << c.Fps << c.Key;
    EXPECT_EQ(ConfigValueText(c.Row, s.Values), c.WantText) << c.Fps << c.Key;
  }
  ConfigState level;
  level.Values.DIFFICULTY = 4;
  UpdateConfig(level, Buttons("R"), 0);
  EXPECT_EQ(ConfigValueText(kConfigGameLevel, level.Values), "GODLIKE");
  UpdateConfig(level, Buttons("L"), 0);
  EXPECT_EQ(ConfigValueText(kConfigGameLevel, level.Values), "HARD");
}

TEST(Config, HeldVolumeStepsEvery100MsAndStopsAt100) {
  ConfigState s;
  s.Row = kConfigBgmVolume;
  s.Values.BGMVOLUME = 90;
  const MenuButtons held = Buttons("r");
  int steps = 0;
  uint32_t reached = 0;
  EXPECT_EQ(UpdateConfig(s, Buttons("R"), 1000), ConfigEvent::VolumeChanged);
  for (uint32_t now = 1001; now <= 2500; ++now) {
    if (UpdateConfig(s, held, now) == ConfigEvent::VolumeChanged) ++steps;
    if (s.Values.BGMVOLUME == 100 && reached == 0) reached = now;
  }
  EXPECT_EQ(s.Values.BGMVOLUME, 100);
  EXPECT_EQ(steps, 9);
  EXPECT_EQ(reached, 1900u);  // the press and nine repeats: about one second
  // Letting go ends the repeat.
  s.Row = kConfigPlayerVolume;
  s.Values.PLAYERVOLUME = 50;
  UpdateConfig(s, Buttons("L"), 3000);
  UpdateConfig(s, MenuButtons{}, 3050);
  UpdateConfig(s, held, 3200);
  EXPECT_EQ(s.Values.PLAYERVOLUME, 49);
}

TEST(Config, CursorWalkAndTheHiddenSkinRow) {
  struct Case {
    int From;
    const char* Keys;  // t: Tab held
    int Want;
  };
  const Case cases[] = {{0, "U", kConfigSaveExit},       {kConfigSaveExit, "D", 0},
                        {kConfigSaveExit, "Dt", kConfigSkin}, {kConfigSkin, "Dt", 0},
                        {kConfigSkin, "U", kConfigSaveExit}, {3, "Dt", 4}};
  for (const Case& c : cases) {
    ConfigState s;
    s.Row = c.From;
    EXPECT_EQ(UpdateConfig(s, Buttons(c.Keys), 0), ConfigEvent::Moved);
    EXPECT_EQ(s.Row, c.Want) << c.From << c.Keys;
  }
  ConfigState skin;
  skin.Row = kConfigSkin;
  std::string seen;
  for (int i = 0; i < 3; ++i) {
    UpdateConfig(skin, Buttons("R"), 0);
    seen += ConfigValueText(kConfigSkin, skin.Values) + " ";
  }
  EXPECT_EQ(seen, "SPECIAL JOKE DEFAULT ");
}

TEST(Config, ResetSetsTheDefaultsOfItsRows) {
  ConfigState reset;
  reset.Row = kConfigReset;
  reset.Values.DIFFICULTY = 4;
  reset.Values.BGMVOLUME = 3;
  reset.Values.SKIN_L = 2;
  EXPECT_EQ(UpdateConfig(reset, Buttons("E"), 0), ConfigEvent::Reset);
  EXPECT_EQ(reset.Values.DIFFICULTY, 2);
  EXPECT_EQ(reset.Values.BGMVOLUME, 90);
  EXPECT_EQ(reset.Values.SKIN_L, 0);
}

TEST(Config, OutOfRangeValuesAreClampedForShowingAndSaving) {
  UserSettings s;
  s.DIFFICULTY = 9;
  s.BGMVOLUME = 250;
  s.PLAYERVOLUME = -4;
  s.MAXFPS = 0;
  s.SKIN_H = -1;
  s.RESOLUTION = 7;
  s.SNDPLAYQUALITY = -9;
  s.SOUNDING = 3;
  s.DRAWTEMP = 5;
  ClampConfigValues(s);
  EXPECT_EQ(s.DIFFICULTY, 4);
  EXPECT_EQ(s.BGMVOLUME, 100);
  EXPECT_EQ(s.PLAYERVOLUME, 0);
  EXPECT_EQ(s.MAXFPS, 5);
  EXPECT_EQ(s.SKIN_H, 0);
  EXPECT_EQ(s.RESOLUTION, 1);
  EXPECT_EQ(s.SNDPLAYQUALITY, -2);
  EXPECT_EQ(s.SOUNDING, 2);
  EXPECT_EQ(s.DRAWTEMP, 2);
}

TEST(Config, VolumeToAttenuation) {
  const std::pair<int32_t, int32_t> cases[] = {{50, -1081}, {100, 0}, {0, -4500}, {90, -129},
                                                {-5, -4500}, {250, 0}};
  for (const auto& [volume, want] : cases) EXPECT_EQ(VolumeToAttenuation(volume), want) << volume;
}

TEST(SettingList, ValuesClampAndTheActionRows) {
  const auto rows = SoundSettingRows();
  SettingListState s;
  s.Values.SNDPLAYQUALITY = 1;
  EXPECT_EQ(UpdateSettingList(s, rows, Buttons("R")), SettingEvent::None);
  EXPECT_EQ(SettingValueLabel(rows[0], s.Values.SNDPLAYQUALITY), "SAFE");
  s.Values.SNDPLAYQUALITY = -1;
  EXPECT_EQ(UpdateSettingList(s, rows, Buttons("L")), SettingEvent::Changed);
  EXPECT_EQ(SettingValueLabel(rows[0], s.Values.SNDPLAYQUALITY), "44100Hz 16Bit");
  EXPECT_EQ(UpdateSettingList(s, rows, Buttons("L")), SettingEvent::None);
  // Up from the first row lands on BACK TO MAIN CONFIG, which leaves.
  EXPECT_EQ(UpdateSettingList(s, rows, Buttons("U")), SettingEvent::Moved);
  EXPECT_EQ(s.Row, 4);
  EXPECT_EQ(UpdateSettingList(s, rows, Buttons("E")), SettingEvent::Back);
  s.Row = 3;
  EXPECT_EQ(UpdateSettingList(s, rows, Buttons("E")), SettingEvent::Reset);
  EXPECT_EQ(UpdateSettingList(s, rows, Buttons("1")), SettingEvent::Back);
  EXPECT_EQ(UpdateSettingList(s, rows, Buttons("X")), SettingEvent::Quit);
  // A hand-edited value shows as the nearest label.
  EXPECT_EQ(SettingValueLabel(DisplaySettingRows()[0], 5), "LOW (320x240x16)");
}

TEST(SettingList, VramEstimateFollowsTheOptions) {
  struct Case {
    int16_t Resolution, Dance, Back, Work;
    const char* Want;
  };
  // 640x480x2 = 600 KB a page; the dance sheets 360 KB each.
  const Case cases[] = {{0, 0, 0, 0, "(VRAM USE TOTAL:4.8MB)"},
                        {0, 1, 2, 2, "(VRAM USE TOTAL:1.8MB)"},
                        {0, 0, 1, 1, "(VRAM USE TOTAL:3.6MB)"},
                        {1, 0, 0, 0, "(VRAM USE TOTAL:1.2MB)"},
                        {1, 1, 2, 2, "(VRAM USE TOTAL:0.4MB)"}};
  for (const Case& c : cases) {
    UserSettings s;
    s.RESOLUTION = c.Resolution;
    s.DRAWDANCE = c.Dance;
    s.DRAWBACK = c.Back;
    s.DRAWTEMP = c.Work;
    EXPECT_EQ(VramText(s), c.Want) << c.Resolution << c.Dance << c.Back << c.Work;
  }
}

// --- KEY CONFIG ---------------------------------------------------------------------

KeyConfigInput Key(int input, bool enter = false) {
  KeyConfigInput in;
  in.Pressed = input;
  in.Enter = enter;
  return in;
}

KeyConfigState Capturing(int player, int slot) {
  KeyConfigState s;
  DefaultKeySettings(s.Map);
  s.Mode = KeyConfigMode::Capture;
  s.Player = player;
  s.Slot = slot;
  return s;
}

TEST(KeyConfig, AssigningAKeyTakenElsewhereClearsTheOtherAndSaysSo) {
  // Z (1P lane 1) chosen for 1P lane 2: X lets go of lane 2, Z leaves lane 1.
  KeyConfigState s = Capturing(0, 2);
  EXPECT_EQ(UpdateKeyConfig(s, Key('Z')), KeyConfigEvent::Captured);
  EXPECT_EQ(s.Notice, "Z IS 1P LANE 1: ENTER MOVES IT");
  EXPECT_EQ(s.Map['Z'], 1);  // nothing changes before ENTER
  EXPECT_EQ(UpdateKeyConfig(s, Key(-1, true)), KeyConfigEvent::Assigned);
  EXPECT_EQ(s.Map['Z'], 2);
  EXPECT_EQ(s.Map['X'], -1);
  EXPECT_EQ(s.Notice, "Z MOVED FROM 1P LANE 1");
  EXPECT_EQ(FunctionInputs(s.Map, 1, 8), "---");
  EXPECT_EQ(s.Mode, KeyConfigMode::Pick);

  // A joypad button joins the keyboard key instead of replacing it.
  KeyConfigState pad = Capturing(1, 3);
  UpdateKeyConfig(pad, Key(JoypadInput(1, kJoyFirstButton + 2)));
  UpdateKeyConfig(pad, Key(-1, true));
  EXPECT_EQ(pad.Map[190], 8);
  EXPECT_EQ(FunctionInputs(pad.Map, 8, 6), ". J2B3");

  // Space for 1P decide: Enter keeps deciding.
  KeyConfigState decide = Capturing(0, 0);
  UpdateKeyConfig(decide, Key(' '));
  UpdateKeyConfig(decide, Key(-1, true));
  EXPECT_EQ(decide.Map[' '], 0);
  EXPECT_EQ(decide.Map[kVkEnter], 0);
}

TEST(KeyConfig, DeleteEnterAndCancelling) {
  KeyConfigState s = Capturing(0, 1);
  EXPECT_EQ(UpdateKeyConfig(s, Key(-1, true)), KeyConfigEvent::None);  // nothing chosen yet
  EXPECT_EQ(UpdateKeyConfig(s, Key(kVkDelete)), KeyConfigEvent::Refused);
  EXPECT_EQ(s.Notice, "DEL STAYS 2P DECIDE");
  EXPECT_EQ(s.Pending, -1);
  UpdateKeyConfig(s, Key('Q'));
  KeyConfigInput f1;
  f1.Buttons.F1 = true;
  EXPECT_EQ(UpdateKeyConfig(s, f1), KeyConfigEvent::Moved);
  EXPECT_EQ(s.Map['Q'], -1);
  EXPECT_EQ(s.Mode, KeyConfigMode::Pick);
  EXPECT_EQ(UpdateKeyConfig(s, f1), KeyConfigEvent::Moved);
  EXPECT_EQ(s.Mode, KeyConfigMode::Menu);
  EXPECT_EQ(UpdateKeyConfig(s, f1), KeyConfigEvent::Back);
  KeyConfigInput esc;
  esc.Buttons.Escape = true;
  KeyConfigState capturing = Capturing(1, 1);
  EXPECT_EQ(UpdateKeyConfig(capturing, esc), KeyConfigEvent::Quit);
}

TEST(KeyConfig, WhichPressCanBeCapturedAndHowInputsAreNamed) {
  struct Case {
    std::vector<int> Pressed;
    int Want;
  };
  const Case cases[] = {{{kVkEnter}, -1},           {{kVkEscape, kVkF1}, -1},
                        {{0x10, 0xA1}, 0xA1},       {{'A', JoypadInput(0, 5)}, 'A'},
                        {{JoypadInput(1, kJoyLeft)}, JoypadInput(1, kJoyLeft)}};
  for (const Case& c : cases) {
    std::array<int16_t, KeyCount> states{};
    for (int i : c.Pressed) states[static_cast<size_t>(i)] = KeyPressed;
    EXPECT_EQ(CapturableInput(states), c.Want);
  }
  std::array<int16_t, KeyCount> held{};
  held['A'] = KeyHeld;
  EXPECT_EQ(CapturableInput(held), -1);

  const std::pair<int, const char*> names[] = {
      {'Z', "Z"},          {0xBC, ","},        {0x65, "NUM5"},   {0x7B, "F12"},
      {0xE9, "#233"},      {JoypadInput(0, kJoyUp), "J1UP"},  {JoypadInput(1, 35), "J2B32"}};
  for (const auto& [input, want] : names) EXPECT_EQ(InputName(input), want) << input;
  EXPECT_EQ(FunctionName(10), "FUNCTION 10");

  KeyMapTable crowded{};
  crowded.fill(-1);
  crowded['A'] = crowded['B'] = crowded['C'] = crowded['D'] = crowded[0xA0] = 3;
  EXPECT_EQ(FunctionInputs(crowded, 3, 6), "A B C+");
}

}  // namespace
}  // namespace tessaru
