#pragma once
// GameMain: the whole game from the window to the exit. Start-up brings the layers up
// and loads what every screen shares; the main loop runs the title and the activity it
// names until the player quits; shut-down saves the records, takes the layers down and
// reports what went wrong in a message box and in "error.txt".
#include <cstdint>
#include <string>

#include "flow/game.h"

namespace tessaru {

inline constexpr std::string_view kErrorFile = "error.txt";
// After the data folder's path when it holds none of the game's pictures.
inline constexpr std::string_view kNoGameData =
    "にゲームのデータがありません。user.iniの[USER]にあるDATAPATHを確かめてください。";
inline constexpr std::string_view kErrorBoxText =
    "エラーが発生しています。詳しい内容はerror.txtに出力されます。";

// Exit status of GameMain.
inline constexpr int kExitOk = 0;
inline constexpr int kExitStartFailed = 1;
inline constexpr int kExitFatal = 2;

// hideCursor 1: the mouse cursor is hidden over a full-screen game. Settings must be
// loaded (LoadGameSettings) first.
int GameMain(Game& game, int16_t hideCursor);

// Start-up alone: the window, input, sound, the song list, the records and the menu
// sounds, as GameMain brings them up before the title. False when a layer failed (the
// reason is in the error log). Tests start here to run one screen on its own.
bool StartGame(Game& game, int16_t hideCursor);

// Writes the high scores, the special scores and the tour records, in that order.
void SaveAllRecords(Game& game);

// The window's caption while the game runs: its name and version ("Tessaru 0.1").
std::string WindowCaption();


// What the driver does with a title code: the MenuChoice and MenuSub it sets.
struct TitleAction {
  bool Ending = false;  // the ending screen, then the title again
  TitleCode MenuChoice = TitleCode::SingleTour;
  int16_t MenuSub = 0;
};
TitleAction ApplyTitleCode(TitleCode code, int16_t sub, TitleCode menuChoice, int16_t menuSub);

}  // namespace tessaru
