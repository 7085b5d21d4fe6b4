#pragma once
// What one stage on the real devices is given and what it leaves behind. The game hands
// over its StageSetup whole before PlayStage and reads the StageOutcome after it; the
// stage never reaches for anything else.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "content/song_record.h"
#include "core/error_log.h"
#include "core/random.h"
#include "graphics/graph_lib.h"
#include "input/input_lib.h"
#include "persist/replay_file.h"
#include "persist/user_settings.h"
#include "platform/platform.h"
#include "sound/sound_lib.h"
#include "stage/judgement.h"
#include "stage/stage_setup.h"

namespace tessaru {

// One judged press of player 1, for timing studies: when it happened on the song clock,
// its lane, and the difference the judgement used (press minus chip, ms).
struct JudgedPress {
  double SongTimeMs = 0;
  int16_t Lane = 0;
  double Delta = 0;
  Judgement Category = JudgeNone;  // JudgeJust..JudgeFar; JudgeMiss for a blank press
};

struct StagePlayerOutcome {
  JudgeCounts JudgeCount{};
  int32_t StagePoints = 0;
  int32_t TourTotal = 0;
  int32_t StageScore = 0;
  int16_t Gauge = 0;
  int32_t MaxCombo = 0;
  int32_t ComboCount = 0;
  int16_t KnockedOut = 0;
  std::vector<double> PressDeltas;  // d of each chip this side's own hands struck
  // The stage struck this side's chips for it: nothing it played is a record.
  bool Autoplayed = false;
};

struct StageOutcome {
  int16_t ResultCode = 0;
  int16_t EndState = 0;
  int32_t LastStep = -1;
  int32_t StepLimit = 0;  // the steps the stage plays to its end (HI-SPEED doubles them)
  bool Lost = false;      // the result says so; the continue prompt follows when allowed
  bool QuitRequested = false;
  PerPlayer<StagePlayerOutcome> Players{};
  PerPlayer<int32_t> RunLife{};
  std::vector<JudgedPress> Presses;  // player 1's judged presses, in order
  uint32_t PressCount = 0;           // every lane press of player 1 the stage took, judged or not
  double StartMs = 0;          // Clock::NowMs when the song clock started
  double SequenceStartMs = 0;  // Clock::NowMs when the end-of-stage sequence began
  uint64_t FramesDrawn = 0;
  uint64_t Iterations = 0;
  // Each player's judged presses, with the song path and part.
  PerPlayer<ReplayRecord> Captures;
  // The replay files written at tear-down for the players who asked (empty: none).
  PerPlayer<std::string> SavedReplays;
};

struct StageContext {
  StageContext(GraphLib& graph, SoundLib& sound, InputLib& input, platform::Clock& clock, ErrorLog& errors,
               UserSettings& settings, std::string dataPath, std::string songPath, const SongRecord& song,
               const std::vector<PartRecord>& parts)
      : Graph(graph), Sound(sound), Input(input), Clock(clock), Errors(errors), Settings(settings),
        DataPath(std::move(dataPath)), SongPath(std::move(songPath)), Song(song), Parts(parts) {}

  GraphLib& Graph;
  SoundLib& Sound;
  InputLib& Input;
  platform::Clock& Clock;
  ErrorLog& Errors;
  // RESOLUTION falls back to 0 when the low-resolution display cannot be made.
  UserSettings& Settings;
  std::string DataPath;
  // Replays are saved into its "replay" folder (empty: the data folder).
  std::string ProgramFolder;
  // The replay file each side with Setup.ReplayPlayback plays back.
  PerPlayer<std::string> ReplayFiles;
  // The song file's logical path; its folder holds the parts' sounds, the track and the
  // background animation.
  std::string SongPath;
  const SongRecord& Song;
  const std::vector<PartRecord>& Parts;
  // Who plays which part and how, as the flow set it up. Its Settings and SoundSlots are
  // filled by the stage from the user settings.
  StageSetup Setup;
  // A lost stage leads into the continue prompt unless the flow says otherwise.
  bool ContinueAllowed = true;
  // Pages the menus keep "\image\chip2.bmp" and "\image\chip2s.bmp" in (-1: none). They
  // are loaded again at tear-down; new pages are made for them when the display had to
  // be re-created for the low resolution.
  std::array<SurfaceIndex, 2> MenuSheetPages{-1, -1};
  // Called after the display was re-created at tear-down, so the caller can bring back
  // its own pages (the system font among them).
  std::function<void()> DisplayRecreated;
  // Called once the stage has reached its end (not left by Esc), before the result voice,
  // so that its records are kept even when the player quits during the result.
  std::function<void(const StageOutcome&)> StageEnded;
  // True once the player closed the window; the stage then ends as if Esc were held.
  std::function<bool()> WindowClosed;
  // Called after every drawn frame with the song time it showed (before the flip).
  std::function<void(int32_t)> FrameDrawn;
  // Lane options and the computer players draw from it; null: a generator seeded from
  // the clock.
  Random* Rng = nullptr;
  StageOutcome Outcome;
};

}  // namespace tessaru
