#pragma once
// The running state of one PlayStage call, shared by the play loop and the result
// sequence. Private to the play screen.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "core/random.h"
#include "stage/play/play_assets.h"
#include "stage/play/play_view.h"
#include "stage/play/stage_audio.h"
#include "stage/play/stage_context.h"
#include "stage/song_clock.h"
#include "stage/stage.h"

namespace tessaru {

class StageRun {
 public:
  StageRun(StageContext& context, PlayAssets& assets, int16_t resolution);

  // Starts the track (and "ruready.wav") and the song clock. A later startStep begins
  // the song there: the track from the matching sample, without the "ready" voice.
  void Start(int32_t startStep = 0);
  // Stops the track and every sound of the stage.
  void StopSounds();
  // One iteration: input, clock, presses, engine, effects, and a frame when it is due.
  // `caption` >= 0 draws that result caption (with `number`) over the frame.
  void Iterate(int caption = -1, int32_t number = -1);
  // Draws and shows a frame now.
  void DrawFrame(int caption, int32_t number);

  bool KeyPressed(int input) const;
  bool EscapeDown() const;
  // A human player pressed function slot 1, 2 or 3 at the last poll.
  bool HumanDecided() const;
  bool WindowClosed() const;
  uint32_t Ticks() const { return context_.Clock.GetTickCount(); }

  // While open (the result display), a player's decide button asks for its replay to be
  // saved, and the screen says so.
  void OpenReplayRequests(bool open) { replayRequestsOpen_ = open; }
  const std::array<bool, 2>& ReplayRequests() const { return replayRequested_; }

  Stage& GetStage() { return *stage_; }
  PlayView& View() { return *view_; }
  StageContext& Context() { return context_; }
  PlayAssets& Assets() { return assets_; }
  Random& Rng() { return *rng_; }

 private:
  double ExactSongTime(int32_t songTime, double nowMs);
  void TakeReplayRequests();
  // Under the result: each side's replay prompt, or that the stage played it.
  void DrawResultNotes();
  void JudgePresses(double songExact, double nowMs);

  StageContext& context_;
  PlayAssets& assets_;
  int16_t resolution_;
  std::unique_ptr<Random> ownRng_;
  Random* rng_;
  SoundLibSink sink_;
  std::unique_ptr<Stage> stage_;
  std::unique_ptr<PlayView> view_;
  TrackClock track_;
  PlatformTicks ticks_;
  std::unique_ptr<SongClock> clock_;
  bool trackPlaying_ = false;
  bool replayRequestsOpen_ = false;
  std::array<bool, 2> replayRequested_{false, false};
  int16_t maxFps_ = 60;
  int32_t lastDrawTime_ = -1000000;
  uint32_t lastFpsTick_ = 0;
  uint32_t frameCount_ = 0;
  uint32_t shownFps_ = 60;
};

// Sets up the stage's display and assets, runs `play` on them and tears them down again.
// Returns what `play` returned, or -1 (QuitRequested set) when the stage could not be set
// up.
int16_t WithStageDisplay(StageContext& context, const std::function<int16_t(PlayAssets&)>& play);

// The stage's final counts and totals into the outcome.
void FillOutcome(StageOutcome& out, const Stage& stage);

// The end-of-stage sequence: result, voices, and for a lost stage the continue prompt
// and the game-over screen. Returns the result code it decided (0 when none).
int16_t RunResultSequence(StageRun& run, bool lost, bool continueAllowed);

}  // namespace tessaru
