#include "stage/play/training_run.h"

#include <algorithm>

#include "stage/play/stage_run.h"

namespace tessaru {

double TrainingTempoFactor(int16_t speed) { return (100.0 + 5.0 * speed) / 100.0; }

SongRecord SongAtSpeed(const SongRecord& song, int16_t speed) {
  SongRecord scaled = song;
  if (speed == 0) return scaled;
  const double factor = TrainingTempoFactor(speed);
  scaled.Bpm *= factor;
  for (double& bpm : scaled.TempoBpms) bpm *= factor;
  return scaled;
}

TrainingOutcome PlayTrainingSection(StageContext& c, const TrainingSection& section) {
  TrainingOutcome outcome;
  const int32_t songSteps = int32_t{c.Song.Bars} * kStepsPerBar;
  const int32_t endStep = std::min(section.EndBar * kStepsPerBar, songSteps);
  c.Setup.StartStep = section.StartBar * kStepsPerBar;
  c.Setup.EndStep = endStep;
  c.Setup.NoGauge = true;
  outcome.Code = WithStageDisplay(c, [&](PlayAssets& assets) -> int16_t {
    for (;;) {
      ++outcome.Passes;
      StageRun run(c, assets, assets.Resolution);
      run.Start(c.Setup.StartStep);
      bool stopped = false;
      while (run.GetStage().EndState() == 0 && run.GetStage().LastStep() < endStep) {
        run.Iterate();
        stopped = run.KeyPressed(kVkF1) || run.KeyPressed(kVkTab) || run.EscapeDown() || run.WindowClosed();
        if (stopped) break;
      }
      run.StopSounds();
      FillOutcome(c.Outcome, run.GetStage());
      if (run.EscapeDown() || run.WindowClosed()) {
        c.Outcome.QuitRequested = true;
        return -1;
      }
      if (run.KeyPressed(kVkF1) || !section.Repeat) return 0;
    }
  });
  return outcome;
}

}  // namespace tessaru
