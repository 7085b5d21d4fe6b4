// CONFIG and its sub-screens on the headless devices with scripted keys: what reaches
// "user.ini", "keyset.ini" and the sound device, and a picture of every screen.
#include <gtest/gtest.h>

#include "flow/config/config_screen.h"
#include "flow/menu_sound.h"
#include "flow/tests/game_rig.h"
#include "persist/key_settings.h"

namespace tessaru::flowtest {
namespace {

// Screens fade in over half a second; the first key comes after that.
constexpr double kFirstKeyMs = 1000;
constexpr double kKeyGapMs = 250;
// In a key list: wait for a screen to open before the next key.
constexpr uint8_t kPause = 1;
// In a key list: Tab goes down and stays down.
constexpr uint8_t kTabDown = 2;
constexpr double kScreenOpenMs = 800;

struct ConfigRun {
  platform::HeadlessControl* Control = nullptr;
  std::unique_ptr<Game> TheGame;
};

// The devices and shared pages as the driver has them at the title, then CONFIG alone.
template <typename Prepare>
ConfigRun RunConfigScreen(const fs::path& folder, const std::vector<uint8_t>& keys, Prepare prepare,
                          double holdRightMs = 0) {
  platform::HeadlessPlatform devices = platform::CreateHeadlessPlatform();
  ConfigRun run;
  run.Control = devices.control;
  run.Control->SetPumpAdvanceMs(1.0);
  double at = kFirstKeyMs;
  for (uint8_t key : keys) {
    if (key == kPause) {
      at += kScreenOpenMs;
      continue;
    }
    if (key == kTabDown) {
      run.Control->ScheduleKey({at, kKeyTab, true});
      at += kKeyGapMs;
      continue;
    }
    // Key 0 stands for a held Right.
    const double hold = key == 0 ? holdRightMs : 40;
    const uint8_t vk = key == 0 ? kKeyRight : key;
    run.Control->ScheduleKey({at, vk, true});
    run.Control->ScheduleKey({at + hold, vk, false});
    at += hold + kKeyGapMs;
  }
  prepare(*run.Control);
  run.TheGame = std::make_unique<Game>(std::move(devices.platform), folder.string());
  Game& game = *run.TheGame;
  LoadGameSettings(game);
  game.Graph.SetMessagePump([&game] { game.Devices().input->Pump(); });
  EXPECT_TRUE(game.Graph.InitDirectDraw(false, 0));
  game.Input.InitInput(true);
  LoadKeySettings(game.Input.KeyMap(), game.ProgramFolder, &game.Errors);
  MakeSharedPages(game);
  EXPECT_TRUE(game.Sound.OpenSound(1));
  EXPECT_TRUE(SetupSoundOutput(game));
  LoadMenuSounds(game);
  RunConfig(game);
  return run;
}

ConfigRun RunConfigScreen(const fs::path& folder, const std::vector<uint8_t>& keys, double holdRightMs = 0) {
  return RunConfigScreen(folder, keys, [](platform::HeadlessControl&) {}, holdRightMs);
}

std::string UserIni(const fs::path& folder) { return ReadFile(folder / "user.ini"); }

// F1 reads the file back; Esc does too, so the driver's exit save (which writes a changed
// MAXFPS) cannot carry the unsaved values into the file.
TEST(ConfigScreen, F1AndEscLeaveTheFileAndTheSettingsAsTheyWere) {
  for (const uint8_t leave : {kKeyF1, kKeyEscape}) {
    const fs::path folder = MakeProgramFolder("config-leave-" + std::to_string(leave));
    const std::string ini = "[USER]\r\nDIFFICULTY=3\r\nMAXFPS=30\r\n";
    WriteFile(folder / "user.ini", ini);
    // GAMELEVEL to GODLIKE, MAX FPS to 35, then leave.
    const ConfigRun run = RunConfigScreen(folder, {kKeyRight, kKeyDown, kKeyDown, kKeyDown, kKeyRight, leave});
    EXPECT_EQ(run.TheGame->Settings.DIFFICULTY, 3) << int{leave};
    EXPECT_EQ(run.TheGame->Settings.MAXFPS, 30) << int{leave};
    EXPECT_EQ(run.TheGame->State.QuitRequested, leave == kKeyEscape);
    EXPECT_EQ(UserIni(folder), ini);
  }
}

TEST(ConfigScreen, SaveWritesClampedAndChangedValues) {
  struct Case {
    const char* Name;
    std::string Ini;
    std::vector<uint8_t> Keys;
    double HoldMs;
    std::vector<std::string> Want;
  };
  const Case cases[] = {
      // Up from GAMELEVEL is SAVE & EXIT.
      {"clamped", "[USER]\r\nBGMVOLUME=250\r\nMAXFPS=3\r\nDIFFICULTY=-2\r\n", {kKeyUp, kKeyEnter}, 0,
       {"BGMVOLUME=100", "MAXFPS=5", "DIFFICULTY=0"}},
      // BGM held Right from 90 for a second reaches 100 and stays there.
      {"held", "[USER]\r\nBGMVOLUME=90\r\n", {kKeyDown, 0, kKeyEnter, kKeyUp, kKeyUp, kKeyEnter}, 1300,
       {"BGMVOLUME=100"}},
      // MAX FPS from 120 to NO LIMIT and no further.
      {"no-limit", "[USER]\r\nMAXFPS=120\r\n",
       {kKeyDown, kKeyDown, kKeyDown, kKeyRight, kKeyRight, kKeyUp, kKeyUp, kKeyUp, kKeyUp, kKeyEnter}, 0,
       {"MAXFPS=125"}},
  };
  for (const Case& c : cases) {
    const fs::path folder = MakeProgramFolder(std::string("config-save-") + c.Name, {}, c.Ini);
    const ConfigRun run = RunConfigScreen(folder, c.Keys, c.HoldMs);
    const std::string ini = UserIni(folder);
    for (const std::string& want : c.Want) EXPECT_NE(ini.find(want + "\r\n"), std::string::npos) << c.Name << ": " << ini;
    EXPECT_EQ(run.TheGame->LoadedSettings.MAXFPS, run.TheGame->Settings.MAXFPS) << c.Name;
    EXPECT_FALSE(fs::exists(folder / "error.txt")) << c.Name;
    EXPECT_TRUE(run.TheGame->Errors.Empty()) << c.Name << ": " << run.TheGame->Errors.Text();
  }
}

TEST(ConfigScreen, PlayQualityReopensTheDeviceAndARefusedOneFallsBack) {
  const fs::path folder = MakeProgramFolder("config-quality", {}, "[USER]\r\nSNDPLAYQUALITY=1\r\n");
  // SOUND SETTING (Up four times from GAMELEVEL). PLAY QUALITY Left: SAFE becomes 22050 Hz
  // 8-bit at once; Left again asks for 22050 Hz 16-bit, which the device refuses, so the
  // setting falls back to 8-bit. BACK (Up from the first row), SAVE & EXIT (three down).
  const std::vector<uint8_t> keys = {kKeyUp, kKeyUp,    kKeyUp,   kKeyUp,   kKeyEnter, kPause, kKeyLeft,
                                     kKeyLeft, kKeyUp,  kKeyEnter, kPause,  kKeyDown, kKeyDown, kKeyDown, kKeyEnter};
  const ConfigRun run = RunConfigScreen(folder, keys, [](platform::HeadlessControl& h) {
    h.SetAudioAccepts([](const platform::AudioFormat& f) { return f.Rate != 22050 || f.Bits != 16; });
  });
  EXPECT_EQ(run.TheGame->Settings.SNDPLAYQUALITY, 0);
  const auto format = run.Control->CurrentAudioFormat();
  ASSERT_TRUE(format.has_value());
  EXPECT_EQ(format->Rate, 22050);
  EXPECT_EQ(format->Bits, 8);
  EXPECT_NE(UserIni(folder).find("SNDPLAYQUALITY=0\r\n"), std::string::npos) << UserIni(folder);
}

// PLAY BGM back to ON brings the menu sounds back at once, without a restart.
TEST(ConfigScreen, TurningMenuSoundOnLoadsTheMenuSounds) {
  const fs::path folder = MakeProgramFolder("config-sounding", {}, "[USER]\r\nSOUNDING=1\r\n");
  const std::vector<uint8_t> keys = {kKeyUp,   kKeyUp, kKeyUp,   kKeyUp,   kKeyEnter, kPause,   kKeyDown,
                                     kKeyDown, kKeyLeft, kKeyF1, kPause, kKeyDown, kKeyDown, kKeyDown, kKeyEnter};
  const ConfigRun run = RunConfigScreen(folder, keys);
  const Game& game = *run.TheGame;
  EXPECT_EQ(game.Settings.SOUNDING, 0);
  EXPECT_GE(game.MenuSounds[0], 0);
  EXPECT_GE(game.MenuSounds[1], 0);
  EXPECT_GE(game.SelectBgmBuffer, 0);
  EXPECT_NE(UserIni(folder).find("SOUNDING=0\r\n"), std::string::npos) << UserIni(folder);
}

TEST(ConfigScreen, KeyCaptureThroughTheScreenEndsInKeysetIni) {
  const fs::path folder = MakeProgramFolder("config-keys", {}, "[USER]\r\nDIFFICULTY=1\r\n");
  // CONFIG: GAMELEVEL Right (unsaved), then KEY CONFIG. CHANGE SETTING; 1P LANE 1 gets A;
  // 1P LANE 2 gets A as well (A leaves lane 1, X leaves lane 2). F1 back to the items,
  // SAVE & EXIT.
  const std::vector<uint8_t> keys = {kKeyRight, kKeyUp,   kKeyUp,    kKeyUp,   kKeyEnter, kPause,
                                     kKeyEnter, kKeyDown, kKeyEnter, 'A',      kKeyEnter, kKeyDown,
                                     kKeyEnter, 'A',      kKeyEnter, kKeyF1,   kKeyDown,  kKeyDown,
                                     kKeyEnter};
  const ConfigRun run = RunConfigScreen(folder, keys);
  KeyMapTable want;
  DefaultKeySettings(want);
  want['Z'] = -1;
  want['X'] = -1;
  want['A'] = 2;
  KeyMapTable saved;
  ASSERT_TRUE(LoadKeySettings(saved, folder.string()));
  EXPECT_EQ(saved, want);
  EXPECT_EQ(run.TheGame->Input.KeyMap(), want);
  const std::string text = ReadFile(folder / "keyset.ini");
  size_t lines = 0;
  for (size_t at = text.find("KEYCODE"); at != std::string::npos; at = text.find("KEYCODE", at + 1)) ++lines;
  EXPECT_EQ(lines, static_cast<size_t>(KeyCount));
  // KEY CONFIG leaves CONFIG as F1 does: the unsaved level is gone.
  EXPECT_EQ(run.TheGame->Settings.DIFFICULTY, 1);
  EXPECT_FALSE(run.TheGame->State.QuitRequested);
}

// Each screen at both RESOLUTION values, left with Esc once it is up; the pictures are
// kept in the scratch folder to be looked at.
TEST(ConfigScreen, EveryScreenDrawsItsPicture) {
  struct Case {
    const char* Name;
    std::vector<uint8_t> Keys;
  };
  const Case cases[] = {
      {"config", {kKeyDown, kKeyLeft}},
      {"config-skin", {kKeyUp, kTabDown, kKeyDown, kKeyRight}},
      {"display", {kKeyUp, kKeyUp, kKeyUp, kKeyUp, kKeyUp, kKeyEnter, kPause, kKeyDown, kKeyRight}},
      {"sound", {kKeyUp, kKeyUp, kKeyUp, kKeyUp, kKeyEnter, kPause}},
      {"keys", {kKeyUp, kKeyUp, kKeyUp, kKeyEnter, kPause}},
      {"keys-capture", {kKeyUp, kKeyUp, kKeyUp, kKeyEnter, kPause, kKeyEnter, kKeyDown, kKeyDown, kKeyEnter, 'Z'}},
  };
  fs::create_directories(fs::path(TESSARU_SCRATCH) / "screens");
  for (const Case& c : cases) {
    for (const int resolution : {0, 1}) {
      const std::string name = std::string("config-") + c.Name + "-" + std::to_string(resolution);
      const fs::path folder = MakeProgramFolder(name, {}, "[USER]\r\nRESOLUTION=" + std::to_string(resolution) + "\r\n");
      std::vector<uint8_t> keys = c.Keys;
      keys.push_back(kKeyEscape);
      const ConfigRun run = RunConfigScreen(folder, keys);
      run.Control->SaveLastFramePng((fs::path(TESSARU_SCRATCH) / "screens" / (name + ".png")).string());
      EXPECT_TRUE(LooksDrawn(*run.Control)) << name;
      EXPECT_TRUE(run.TheGame->State.QuitRequested) << name;
      EXPECT_TRUE(run.TheGame->Errors.Empty()) << name << ": " << run.TheGame->Errors.Text();
      // Esc is no save: the file is as it was.
      EXPECT_EQ(UserIni(folder), "[USER]\r\nRESOLUTION=" + std::to_string(resolution) + "\r\n") << name;
    }
  }
}

}  // namespace
}  // namespace tessaru::flowtest
