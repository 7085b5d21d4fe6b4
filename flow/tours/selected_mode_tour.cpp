// The tour of a mode chosen on SELECT MODE: its options, stages and table.
#include <algorithm>
#include <limits>
#include <memory>

#include "content/data_files.h"
#include "content/packed.h"
#include "core/paths.h"
#include "flow/flow_rules.h"
#include "flow/menu_sound.h"
#include "flow/tours/mode_select.h"
#include "flow/tours/stage_chain.h"
#include "flow/tours/tours.h"

namespace tessaru {

TourPlan SingleTourPlan();
void StartSingleTour(StageSetup& setup);

namespace {

void BothSides(PerPlayer<int16_t>& option, int16_t value) { option = {value, value}; }

// Stages whose song and part the mode fixes: a one-song select, no part select.
TourPlan FixedStagesPlan(std::shared_ptr<std::vector<FixedStage>> stages) {
  TourPlan plan;
  plan.StageCount = static_cast<int>(stages->size());
  plan.Songs = [stages](Game&, const RunTable&, int stage) {
    const size_t k = static_cast<size_t>(stage - 1);
    return k < stages->size() ? std::vector<int16_t>{(*stages)[k].Song} : std::vector<int16_t>{};
  };
  plan.SetSkills = [](Game& g, int stage) {
    FlowState& st = g.State;
    if (st.Setup.PlayStyle == 3) {
      st.Setup.ComSkill[static_cast<size_t>(OtherSeat(st.Setup.MenuSub))] = st.Setup.ComSkill[2];
    } else {
      st.Setup.ComSkill[static_cast<size_t>(OtherSeat(st.Setup.MenuSub))] = ComSkillForStage(g.Settings.DIFFICULTY, stage);
    }
  };
  plan.AfterLoad = [stages](Game& g, int stage) {
    const size_t k = static_cast<size_t>(stage - 1);
    if (k >= stages->size()) return false;
    const int16_t part = (*stages)[k].Part;
    const int16_t partner = PartnerPart(part);
    // A song without the mode's part lets the player choose instead.
    if (part >= static_cast<int16_t>(g.Parts.size()) || partner >= static_cast<int16_t>(g.Parts.size())) return false;
    g.State.Setup.PlayerPart[static_cast<size_t>(g.State.Setup.MenuSub)] = part;
    g.State.Setup.PlayerPart[static_cast<size_t>(OtherSeat(g.State.Setup.MenuSub))] = partner;
    return true;
  };
  return plan;
}

void StartSurvival(StageSetup& setup, int16_t partnerSkill) {
  setup.PlayStyle = 3;
  setup.RunLife[0] = 1000;
  setup.RunLife[1] = 0;
  setup.RapidMode = -2;
  setup.ComSkill[2] = partnerSkill;
}

std::optional<std::vector<int16_t>> ReadCharacterTable(Game& game) {
  const std::string path = JoinLogical(game.DataPath, data_files::kCharacterTable);
  std::optional<FieldReader> fields = OpenPackedText(path);
  std::vector<int16_t> values;
  int16_t v = 0;
  while (fields && values.size() < 32 && fields->ReadInt16(v)) values.push_back(v);
  if (values.size() < 32) {
    game.Errors.AddLoadFailure(path);
    return std::nullopt;
  }
  return values;
}

// The plan of mode n on top of a reset run state; none when the mode cannot run.
std::optional<TourPlan> SpecialPlan(Game& game, int16_t n) {
  FlowState& st = game.State;
  const int16_t difficulty = game.Settings.DIFFICULTY;
  StartSingleTour(st.Setup);
  TourPlan plan = SingleTourPlan();
  plan.SingleTourFlags = false;
  switch (n) {
    case 0: BothSides(st.Setup.ColorOpt, 1); break;
    case 1: BothSides(st.Setup.ColorOpt, 3); break;
    case 2: BothSides(st.Setup.LaneOpt, 3); break;
    case 3: BothSides(st.Setup.TimingOpt, 1); break;
    case 4: BothSides(st.Setup.VisibilityOpt, 1); break;
    case 5: BothSides(st.Setup.VisibilityOpt, 2); break;
    case 20: st.Setup.RunLife[1] = 0; break;
    case 22: st.Setup.RapidMode = 1; break;
    case 24: BothSides(st.Setup.LaneOpt, 5); break;
    case 25: BothSides(st.Setup.VisibilityOpt, 4); break;
    case 27: BothSides(st.Setup.VisibilityOpt, 6); break;
    case 28: st.Setup.SpecialFlag = 1; break;
    case 26:
    case 30: {
      if (n == 26) BothSides(st.Setup.LaneOpt, 1);
      plan.Songs = [](Game&, const RunTable&, int stage) {
        return stage == 3 ? std::vector<int16_t>{6, 7} : SingleTourSongs(stage, 0, 0);
      };
      // TOUR PLUS always plays all four stages.
      if (n == 30) plan.GoesOn = nullptr;
      break;
    }
    default: {
      auto stages = std::make_shared<std::vector<FixedStage>>();
      if (n >= 7 && n <= 11) {
        const std::vector<int32_t> order = PairsByPasses(game.Records, game.Songs.SongCount);
        for (int k = 0; k < 3; ++k) {
          if (auto s = RankingStage(order, n, k)) stages->push_back(*s);
        }
      } else if (n >= 12 && n <= 19) {
        const auto table = ReadCharacterTable(game);
        const auto songs = table ? CharacterSongs(*table, n) : std::nullopt;
        if (!songs) return std::nullopt;
        for (const int16_t song : *songs) stages->push_back({song, static_cast<int16_t>(n - 12)});
      } else if (n == 21 || n == 29 || n == 31) {
        stages->assign(kExtraStages.begin(), kExtraStages.end());
        StartSurvival(st.Setup, n == 29 ? ComSkillForStage(difficulty, 4) : Mode31PartnerSkill(difficulty));
      } else {
        return std::nullopt;
      }
      plan = FixedStagesPlan(stages);
      plan.Survival = st.Setup.PlayStyle == 3;
      break;
    }
  }
  plan.Ranking = RunRanking::Special;
  plan.SpecialMode = n;
  return plan;
}

}  // namespace

int16_t RunSpecialTour(Game& game) {
  FlowState& st = game.State;
  if (!game.Songs.SongListValid) {
    SaveRunRecords(game);
    return 0;
  }
  StartMenuBgm(game);
  st.QuitRequested = false;
  const int16_t n = SelectMode(game);
  if (n < 0) return st.QuitRequested ? -1 : 0;
  if (n == 6) {
    st.Setup.MenuSub = 0;
    return RunPairTour(game);
  }
  if (n == 23) return RunEndless(game);
  const std::optional<TourPlan> plan = SpecialPlan(game, n);
  if (!plan) {
    SaveRunRecords(game);
    return 0;
  }
  return RunStageChain(game, *plan);
}

int16_t RunEndless(Game& game) {
  FlowState& st = game.State;
  StartSingleTour(st.Setup);
  StartSurvival(st.Setup, EndlessPartnerSkill(game.Settings.DIFFICULTY));
  st.Setup.TourTotal[1] = 0;
  const int pairCount = game.Songs.SongCount * 8;
  if (pairCount <= 0) return 0;
  auto played = std::make_shared<std::vector<bool>>(static_cast<size_t>(pairCount), false);
  auto current = std::make_shared<FixedStage>();
  TourPlan plan;
  plan.StageCount = std::numeric_limits<int>::max();
  plan.Survival = true;
  plan.Ranking = RunRanking::Special;
  plan.SpecialMode = 23;
  plan.Songs = [played, current](Game& g, const RunTable&, int) {
    auto& table = *played;
    if (std::find(table.begin(), table.end(), false) == table.end()) std::fill(table.begin(), table.end(), false);
    const int open = static_cast<int>(std::count(table.begin(), table.end(), false));
    int pick = g.Rng.Draw(open);
    for (size_t v = 0; v < table.size(); ++v) {
      if (table[v]) continue;
      if (pick-- == 0) {
        table[v] = true;
        *current = FixedStage{static_cast<int16_t>(v / 8), static_cast<int16_t>(v % 8)};
        break;
      }
    }
    return std::vector<int16_t>{current->Song};
  };
  plan.SetSkills = [](Game& g, int) {
    g.State.Setup.ComSkill[static_cast<size_t>(OtherSeat(g.State.Setup.MenuSub))] = g.State.Setup.ComSkill[2];
  };
  plan.AfterLoad = [current](Game& g, int) {
    const int16_t part = static_cast<int16_t>(current->Part % 8);
    g.State.Setup.PlayerPart[static_cast<size_t>(g.State.Setup.MenuSub)] = part;
    g.State.Setup.PlayerPart[static_cast<size_t>(OtherSeat(g.State.Setup.MenuSub))] = PartnerPart(part);
    return true;
  };
  return RunStageChain(game, plan);
}

}  // namespace tessaru
