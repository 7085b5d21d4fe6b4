#include "flow/flow_stage.h"

#include "stage/play/play_stage.h"

namespace tessaru {

bool StagePassed(const FlowState& st, const StageOutcome& o) {
  if (o.QuitRequested || o.EndState == 0) return false;
  // Cut off by F1: measured in the stage's own steps, which HI-SPEED doubles.
  if (o.EndState == 1 && o.LastStep < o.StepLimit) return false;
  const std::array<bool, 2> humans{st.ComSkill[0] < 0, st.ComSkill[1] < 0};
  return !StageLost(st.PlayStyle, o.EndState, humans,
                    {o.Players[0].KnockedOut, o.Players[1].KnockedOut}, o.Players[0].Gauge);
}

void RecordStage(Game& game, const StageOutcome& outcome) {
  const FlowState& st = game.State;
  const bool passed = StagePassed(st, outcome);
  for (size_t p = 0; p < 2; ++p) {
    if (st.ComSkill[p] >= 0 || st.ReplayPlayback[p]) continue;
    StageRecord r;
    r.SongIndex = st.SongIndex;
    r.Part = st.PlayerPart[p];
    r.Points = outcome.Players[p].StagePoints;
    r.Rate = outcome.Players[p].StageScore;
    r.Passed = passed;
    r.Difficulty = game.Settings.DIFFICULTY;
    game.Records.RecordStageResult(r);
  }
}

FlowStageResult PlayFlowStage(Game& game, bool continueAllowed) {
  FlowState& st = game.State;
  StageSetup setup;
  setup.PlayerPart = st.PlayerPart;
  setup.PlayStyle = st.PlayStyle;
  setup.ComSkill = st.ComSkill;
  setup.HandicapOpt = st.HandicapOpt;
  setup.LaneOpt = st.LaneOpt;
  setup.VisibilityOpt = st.VisibilityOpt;
  setup.AssistFlag = st.AssistFlag;
  setup.ReplayPlayback = st.ReplayPlayback;
  setup.RapidMode = st.RapidMode;
  setup.SpecialFlag = st.SpecialFlag;
  setup.MenuChoice = st.MenuChoice;
  setup.MenuSub = st.MenuSub;
  setup.SongIndex = st.SongIndex;
  setup.RunLife = {st.RunLife[0], st.RunLife[1]};
  setup.StagePoints = st.StagePoints;
  setup.TourTotal = st.TourTotal;

  StageContext context(game.Graph, game.Sound, game.Input, game.Clock(), game.Errors, game.Settings,
                       game.DataPath, st.SongPath, game.Song, game.Parts);
  context.Setup = setup;
  context.ColorOpt = st.ColorOpt;
  context.ContinueAllowed = continueAllowed;
  context.DisplayRecreated = [&game] { MakeSharedPages(game); };
  context.WindowClosed = [&game] { return game.Devices().input->QuitRequested(); };
  context.Rng = &game.Rng;
  bool recorded = false;
  // Recorded as the stage ends, so an Esc during the result keeps them (they are saved
  // on the way out).
  context.StageEnded = [&game, &recorded](const StageOutcome& ended) {
    RecordStage(game, ended);
    recorded = true;
  };

  if (game.StageStarting) game.StageStarting(context);
  FlowStageResult result;
  result.Code = PlayStage(context);
  result.Outcome = context.Outcome;
  game.LastStage = context.Outcome;
  const StageOutcome& o = result.Outcome;
  for (size_t p = 0; p < 2; ++p) {
    st.StagePoints[p] = o.Players[p].StagePoints;
    st.TourTotal[p] = o.Players[p].TourTotal;
    st.StageScore[p] = o.Players[p].StageScore;
    st.Gauge[p] = o.Players[p].Gauge;
  }
  st.RunLife[0] = o.RunLife[0];
  st.RunLife[1] = o.RunLife[1];
  if (o.QuitRequested || result.Code == -1) st.QuitRequested = true;
  // A stage that never got going (set-up failed, or Esc during play) has nothing recorded.
  result.Recorded = recorded;
  return result;
}

}  // namespace tessaru
