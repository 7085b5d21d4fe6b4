#pragma once
// Everything a stage is told before it starts: who plays which part and how, the
// settings that shape judgement and sound, and the running totals it adds to.
#include <array>
#include <cstdint>
#include <vector>

#include "core/indexed_array.h"
#include "persist/replay_file.h"

namespace tessaru {

// User settings the stage reads (their INI names in capitals).
struct StageSettings {
  int16_t JudgeMode = 0;       // JUDGEMODE
  int16_t JudgeOffset = 0;     // JUDGEOFFSET, ms added to late windows, taken from early
  int16_t JudgeStyle = 0;      // JUDGESTYLE, 0 shows every just after the fourth as code 9
  int32_t BgPartOffset = 20;   // BGPARTOFFSET, ms the automatic parts run ahead
  int16_t Sounding = 0;        // SOUNDING; chip sounds are queued below 3
  int16_t SndPanVolCtrl = 0;   // SNDPANVOLCTRL
  int16_t EffectSwing = 16;    // the layout's chip-effect shift H, in pixels
};

// Codes of the title screen; MenuChoice holds the activity now running (after the
// driver's remapping). Any other value is kept as it came.
enum class TitleCode : int16_t {
  Ending = -2,
  None = -1,  // an empty title cell; the title's code after Esc
  SingleTour = 0,
  FreeMode = 1,
  SpecialTour = 2,
  Config = 4,
  TourRecords = 6,
  SongRecords = 7,
  PlayerRank = 8,
  SingleTourSeat = 9,
  SessionTour = 11,
  Training = 12,
  Tutorial = 13,
  Beginner = 14,
  SpecialRecords = 15,
  TwoPlayerTour = 20,
  TutorialStages = 50,  // the tutorial's own MenuChoice while it runs
  Exit = 99,
};

// Who plays which part and how: the flows fill it in, the stage takes it whole.
struct StageSetup {
  PerPlayer<int16_t> PlayerPart{0, 1};
  int16_t PlayStyle = 0;
  // -1 human; 0..100 computer of that skill. Slot 2 is the pair styles' partner.
  PerPlayer<int16_t, 4> ComSkill{-1, 50, 99, 99};
  PerPlayer<int16_t> HandicapOpt{0, 0};
  PerPlayer<int16_t> ColorOpt{0, 0};
  PerPlayer<int16_t> VisibilityOpt{0, 0};
  PerPlayer<int16_t> LaneOpt{0, 0};
  PerPlayer<int16_t> TimingOpt{0, 0};
  PerPlayer<int16_t> AssistFlag{0, 0};
  // A replay drives this player: live presses are ignored, it never strikes as a computer
  // and it cannot be knocked out. Its presses are Replays[p], checked with ReplayFitsChart.
  PerPlayer<bool> ReplayPlayback{false, false};
  PerPlayer<ReplayRecord> Replays;
  // A test aid: this hand-played side strikes every chip exactly on time, driven like a
  // replay side (live presses ignored, never knocked out, not a computer). Ignored for a
  // computer side and a side that plays a replay back.
  PerPlayer<bool> Autoplay{false, false};
  int16_t RapidMode = 0;      // < 0: endless run (combo carried in RunLife(1))
  int16_t SpecialFlag = 0;
  TitleCode MenuChoice = TitleCode::SingleTour;  // free mode and the tutorial never knock out
  int16_t MenuSub = 0;
  int16_t SongIndex = -1;     // the song at list index 14 has stretches without penalty
  // What a run carries from stage to stage: RunLife(0) the gauge of style 3, RunLife(1)
  // the endless run's combo; the points and the tour total the stage adds to.
  PerPlayer<int32_t> RunLife{1000, 0};
  PerPlayer<int32_t> StagePoints{0, 0};
  PerPlayer<int32_t> TourTotal{0, 0};
  StageSettings Settings;
  // First step of play (training starts part-way into a song); steps before it are
  // neither missed nor sounded.
  int32_t StartStep = 0;
  // > 0: the charts stop at this step (a practice section ends there), so no chip from
  // it on is struck or judged.
  int32_t EndStep = 0;
  // Practice: judgements are counted but the gauge never moves (so nobody is knocked out).
  bool NoGauge = false;
  // Sound slot of each part's sounds, [part][sound index]; -1 or a missing entry is
  // silent (the sound could not be loaded, or SOUNDING left it out).
  std::vector<std::vector<int16_t>> SoundSlots;
};

}  // namespace tessaru
