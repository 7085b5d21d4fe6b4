#pragma once
// One stage of play with no device in it. Built fresh from the loaded song and the
// players' set-up, then driven iteration by iteration: Update with the song time, and
// Press for every key press that arrived, each with the song time at which it happened.
// Sounds and pictures leave as requests: the sound sink, the judgement-display ring, the
// chip-effect table and the damage blocks, which the play screen reads after each Update.
//
// Feed presses in time order, each preceded by Update(pressTime): then a press is judged
// before the steps after it are scheduled, even when one frame covered both.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "content/song_record.h"
#include "core/random.h"
#include "persist/replay_file.h"
#include "stage/chip_effects.h"
#include "stage/damage_blocks.h"
#include "stage/gauge.h"
#include "stage/judge_display.h"
#include "stage/judge_windows.h"
#include "stage/judgement.h"
#include "stage/sound_queue.h"
#include "stage/sound_sink.h"
#include "stage/stage_setup.h"

namespace tessaru {

inline constexpr int32_t kKnockOutTicks = 11520;      // six bars below a quarter gauge
inline constexpr int32_t kKnockOutShownTicks = 12000;  // and one beat of knock-out display
inline constexpr int16_t kDangerGauge = 250;

struct StagePlayer {
  JudgeCounts JudgeCount{};
  int32_t ComboCount = 0;
  int32_t MaxCombo = 0;
  int32_t StagePoints = 0;
  int32_t TourTotal = 0;
  int32_t StageScore = 0;
  int32_t DangerTime = 0;  // tick the low-gauge period began; 0 none; -1 knock-out shown
  int16_t KnockedOut = 0;
  // Per lane 1..4: the step of the last chip a press on that lane aimed at (-1 none).
  std::array<int32_t, 5> LastLaneStep{-1, -1, -1, -1, -1};
  // Per lane 1..4: a chip of this player's chart fell due in this iteration.
  std::array<bool, 5> LaneDue{};
  // d (press minus chip, ms) of every press of this player's own hands that struck a
  // chip, in order: the results' timing panel reads it.
  std::vector<double> PressDeltas;
};

// What became of one press, for the replay capture and for timing studies.
struct PressResult {
  bool Judged = false;    // false: ignored (computer or replay player, knocked out, stage over)
  int32_t Step = -1;      // the chip judged; -1 for a blank press
  double Delta = 0;       // press time minus chip time (ms) when a chip was judged
  Judgement Category = JudgeNone;  // JudgeJust..JudgeFar; JudgeMiss for a counted blank press
  int16_t ReplayCode = 0; // 0 nothing judged, 1 just, 2 late, 3 early, 4 far, 5 blank
  int32_t Tick = 0;       // CurTick when the press was judged
  // The step a replay keeps: the chip judged, else the chip aimed at, else the last
  // processed step.
  int32_t RecordedStep = 0;
};

// A recorded press to play back: the chip step and the judgement may be forced.
struct ReplayInput {
  int Player = 0;
  int16_t Lane = 1;
  int32_t Tick = 0;
  std::optional<int32_t> ChipStep;  // the chip to judge; otherwise chosen as for a live press
  std::optional<int16_t> Code;      // the judgement code to force; otherwise measured
};

class Stage {
 public:
  // sink may be null for a silent stage. random makes every draw (lane options, computer).
  Stage(SongRecord song, std::vector<PartRecord> parts, const StageSetup& setup, Random& random,
        SoundSink* sink = nullptr);

  // Advances to song time songTimeMs (earlier times leave the clock where it is). The
  // presses of a replay-driven player fall due on the way, each at its own tick.
  void Update(int32_t songTimeMs);
  // A press of lane 1..4 by player 0 or 1 at songTimeMs.
  PressResult Press(int player, int16_t lane, double songTimeMs);
  // A press played back from a replay, judged where the stage stands now.
  PressResult ReplayPress(const ReplayInput& input);
  // Ends the stage now (F1): scored as if the song had ended.
  void Cut();

  const SongRecord& Song() const { return song_; }
  const std::vector<PartRecord>& Parts() const { return parts_; }
  // The chart player p plays, with its lane option applied.
  const PartRecord& Chart(int p) const { return charts_[p]; }
  const StagePlayer& Player(int p) const { return players_[p]; }
  int16_t Gauge(int p) const { return gauge_[p]; }
  bool IsHit(int p, int32_t step) const;
  bool IsComputer(int p) const { return setup_.ComSkill[p] >= 0 && !setup_.ReplayPlayback[p]; }
  // Player p is a hand-played side the stage strikes for, every chip just.
  bool Autoplayed(int p) const { return autoplayed_[p]; }
  // Player p's judged presses so far (at most kReplayMaxEvents), with its part; the song
  // path is left to the caller.
  const ReplayRecord& Capture(int p) const { return capture_[p]; }

