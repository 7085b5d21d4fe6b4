#pragma once
// Everything a stage is told before it starts: who plays which part and how, the
// settings that shape judgement and sound, and the running totals it adds to.
#include <array>
#include <cstdint>
#include <vector>

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

struct StageSetup {
  std::array<int16_t, 2> PlayerPart{0, 1};
  int16_t PlayStyle = 0;
  // -1 human; 0..100 computer of that skill. Slot 2 is the pair styles' partner.
  std::array<int16_t, 4> ComSkill{-1, 100, 99, 99};
  std::array<int16_t, 2> HandicapOpt{0, 0};
  std::array<int16_t, 2> LaneOpt{0, 0};
  std::array<int16_t, 2> VisibilityOpt{0, 0};
  std::array<int16_t, 2> AssistFlag{0, 0};
  // A replay drives this player: live presses are ignored and it cannot be knocked out.
  std::array<bool, 2> ReplayPlayback{false, false};
  int16_t RapidMode = 0;      // < 0: endless run (combo carried in RunLife(1))
  int16_t SpecialFlag = 0;
  int16_t MenuChoice = 0;     // 1 free mode and 50 tutorial never knock out
  int16_t MenuSub = 0;
  int16_t SongIndex = -1;     // the song at list index 14 has stretches without penalty
  std::array<int32_t, 2> RunLife{1000, 0};
  std::array<int32_t, 2> StagePoints{0, 0};
  std::array<int32_t, 2> TourTotal{0, 0};
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
