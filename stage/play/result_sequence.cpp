#include <algorithm>
#include <string>

#include "content/data_files.h"
#include "layout/play_layout.h"
#include "stage/play/play_stage.h"
#include "stage/play/stage_run.h"

namespace tessaru {
namespace {

constexpr uint32_t kCountSoundMs = 1000;  // "pcount.wav" and the score count-up
constexpr uint32_t kVoiceMs = 2500;
constexpr uint32_t kResultMs = 4500;

// The player whose character speaks: the first human, else player 1.
int Speaker(const StageContext& c) {
  for (int p = 0; p < 2; ++p) {
    if (c.Setup.ComSkill[p] < 0) return p;
  }
  return 0;
}

void Play(StageRun& run, SoundSlot slot) {
  if (slot >= 0) run.Context().Sound.PlaySound(slot, true, false);
}

// Runs iterations for `durationMs` of the tick counter. Returns true when a human
// pressed to decide while `accept(elapsed)` held; `caption` and the number are drawn.
template <typename Accept, typename Number>
int16_t Wait(StageRun& run, uint32_t durationMs, int caption, Number number, Accept accept, int16_t code) {
  const uint32_t start = run.Ticks();
  for (;;) {
    const uint32_t e = run.Ticks() - start;
    if (e >= durationMs) return 0;
    run.Iterate(caption, number(e));
    if (run.KeyPressed(kVkEscape) || run.WindowClosed()) return -1;
    if (run.HumanDecided() && accept(e)) return code;
  }
}

}  // namespace

int16_t RunResultSequence(StageRun& run, bool lost, bool continueAllowed) {
  StageContext& c = run.Context();
  PlayAssets& a = run.Assets();
  const int speaker = Speaker(c);
  const int32_t score = run.GetStage().Player(speaker).StageScore;
  const SoundSlot okay = LoadStageSound(c, a, std::string(data_files::kResultCall));
  const SoundSlot count = LoadStageSound(c, a, std::string(data_files::kCountSound));
  const int part = c.Setup.PlayerPart[static_cast<size_t>(speaker)];
  const int variant = data_files::kFirstResultVoice + run.Rng().Draw(data_files::kResultVoiceCount);
  const SoundSlot voice =
      LoadStageSound(c, a, data_files::Voice(part, variant));

  // The result: the caption, then the score counting up while "pcount.wav" plays.
  Play(run, okay);
  bool counted = false;
  bool spoken = false;
  const int caption = lost ? kCaptionFailed : kCaptionClear;
  const auto shownScore = [&](uint32_t e) -> int32_t {
    if (e < kCountSoundMs) return -1;
    if (!counted) {
      Play(run, count);
      counted = true;
    }
    if (!spoken && e >= kVoiceMs) {
      Play(run, voice);
      spoken = true;
    }
    return std::min<int32_t>(score, static_cast<int32_t>(int64_t{score} * (e - kCountSoundMs) / kCountSoundMs));
  };
  int16_t code = Wait(run, kResultMs, caption, shownScore, [](uint32_t) { return false; }, 0);
  if (code != 0 || !lost || !continueAllowed) return code;

  // Continue? A human's decision within 11 s continues the run.
  const SoundSlot prompt = LoadStageSound(c, a, std::string(data_files::kContinueCall));
  Play(run, prompt);
  code = Wait(
      run, kContinueWindowMs, kCaptionContinue,
      [](uint32_t e) { return static_cast<int32_t>((kContinueWindowMs - e) / 1000); },
      [](uint32_t) { return true; }, -2);
  c.Sound.StopSound(prompt);
  if (code != 0) return code;

  // Game over: a press between 3 and 8 s still counts (-3).
  const SoundSlot over = LoadStageSound(c, a, std::string(data_files::kGameOverCall));
  Play(run, over);
  if (c.Settings.SOUNDING < 3) Play(run, LoadStageSound(c, a, std::string(data_files::kGoodbyeCall)));
  return Wait(
      run, kGameOverClosesMs, kCaptionGameOver, [](uint32_t) { return -1; },
      [](uint32_t e) { return e >= kGameOverOpensMs; }, -3);
}

}  // namespace tessaru
