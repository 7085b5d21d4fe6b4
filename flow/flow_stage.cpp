#include "flow/flow_stage.h"

#include "stage/play/play_stage.h"
#include "flow/screen_names.h"

namespace tessaru {

bool StagePassed(const StageSetup& setup, const StageOutcome& o) {
  if (o.QuitRequested || o.EndState == 0) return false;
  // Cut off by F1: measured in the stage's own steps, which HI-SPEED doubles.
  if (o.EndState == 1 && o.LastStep < o.StepLimit) return false;
  const std::array<bool, 2> humans{setup.ComSkill[0] < 0, setup.ComSkill[1] < 0};
  return !StageLost(setup.PlayStyle, o.EndState, humans,
                    {o.Players[0].KnockedOut, o.Players[1].KnockedOut}, o.Players[0].Gauge);
}

void RecordStage(Game& game, const StageOutcome& outcome) {
  const StageSetup& setup = game.State.Setup;
  const bool passed = StagePassed(setup, outcome);
  for (int p = 0; p < 2; ++p) {
    if (setup.ComSkill[p] >= 0 || setup.ReplayPlayback[p] || outcome.Players[p].Autoplayed) continue;
    StageRecord r;
    r.SongIndex = setup.SongIndex;
    r.Part = setup.PlayerPart[p];
    r.Points = outcome.Players[p].StagePoints;
    r.Rate = outcome.Players[p].StageScore;
    r.Passed = passed;
    r.Difficulty = game.Settings.DIFFICULTY;
    game.Records.RecordStageResult(r);
  }
}

void CarryRunTotals(StageSetup& setup, const StageOutcome& o) {
  for (int p = 0; p < 2; ++p) {
    setup.StagePoints[p] = o.Players[p].StagePoints;
    setup.TourTotal[p] = o.Players[p].TourTotal;
  }
  setup.RunLife = o.RunLife;
}

StageContext FlowStageContext(Game& game, const SongRecord& song, const std::vector<PartRecord>& parts) {
  StageContext context(game.Graph, game.Sound, game.Input, game.Clock(), game.Errors, game.Settings,
                       game.DataPath, game.State.SongPath, song, parts);
  context.Setup = game.State.Setup;
  context.ProgramFolder = game.ProgramFolder;
  context.DisplayRecreated = [&game] { MakeSharedPages(game); };
  context.WindowClosed = [&game] { return game.Devices().input->QuitRequested(); };
  context.Rng = &game.Rng;
  return context;
}

FlowStageResult PlayFlowStage(Game& game, const SongRecord& song, const std::vector<PartRecord>& parts,
                              bool continueAllowed) {
  FlowState& st = game.State;
  StageContext context = FlowStageContext(game, song, parts);
  context.ReplayFiles = st.ReplayFiles;
  // Every flow's stages pass here (training has its own), so this is the one place the
  // run-wide test aid reaches them.
  for (int p = 0; p < 2; ++p) {
    context.Setup.Autoplay[p] = game.Autoplay[p] && context.Setup.ComSkill[p] < 0 && !context.Setup.ReplayPlayback[p];
  }
  context.ContinueAllowed = continueAllowed;
  bool recorded = false;
  // Recorded as the stage ends, so an Esc during the result keeps them (they are saved
  // on the way out).
  context.StageEnded = [&game, &recorded](const StageOutcome& ended) {
    RecordStage(game, ended);
    recorded = true;
  };

  EnterScreen(game, screen_name::kStage);
  if (game.StageStarting) game.StageStarting(context);
  FlowStageResult result;
  result.Code = PlayStage(context);
  game.LastStage = context.Outcome;
  if (game.StagePlayed) game.StagePlayed(context);
  if (game.LastStage.QuitRequested || result.Code == -1) st.QuitRequested = true;
  // A stage that never got going (set-up failed, or Esc during play) has nothing recorded.
  result.Recorded = recorded;
  return result;
}

}  // namespace tessaru
