#pragma once
// One screen on its own: the game started on the headless devices as GameMain starts it,
// without the title, so a test calls the screen directly with scripted keys.
#include <gtest/gtest.h>

#include "flow/tests/game_rig.h"

namespace tessaru::flowtest {

struct ScreenRig {
  platform::HeadlessControl* Control = nullptr;
  std::unique_ptr<Game> TheGame;

  Game& G() { return *TheGame; }
  // A key pressed `atMs` after now and held for `holdMs`.
  void Press(double atMs, uint8_t key, double holdMs = 40) {
    const double now = TheGame->Clock().GetTickCount();
    Control->ScheduleKey({now + atMs, key, true});
    Control->ScheduleKey({now + atMs + holdMs, key, false});
  }
  // Keeps the last picture under the scratch folder's "screens" for a look.
  void SavePicture(const std::string& name) const { KeepPicture(*Control, name); }
};

inline ScreenRig StartScreenRig(const fs::path& folder, const std::string& userIni = "[USER]\r\nMAXFPS=30\r\n") {
  WriteFile(folder / "user.ini", userIni);
  platform::HeadlessPlatform devices = platform::CreateHeadlessPlatform();
  ScreenRig rig;
  rig.Control = devices.control;
  rig.Control->SetPumpAdvanceMs(1.0);
  rig.TheGame = std::make_unique<Game>(std::move(devices.platform), folder.string());
  LoadGameSettings(*rig.TheGame);
  EXPECT_TRUE(StartGame(*rig.TheGame, 0)) << rig.TheGame->Errors.Text();
  return rig;
}

}  // namespace tessaru::flowtest
