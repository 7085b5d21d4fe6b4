// The single tour and the two-player tours.
#include "flow/tours/tours.h"

#include <algorithm>

#include "flow/flow_rules.h"
#include "flow/tours/stage_chain.h"
#include "flow/tours/unlocks.h"

namespace tessaru {

TourPlan SingleTourPlan() {
  TourPlan plan;
  plan.SingleTourFlags = true;
  plan.Songs = [](Game& g, const RunTable& run, int stage) {
    return SingleTourSongs(stage, run.Score(g.State.Setup.MenuSub, 2), g.Settings.DIFFICULTY);
  };
  plan.SetSkills = [](Game& g, int stage) {
    g.State.Setup.ComSkill[static_cast<size_t>(OtherSeat(g.State.Setup.MenuSub))] = ComSkillForStage(g.Settings.DIFFICULTY, stage);
  };
  plan.GoesOn = [](const Game& g, const RunTable& run, int stage) {
    return SingleTourGoesOn(stage, run.Score(g.State.Setup.MenuSub, stage), g.Settings.DIFFICULTY);
  };
  return plan;
}

void StartSingleTour(StageSetup& setup) {
  ResetRunState(setup);
  setup.ComSkill[setup.MenuSub] = -1;
}

int16_t RunSingleTour(Game& game) {
  if (!game.Songs.SongListValid) {
    SaveRunRecords(game);
    return 0;
  }
  StartSingleTour(game.State.Setup);
  return RunStageChain(game, SingleTourPlan());
}

int16_t RunPairTour(Game& game) {
  if (!game.Songs.SongListValid) {
    SaveRunRecords(game);
    return 0;
  }
  FlowState& st = game.State;
  const bool session = st.Setup.MenuSub == 1;
  ResetRunState(st.Setup);
  st.Setup.PlayStyle = session ? 2 : 1;
  st.Setup.ComSkill[0] = -1;
  st.Setup.ComSkill[1] = -1;
  st.Setup.MenuSub = 0;
  TourPlan plan;
  plan.StageCount = 3;
  plan.Pair = true;
  plan.Ranking = session ? RunRanking::Session : RunRanking::Double;
  plan.Songs = [](Game& g, const RunTable& run, int stage) {
    const int32_t best = std::max(run.Score(0, 2), run.Score(1, 2));
    return PairTourSongs(stage, best, g.Settings.DIFFICULTY, FlagMarked(g.Records, 1));
  };
  plan.SetSkills = [](Game& g, int stage) { g.State.Setup.ComSkill[2] = ComSkillForStage(g.Settings.DIFFICULTY, stage); };
  plan.GoesOn = [](const Game&, const RunTable& run, int stage) {
    return PairTourGoesOn(stage, run.Score(0, stage), run.Score(1, stage));
  };
  return RunStageChain(game, plan);
}

}  // namespace tessaru
