#pragma once
// Game: everything that lives for the whole run, in one object a test can make and throw
// away. It owns the platform and one instance of each layer; screens and flows take a
// Game& and find everything through it, never through globals.
#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "content/song_list.h"
#include "content/song_record.h"
#include "core/error_log.h"
#include "core/program_folders.h"
#include "core/random.h"
#include "flow/tours/unlocks.h"
#include "graphics/graph_lib.h"
#include "input/input_lib.h"
#include "persist/high_scores.h"
#include "persist/user_settings.h"
#include "platform/platform.h"
#include "sound/sound_lib.h"
#include "stage/play/stage_context.h"

namespace tessaru {

// The version shown in the loading caption ("SYSTEM QX9 VER." major "." minor).
inline constexpr int kVersionMajor = 0;
inline constexpr int kVersionMinor = 1;

// The game state of the flows. What the next stage is told lives in Setup and is handed
// to it whole; what a stage leaves behind is in Game::LastStage.
struct FlowState {
  StageSetup Setup;
  bool QuitRequested = false;
  // The replay file (a logical path) each side set to play back plays.
  PerPlayer<std::string> ReplayFiles;
  // The chosen song's file; Setup.SongIndex is its place in the song list.
  std::string SongPath;
};

class Game {
 public:
  // programFolder holds the INI files and, unless DATAPATH says otherwise, the data.
  Game(std::unique_ptr<platform::Platform> devices, std::string programFolder);
  // The folders as start-up chose them (an installed game keeps them apart).
  Game(std::unique_ptr<platform::Platform> devices, ProgramFolders folders);
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  platform::Platform& Devices() { return *devices_; }
  platform::Clock& Clock() { return *devices_->clock; }

 private:
  // First, so every layer below is built on live devices and dies before them.
  std::unique_ptr<platform::Platform> devices_;

 public:
  ErrorLog Errors;
  GraphLib Graph;
  SoundLib Sound;
  InputLib Input;

  ProgramFolders Folders;
  std::string ProgramFolder;
  std::string DataPath;
  UserSettings Settings;
  // The settings as they were read, so shut-down writes them back only when the game
  // itself had to change one (a sound-format or display fallback, MAXFPS 0).
  UserSettings LoadedSettings;

  HighScores Records;
  SongList Songs;
  SongRecord Song;
  std::vector<PartRecord> Parts;
  FlowState State;

  SoundSlot SelectBgmBuffer = -1;
  std::array<SoundSlot, 2> MenuSounds{-1, -1};  // 0 cursor move, 1 decide
  SurfaceIndex FontPage = -1;
  // Holds the first frame of a screen while it fades in over the previous picture.
  SurfaceIndex FadePage = -1;
  // Free mode keeps its carousel position between visits of the song select.
  int16_t FreeSongCursor = 0;
  // The special modes the records have earned; recomputed on every return to the title.
  UnlockedModes Unlocked;
  bool CursorHidden = false;
  // A test aid of scripted runs, for the whole run: the stage strikes every chip of that
  // side, when it plays by hand, exactly on time. Never read from or written to a file;
  // nothing such a side plays is recorded.
  PerPlayer<bool> Autoplay{false, false};
  // What the last stage left behind (results screens read it; so do tests).
  StageOutcome LastStage;
  // Called with each stage's context just before it plays: scripted runs time their keys
  // from it (the context's FrameDrawn tells them when the song clock started).
  std::function<void(StageContext&)> StageStarting;
  // Called with the stage's context once it has ended and LastStage holds its outcome.
  std::function<void(const StageContext&)> StagePlayed;
  // Called as each screen opens, with its name (flow/screen_names.h); for a stage, just
  // before StageStarting. Scripted runs follow the game through it.
  std::function<void(std::string_view)> ScreenEntered;
  Random Rng;
};

// Reads "user.ini" from the program folder into the game (the launcher's first step);
// a file that exists but cannot be read adds a line to the error log.
void LoadGameSettings(Game& game);

// False when the player's folder cannot be written: saves are skipped, since the player
// was told once at start-up and a failing save must not touch what is already there.
bool CanSaveUserFiles(const Game& game);

// Where error.txt goes: the data folder of a portable game, the player's folder otherwise.
std::string ErrorReportFolder(const Game& game);

// Makes the pages every screen shares (system font, fade page) again, after the display
// was created or re-created.
void MakeSharedPages(Game& game);

// Tells ScreenEntered, if set, that the screen `name` opens.
void EnterScreen(Game& game, std::string_view name);

// "\image\x.bmp" -> DataPath + "\image\x.bmp".
std::string DataFile(const Game& game, std::string_view relative);

}  // namespace tessaru
