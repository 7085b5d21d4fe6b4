#include "stage/stage.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/numbers.h"
#include "stage/computer_player.h"
#include "stage/lane_options.h"
#include "stage/replay_playback.h"
#include "stage/tempo_map.h"

namespace tessaru {
namespace {

constexpr int32_t kStepsPerBlock = 32;
constexpr int32_t kTourTotalCap = 99'999'999;

bool IsLane(int16_t w) { return w >= 1 && w <= 4; }

int16_t WordAt(const PartRecord& part, int32_t step) {
  if (step < 0 || static_cast<size_t>(step) >= part.StepWords.size()) return 0;
  return part.StepWords[static_cast<size_t>(step)];
}

// Part files are not trusted: words other than 0..4 carry no chip, and the chip-slot
// tables are made as long as the step table says so every lookup stays in range.
void SanitizePart(PartRecord& part) {
  for (auto& w : part.StepWords) {
    if (!IsLane(w)) w = 0;
  }
  const size_t slots = part.StepWords.size() * kSlotsPerStep;
  part.ChipSounds.resize(slots, -1);
  part.ChipTicks.resize(slots, 0);
  part.ChipWordsB.resize(slots, 0);
  part.ChipWordsC.resize(slots, 0);
}

int16_t SaturatingIncrement(int16_t x) {
  return x < std::numeric_limits<int16_t>::max() ? static_cast<int16_t>(x + 1) : x;
}

double SafeInitialBpm(double bpm) { return bpm > 0 && std::isfinite(bpm) ? bpm : 120.0; }

}  // namespace

Stage::Stage(SongRecord song, std::vector<PartRecord> parts, const StageSetup& setup, Random& random,
             SoundSink* sink)
    : song_(std::move(song)),
      parts_(std::move(parts)),
      setup_(setup),
      random_(random),
      sink_(sink != nullptr ? *sink : nullSink_),
      soundQueue_(setup.Settings.SndPanVolCtrl) {
  for (auto& part : parts_) SanitizePart(part);
  if (song_.Bars < 0) song_.Bars = 0;
  if (song_.IntroBars < 0) song_.IntroBars = 0;
  PrepareCharts();
  for (int p = 0; p < 2; ++p) {
    if (!setup_.Autoplay[p] || setup_.ComSkill[p] >= 0 || setup_.ReplayPlayback[p]) continue;
    // Struck from the chart this side sees, its lane option applied, so the other side's
    // game is the same as without it.
    autoplayed_[p] = true;
    setup_.ReplayPlayback[p] = true;
    setup_.Replays[p] = PerfectReplay(song_, charts_[p], setup_.PlayerPart[p], setup_.StartStep, setup_.EndStep);
  }

  stepLimit_ = int32_t{song_.Bars} * kStepsPerBar;
  const double initialBpm = SafeInitialBpm(song_.Bpm);
  judgeDisplay_ = JudgeDisplayRing(initialBpm);
  chipEffects_ = ChipEffectTable(setup_.Settings.EffectSwing, 15000.0 / initialBpm);

  for (int p = 0; p < 2; ++p) {
    const auto& chart = charts_[p];
    density_[p] = BuildChipDensity(chart.StepWords, song_.Bars);
    hit_[p].assign(std::max<size_t>(chart.StepWords.size(), static_cast<size_t>(stepLimit_)), 0);
    gaugeRules_.HandicapOpt[p] = setup_.HandicapOpt[p];
    gaugeRules_.ChipTotal[p] = chart.ChipTotal;
    players_[p].StagePoints = setup_.StagePoints[p];
    players_[p].TourTotal = setup_.TourTotal[p];
    capture_[p].Part = setup_.PlayerPart[p];
  }
  gaugeRules_.PlayStyle = setup_.PlayStyle;
  gaugeRules_.PartnerSkill = setup_.ComSkill[2];
  gaugeRules_.MenuSub = setup_.MenuSub;
  gauge_ = InitialGauges(setup_.PlayStyle, setup_.RunLife[0]);
  runLife_ = setup_.RunLife;
  if (setup_.RapidMode < 0 && setup_.MenuSub >= 0 && setup_.MenuSub <= 1) {
    players_[setup_.MenuSub].ComboCount = std::max(0, setup_.RunLife[1]);
  }

  const int32_t start = std::max(0, setup_.StartStep);
  lastStep_ = start - 1;
  lastBgStep_ = start - 1;
  songTime_ = std::max(0, static_cast<int32_t>(std::floor(StepToTime(song_, start))));
  curStep_ = TimeToStep(song_, songTime_);
  curTick_ = TimeToTick(song_, songTime_);
}

void Stage::PrepareCharts() {
  // HI-SPEED is player 1's choice and reshapes the whole song for both players.
  if (setup_.LaneOpt[0] == LaneHiSpeed) ApplyHiSpeed(song_, parts_);
  for (int p = 0; p < 2; ++p) {
    const int16_t index = setup_.PlayerPart[p];
    auto& chart = charts_[p];
    if (index >= 0 && static_cast<size_t>(index) < parts_.size()) chart = parts_[static_cast<size_t>(index)];
    // Each player rewrites a chart of its own, so two players on one part keep their
    // own options.
    ApplyLaneOption(chart, setup_.LaneOpt[p], random_);
    if (setup_.EndStep > 0 && static_cast<size_t>(setup_.EndStep) < chart.StepWords.size()) {
      std::fill(chart.StepWords.begin() + setup_.EndStep, chart.StepWords.end(), int16_t{0});
    }
  }
  for (size_t i = 0; i < parts_.size(); ++i) {
    const auto index = static_cast<int16_t>(i);
    if (index != setup_.PlayerPart[0] && index != setup_.PlayerPart[1]) {
      automaticParts_.push_back(static_cast<int>(i));
    }
  }
}

bool Stage::IsHit(int p, int32_t step) const {
  const auto& table = hit_[p];
  return step >= 0 && static_cast<size_t>(step) < table.size() && table[static_cast<size_t>(step)] == 1;
}

bool Stage::Takes(int p) const {
  return setup_.ComSkill[p] < 0 && !setup_.ReplayPlayback[p] &&
         players_[p].KnockedOut == 0;
}

void Stage::Update(int32_t songTimeMs) {
  PlayReplays(songTimeMs);
  Advance(songTimeMs);
}

// Each recorded press is judged once the clock reaches its tick, before the steps after
// that tick are processed, as it was when it was made; presses of both players in tick
// order.
void Stage::PlayReplays(int32_t songTimeMs) {
  while (endState_ == 0) {
    int next = -1;
    int32_t nextTick = 0;
    for (int p = 0; p < 2; ++p) {
      const ReplayRecord& r = setup_.Replays[p];
      if (!setup_.ReplayPlayback[p] || replayNext_[p] >= PlayableEvents(r)) continue;
      if (next < 0 || r.EvTick[replayNext_[p]] < nextTick) {
        next = p;
        nextTick = r.EvTick[replayNext_[p]];
      }
    }
    if (next < 0) return;
    const ReplayRecord& r = setup_.Replays[next];
    const size_t e = replayNext_[next];
    const int32_t at = ReplayEventTime(song_, r.EvTick[e]);
    if (at > std::max(songTimeMs, songTime_)) return;
    if (at > songTime_) Advance(at);
    if (endState_ != 0) return;
    ++replayNext_[next];
    ReplayInput input{next, r.EvLane[e], r.EvTick[e], std::nullopt, std::nullopt};
    if (r.Version >= 1) input.Code = r.EvJudge[e];
    if (r.Version >= 2) input.ChipStep = r.EvStep[e];
    ReplayPress(input);
  }
}

void Stage::Advance(int32_t songTimeMs) {
  AdvanceClock(songTimeMs);
  for (auto& player : players_) player.LaneDue.fill(false);
  if (endState_ == 0) {
    SchedulePlaySteps();
    ScheduleBackgroundSteps();
    UpdateKnockOut();
  }
  EndKnockOutDisplays();
  soundQueue_.Process(bgTick_, songTime_, sink_);
  for (auto& blocks : damage_) blocks.Update(songTime_);
  judgeDisplay_.Update(songTime_);
  chipEffects_.Update(songTime_);
  if (endState_ == 0) TestEnd();
}

void Stage::AdvanceClock(int32_t songTimeMs) {
  songTime_ = std::max({songTime_, songTimeMs, 0});
  curStep_ = TimeToStep(song_, songTime_);
  curTick_ = TimeToTick(song_, songTime_);
  const double bgTime = static_cast<double>(songTime_) + setup_.Settings.BgPartOffset;
  bgStep_ = TimeToStep(song_, bgTime);
  bgTick_ = TimeToTick(song_, bgTime);
  const double bpm = BpmAt(song_, songTime_);
  if (bpm != appliedBpm_) {
    // HI-SPEED doubled the tempo map; the windows keep the tempo the player hears.
    const double judged = setup_.LaneOpt[0] == LaneHiSpeed ? bpm / 2 : bpm;
    windows_ = SetJudgeWindows(judged, setup_.Settings.JudgeMode, setup_.Settings.JudgeOffset,
                               setup_.SpecialFlag);
    appliedBpm_ = bpm;
  }
}

// Every step the clock passed over is processed in order, so a slow frame cannot let a
// chip escape its miss, its computer strike or its sound.
void Stage::SchedulePlaySteps() {
  if (curStep_ <= lastStep_) return;
  const int32_t last = std::min(curStep_, stepLimit_);
  for (int32_t s = lastStep_ + 1; s <= last; ++s) ProcessPlayStep(s);
  lastStep_ = curStep_;
  blockPhase_ = lastStep_ % kStepsPerBlock;
  blockBase_ = lastStep_ - blockPhase_;
}

void Stage::ScheduleBackgroundSteps() {
  if (bgStep_ <= lastBgStep_) return;
  const int32_t last = std::min(bgStep_, stepLimit_ - 1);
  for (int32_t s = lastBgStep_ + 1; s <= last; ++s) {
    for (int index : automaticParts_) {
      const auto& part = parts_[static_cast<size_t>(index)];
      if (IsLane(WordAt(part, s))) QueueChipSound(index, part, s);
    }
  }
  lastBgStep_ = bgStep_;
}

void Stage::ProcessPlayStep(int32_t step) {
  blockPhase_ = step % kStepsPerBlock;
  blockBase_ = step - blockPhase_;
  if (step >= stepLimit_) return;
  for (int p = 0; p < 2; ++p) {
    auto& player = players_[p];
    const auto& chart = charts_[p];
    const int32_t passed = step - 2;
    if (passed >= std::max(0, setup_.StartStep) && player.KnockedOut == 0 && IsLane(WordAt(chart, passed)) &&
        hit_[p][static_cast<size_t>(passed)] == 0) {
      Miss(p, passed);
    }
    const int16_t lane = WordAt(chart, step);
    if (!IsLane(lane)) continue;
    player.LaneDue[static_cast<size_t>(lane)] = true;
    if (IsComputer(p) && player.KnockedOut == 0) ComputerStrike(p, step, lane);
  }
  if (setup_.SongIndex == 14) noPenalty_ = step < 272 || (step > 1680 && step < 1888);
}

void Stage::Miss(int p, int32_t step) {
  auto& player = players_[p];
  // A passed chip is settled: a late press can no longer strike it as well.
  hit_[p][static_cast<size_t>(step)] = 2;
  BreakCombo(player);
  CountJudgement(player, JudgeMiss);
  if (setup_.AssistFlag[p] == 0) {
    ApplyGaugeEvent(p, GaugeMiss, step / kStepsPerBlock, WordAt(charts_[p], step));
  }
  if (blockPhase_ != 1 && blockPhase_ != 17) chipEffects_.Set(p, step % kStepsPerBlock, 3, songTime_);
}

void Stage::ComputerStrike(int p, int32_t step, int16_t lane) {
  const Judgement category = ComputerJudgement(setup_.ComSkill[p], random_);
  hit_[p][static_cast<size_t>(step)] = 1;
  players_[p].LastLaneStep[static_cast<size_t>(lane)] = step;
  ApplyHit(p, step, category, true);
  QueueChipSound(setup_.PlayerPart[p], charts_[p], step);
}

PressResult Stage::Press(int player, int16_t lane, double songTimeMs) {
  if (player < 0 || player > 1 || !IsLane(lane) || !Takes(player)) return {};
  PressResult result = Resolve(player, lane, songTimeMs, std::max(lastStep_, 0), std::nullopt, std::nullopt);
  if (result.Step >= 0) players_[player].PressDeltas.push_back(result.Delta);
  ReplayRecord& capture = capture_[player];
  // Presses beyond the limit are played and judged but not kept.
  if (result.Judged && capture.EventCount < kReplayMaxEvents) {
    const auto step = static_cast<int16_t>(std::clamp<int32_t>(result.RecordedStep, 0, std::numeric_limits<int16_t>::max()));
    capture.Append(result.Tick, lane, step, result.ReplayCode);
  }
  return result;
}

PressResult Stage::ReplayPress(const ReplayInput& input) {
  const int p = input.Player;
  if (p < 0 || p > 1 || !IsLane(input.Lane) || input.Tick < 0 || players_[p].KnockedOut != 0) return {};
  const double time = TickToTime(song_, input.Tick);
  return Resolve(p, input.Lane, time, input.Tick / kTicksPerStep, input.ChipStep, input.Code);
}

double Stage::NominalDelta(Judgement category) const {
  switch (category) {
    case JudgeLate: return windows_.WinJustLate + 1;
    case JudgeEarly: return -windows_.WinJustEarly - 1;
    case JudgeFar: return windows_.WinFarLate;
    default: return 0;
  }
}

PressResult Stage::Resolve(int p, int16_t lane, double timeMs, int32_t baseStep,
                           std::optional<int32_t> chipStep, std::optional<int16_t> forcedCode) {
  auto& player = players_[p];
  const auto& chart = charts_[p];
  const auto& hits = hit_[p];
  PressResult result;
  result.Tick = curTick_;
  PressCandidate candidate;
  if (chipStep) {
    const int32_t s = *chipStep;
    const bool open = WordAt(chart, s) == lane && static_cast<size_t>(s) < hits.size() && hits[static_cast<size_t>(s)] == 0;
    if (open) candidate = {s, timeMs - StepToTime(song_, s)};
  } else {
    candidate = FindPressCandidate(song_, chart.StepWords, hits, baseStep, lane, timeMs);
  }
  if (candidate.Step >= 0) player.LastLaneStep[static_cast<size_t>(lane)] = candidate.Step;
  result.RecordedStep = candidate.Step >= 0 ? candidate.Step : std::max(lastStep_, 0);

  if (endState_ == 0) {
    result.Judged = true;
    const bool onChart = candidate.Step >= 0 && candidate.Step < stepLimit_;
    // A recorded judgement is given again as such, whatever the windows are now, so a
    // replay repeats its stage exactly; a press at nothing that cost nothing costs nothing.
    const Judgement forced = forcedCode ? ForcedCategory(*forcedCode) : JudgeNone;
    Judgement category = JudgeNone;
    if (forced != JudgeNone) {
      category = onChart ? forced : JudgeNone;
      candidate.Delta = NominalDelta(forced);
    } else if (!forcedCode) {
      category = onChart ? ClassifyDelta(candidate.Delta, windows_) : JudgeNone;
    }
    if (category != JudgeNone) {
      hit_[p][static_cast<size_t>(candidate.Step)] = 1;
      ApplyHit(p, candidate.Step, category, false);
      result.Step = candidate.Step;
      result.Delta = candidate.Delta;
      result.Category = category;
      result.ReplayCode = ReplayCodeOf(category);
    } else if (!forcedCode || *forcedCode != kReplayNoJudgement) {
      BlankPress(p, lane, forcedCode && *forcedCode == kReplayBlank, result);
    }
  }
  // Every press sounds the lane's last chip, also during the result display.
  const int32_t sounded = player.LastLaneStep[static_cast<size_t>(lane)];
  if (sounded >= 0) {
    QueueChipSound(setup_.PlayerPart[p], chart, sounded);
    soundQueue_.Process(bgTick_, songTime_, sink_);
  }
  return result;
}

// `forced`: a replayed blank press, which cost the player when it was made.
void Stage::BlankPress(int p, int16_t lane, bool forced, PressResult& result) {
  // Judged on the step the clock stands at, which a replay reproduces to the tick.
  const int32_t step = curStep_;
  // The intro and the no-penalty stretches forgive presses at nothing.
  if (!forced && (step < int32_t{song_.IntroBars} * kStepsPerBar || noPenalty_)) return;
  auto& player = players_[p];
  if (setup_.AssistFlag[p] == 0) ApplyGaugeEvent(p, GaugeBlank, step / kStepsPerBlock, lane);
  judgeDisplay_.Push(p, static_cast<int16_t>(FloorMod(int64_t{step}, int64_t{kStepsPerBlock})), DisplayBlank, songTime_);
  CountJudgement(player, JudgeMiss);
  BreakCombo(player);
  result.Category = JudgeMiss;
  result.ReplayCode = 5;
}

bool Stage::EffectShown(int32_t slot) const {
  // The page has already moved on from these slots at the start of a block or row.
  return !((slot == 31 && blockPhase_ == 0) || (slot == 15 && blockPhase_ == 16));
}

void Stage::ApplyHit(int p, int32_t step, Judgement category, bool computer) {
  auto& player = players_[p];
  const auto slot = static_cast<int16_t>(step % kStepsPerBlock);
  const int32_t block = step / kStepsPerBlock;
  const int16_t lane = WordAt(charts_[p], step);
  const int16_t visibility = setup_.VisibilityOpt[p];
  if (category == JudgeJust) {
    if (EffectShown(slot)) chipEffects_.Set(p, slot, 4, songTime_, visibility);
    ++player.ComboCount;
    CountJudgement(player, JudgeJust);
    AddPoints(p, JudgeJust, computer);
    judgeDisplay_.Push(p, slot, JustDisplayCode(player.ComboCount, setup_.Settings.JudgeStyle), songTime_);
    ApplyGaugeEvent(p, player.ComboCount % 4 == 0 ? GaugeBonus : GaugeJust, block, lane);
    return;
  }
  const bool far = category == JudgeFar;
  ApplyGaugeEvent(p, far ? GaugeFar : GaugeNear, block, lane);
  if (EffectShown(slot)) chipEffects_.Set(p, slot, far ? 3 : 2, songTime_, visibility);
  const JudgeDisplayCode code = category == JudgeLate ? DisplayLate : category == JudgeEarly ? DisplayEarly : DisplayFar;
  judgeDisplay_.Push(p, slot, code, songTime_);
  CountJudgement(player, category);
  AddPoints(p, category, computer);
  BreakCombo(player);
}

void Stage::AddPoints(int p, Judgement category, bool computer) {
  auto& player = players_[p];
  // Computer players always score the normal amounts and never add to the tour.
  const bool endless = setup_.RapidMode < 0 && !computer;
  const int32_t points = JudgePoints(category, player.ComboCount, endless);
  player.StagePoints = static_cast<int32_t>(std::min<int64_t>(int64_t{player.StagePoints} + points, INT32_MAX));
  if (!computer) {
    player.TourTotal = static_cast<int32_t>(std::min<int64_t>(int64_t{player.TourTotal} + points, INT32_MAX));
  }
  // The tour total is shown with eight digits.
  if (player.TourTotal >= 100'000'000) player.TourTotal = kTourTotalCap;
}

void Stage::ApplyGaugeEvent(int p, GaugeEvent kind, int32_t block, int16_t damageLane) {
  if (!setup_.NoGauge) ApplyGauge(gauge_, gaugeRules_, density_, p, kind, block);
  if (setup_.PlayStyle != 0) return;
  const int16_t flag = (kind == GaugeBlank || kind == GaugeMiss) ? 0 : 1;
  for (int q = 0; q < 2; ++q) {
    damage_[q].Request(DamageBlockTarget(gauge_[q]),
                                            {damageLane, flag}, songTime_);
  }
}

void Stage::BreakCombo(StagePlayer& player) {
  player.MaxCombo = std::max(player.MaxCombo, player.ComboCount);
  player.ComboCount = 0;
}

void Stage::CountJudgement(StagePlayer& player, Judgement category) {
  // Blank presses are unbounded; the count sticks at its top instead of wrapping.
  auto& count = player.JudgeCount[category];
  count = SaturatingIncrement(count);
}

void Stage::QueueChipSound(int partIndex, const PartRecord& part, int32_t step) {
  if (setup_.Settings.Sounding >= 3 || partIndex < 0) return;
  if (static_cast<size_t>(partIndex) >= setup_.SoundSlots.size()) return;
  const auto& slots = setup_.SoundSlots[static_cast<size_t>(partIndex)];
  const int16_t lane = WordAt(part, step);
  // Lanes of different parts are different instruments: each part cuts only its own.
  const auto group = static_cast<int16_t>(part.FlagWord != 0 ? 0 : partIndex * 8 + lane + 1);
  for (int k = 0; k < kSlotsPerStep; ++k) {
    const size_t i = static_cast<size_t>(step) * kSlotsPerStep + static_cast<size_t>(k);
    if (i >= part.ChipSounds.size()) return;
    const int16_t sound = part.ChipSounds[i];
    if (sound < 0 || static_cast<size_t>(sound) >= slots.size()) continue;
    const int16_t buffer = slots[static_cast<size_t>(sound)];
    if (buffer < 0) continue;
    const int32_t length = part.ChipTicks[i];
    const int32_t end = length > 0 ? static_cast<int32_t>(std::min<int64_t>(int64_t{bgTick_} + length, kNoEndTime))
                                   : kNoEndTime;
    soundQueue_.Add(buffer, group, bgTick_, end, part.ChipWordsC[i], part.ChipWordsB[i]);
  }
}

void Stage::EndKnockOutDisplays() {
  // The knock-out display runs one beat past the knock-out, also into the result display.
  for (auto& player : players_) {
    if (player.KnockedOut != 0 && player.DangerTime > 0 && curTick_ - player.DangerTime >= kKnockOutShownTicks) {
      player.DangerTime = -1;
    }
  }
}

void Stage::UpdateKnockOut() {
  if (setup_.PlayStyle != 0 || setup_.MenuChoice == TitleCode::FreeMode || setup_.MenuChoice == TitleCode::TutorialStages) return;
  for (int p = 0; p < 2; ++p) {
    auto& player = players_[p];
    if (player.KnockedOut != 0) continue;
    if (setup_.ReplayPlayback[p]) continue;
    const int16_t gauge = gauge_[p];
    if (player.DangerTime == 0) {
      if (gauge < kDangerGauge) player.DangerTime = curTick_;
    } else if (curTick_ - player.DangerTime >= kKnockOutTicks) {
      player.KnockedOut = 1;
    } else if (gauge >= kDangerGauge) {
      player.DangerTime = 0;
    }
  }
}

void Stage::TestEnd() {
  if (lastStep_ >= stepLimit_) endState_ = 1;
  if (setup_.PlayStyle == 0) {
    bool anyHuman = false;
    bool allOut = true;
    for (int p = 0; p < 2; ++p) {
      if (IsComputer(p)) continue;
      anyHuman = true;
      allOut = allOut && players_[p].KnockedOut != 0;
    }
    if (anyHuman && allOut) endState_ = 2;
  }
  if (setup_.PlayStyle == 3 && gauge_[0] <= 0) endState_ = 2;
  if (endState_ != 0) Finish();
}

void Stage::Cut() {
  if (endState_ != 0) return;
  endState_ = 1;
  Finish();
}

void Stage::Finish() {
  for (int p = 0; p < 2; ++p) {
    auto& player = players_[p];
    // A combo still running at the end is part of the best combo of the stage.
    player.MaxCombo = std::max(player.MaxCombo, player.ComboCount);
    const int16_t total = charts_[p].ChipTotal;
    player.StageScore = total > 0 ? player.JudgeCount[JudgeJust] * 100 / total : 0;
  }
  if (setup_.PlayStyle == 3) runLife_[0] = gauge_[0];
  if (setup_.RapidMode < 0 && setup_.MenuSub >= 0 && setup_.MenuSub <= 1) {
    runLife_[1] = players_[setup_.MenuSub].ComboCount;
  }
}

}  // namespace tessaru