  int32_t SongTime() const { return songTime_; }
  int32_t CurStep() const { return curStep_; }
  int32_t CurTick() const { return curTick_; }
  int32_t BgStep() const { return bgStep_; }
  int32_t BgTick() const { return bgTick_; }
  // The last step the play scheduler processed (BlockBase + BlockPhase).
  int32_t LastStep() const { return lastStep_; }
  int32_t BlockBase() const { return blockBase_; }
  int32_t BlockPhase() const { return blockPhase_; }
  int32_t StepLimit() const { return stepLimit_; }
  int16_t EndState() const { return endState_; }
  bool NoPenalty() const { return noPenalty_; }
  double AppliedBpm() const { return appliedBpm_; }
  const JudgeWindows& Windows() const { return windows_; }
  const ChipDensityTable& ChipDensity() const { return density_; }
  PerPlayer<int32_t> RunLife() const { return runLife_; }

  const JudgeDisplayRing& JudgeDisplay() const { return judgeDisplay_; }
  ChipEffectTable& ChipEffects() { return chipEffects_; }
  const ChipEffectTable& ChipEffects() const { return chipEffects_; }
  const DamageBlocks& Damage(int p) const { return damage_[p]; }
  const SoundQueue& Sounds() const { return soundQueue_; }

 private:
  void PrepareCharts();
  void Advance(int32_t songTimeMs);
  void PlayReplays(int32_t songTimeMs);
  void AdvanceClock(int32_t songTimeMs);
  void SchedulePlaySteps();
  void ScheduleBackgroundSteps();
  void ProcessPlayStep(int32_t step);
  void Miss(int p, int32_t step);
  void ComputerStrike(int p, int32_t step, int16_t lane);
  PressResult Resolve(int p, int16_t lane, double timeMs, int32_t baseStep,
                      std::optional<int32_t> chipStep, std::optional<int16_t> forcedCode);
  void ApplyHit(int p, int32_t step, Judgement category, bool computer);
  void BlankPress(int p, int16_t lane, bool forced, PressResult& result);
  double NominalDelta(Judgement category) const;
  void AddPoints(int p, Judgement category, bool computer);
  void ApplyGaugeEvent(int p, GaugeEvent kind, int32_t block, int16_t damageLane);
  void BreakCombo(StagePlayer& player);
  void CountJudgement(StagePlayer& player, Judgement category);
  bool EffectShown(int32_t slot) const;
  void QueueChipSound(int partIndex, const PartRecord& part, int32_t step);
  void UpdateKnockOut();
  void EndKnockOutDisplays();
  void TestEnd();
  void Finish();
  bool Takes(int p) const;

  SongRecord song_;
  std::vector<PartRecord> parts_;
  PerPlayer<PartRecord> charts_;
  StageSetup setup_;
  Random& random_;
  NullSoundSink nullSink_;
  SoundSink& sink_;
  GaugeRules gaugeRules_;

  PerPlayer<StagePlayer> players_{};
  PerPlayer<std::vector<uint8_t>> hit_;  // per step: 1 struck, 2 passed as a miss
  PerPlayer<int16_t> gauge_{};
  PerPlayer<ReplayRecord> capture_;
  PerPlayer<size_t> replayNext_{};  // the next event of each player's replay
  PerPlayer<bool> autoplayed_{false, false};
  ChipDensityTable density_;
  std::vector<int> automaticParts_;
  PerPlayer<int32_t> runLife_{};

  int32_t songTime_ = 0;
  int32_t curStep_ = 0;
  int32_t curTick_ = 0;
  int32_t bgStep_ = 0;
  int32_t bgTick_ = 0;
  // Steps run to Bars * 16, which outgrows 16 bits for very long songs: kept in 32.
  int32_t lastStep_ = -1;
  int32_t blockBase_ = 0;
  int32_t blockPhase_ = 0;
  int32_t lastBgStep_ = -1;
  int32_t stepLimit_ = 0;
  int16_t endState_ = 0;
  bool noPenalty_ = false;
  double appliedBpm_ = 0;
  JudgeWindows windows_;

  JudgeDisplayRing judgeDisplay_;
  ChipEffectTable chipEffects_;
  PerPlayer<DamageBlocks> damage_{};
  SoundQueue soundQueue_;
};

}  // namespace tessaru
