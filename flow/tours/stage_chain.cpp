#include "flow/tours/stage_chain.h"

#include "content/extension_parts.h"
#include "content/song_file.h"
#include "content/song_list.h"
#include "core/paths.h"
#include "flow/flow_rules.h"
#include "flow/flow_stage.h"
#include "flow/match_up.h"
#include "flow/menu_sound.h"
#include "flow/part_select.h"
#include "flow/results/results_screens.h"
#include "flow/song_select.h"
#include "stage/tempo_map.h"

namespace tessaru {
namespace {

StageRow* RowOf(RunTable& run, int side, int stage) {
  if (stage < 1 || stage > kTourStages) return nullptr;
  return &run.Rows[static_cast<size_t>(side)][static_cast<size_t>(stage - 1)];
}

RankEntry EntryOf(const RunTable& run, int side, int32_t total) {
  RankEntry e;
  e.Score = total;
  for (size_t k = 0; k < kTourStages; ++k) {
    const StageRow& r = run.Rows[static_cast<size_t>(side)][k];
    e.Songs[k] = r.Song;
    e.Chars[k] = r.Song != 0 ? r.Part : int16_t{0};
    e.Rates[k] = r.Score;
  }
  return e;
}

// Places the entry only among the first `top` places of the table; a total that would
// land below them leaves the table as it was.
template <typename Table, typename Entry>
int PlaceInTop(Table& table, const Entry& entry, int top) {
  Table trial = table;
  const int at = InsertRank(trial, entry);
  if (at >= top || at >= static_cast<int>(trial.size())) return -1;
  table = std::move(trial);
  return at;
}

// A pair run ranks both sides as one entry, so either side autoplayed spoils it.
bool RunAutoplayed(const TourPlan& plan, const RunTable& run, int side) {
  if (plan.Pair) return run.Autoplayed[0] || run.Autoplayed[1];
  return (side == 0 || side == 1) && run.Autoplayed[static_cast<size_t>(side)];
}

std::string ThreeLetters(std::string name) {
  name.resize(3, ' ');
  return name;
}

// Ending, then name entry and the table when the total places.
void FinishRun(Game& game, const TourPlan& plan, const RunTable& run) {
  FlowState& st = game.State;
  HighScores& rec = game.Records;
  const int side = plan.Pair ? 0 : st.Setup.MenuSub;
  int16_t kind = -1;
  const size_t part = static_cast<size_t>(st.Setup.PlayerPart[static_cast<size_t>(side)]);
  if (!plan.GenericEnding && part < game.Parts.size()) kind = game.Parts[part].Kind;
  st.QuitRequested = false;
  ShowEnding(game, kind);
  if (st.QuitRequested || RunAutoplayed(plan, run, side)) return;

  if (plan.Pair) {
    const int32_t total = st.Setup.TourTotal[0] + st.Setup.TourTotal[1];
    RankPair pair{EntryOf(run, 0, total), EntryOf(run, 1, total)};
    pair.Player2.Songs = pair.Player1.Songs;
    PairRankTable& table = plan.Ranking == RunRanking::Double ? rec.TourModeDouble : rec.TourModeSession;
    const int at = PlaceInTop(table, pair, 5);
    if (at < 0) return;
    const std::string name = EnterName(game, 0, static_cast<int16_t>(at));
    if (!name.empty()) {
      table[static_cast<size_t>(at)].Player1.Name = ThreeLetters(name);
      table[static_cast<size_t>(at)].Player2.Name = ThreeLetters(name);
    }
    if (st.QuitRequested) return;
    if (plan.Ranking == RunRanking::Double) ShowSpecialRecords(game, 6);
    else ShowTourRecords(game, 1);
    return;
  }

  const RankEntry entry = EntryOf(run, side, st.Setup.TourTotal[static_cast<size_t>(side)]);
  RankTable* table = &rec.TourMode;
  int top = kTourTableSize;
  switch (plan.Ranking) {
    case RunRanking::Beginner: table = &rec.TourModeBeginner; top = kBeginnerTableSize; break;
    case RunRanking::Tutorial: table = &rec.TourModeTuto; top = 3; break;
    case RunRanking::Special:
      table = &rec.SpecialRanks[static_cast<size_t>(plan.SpecialMode)];
      top = kSpecialTableSize;
      break;
    default: break;
  }
  const int at = PlaceInTop(*table, entry, top);
  if (at < 0) return;
  const std::string name = EnterName(game, static_cast<int16_t>(side), static_cast<int16_t>(at));
  if (!name.empty()) (*table)[static_cast<size_t>(at)].Name = ThreeLetters(name);
  if (st.QuitRequested) return;
  switch (plan.Ranking) {
    case RunRanking::Single: ShowTourRecords(game, 0); break;
    case RunRanking::Tutorial: ShowTourRecords(game, 2); break;
    case RunRanking::Beginner: ShowTourRecords(game, 3); break;
    default: ShowSpecialRecords(game, SpecialRunRecordsView(plan.SpecialMode)); break;
  }
}

// The chosen song, in its rapid variant when the run asks for it. A song without a rapid
// variant is played as it is rather than half-loaded. False when the song itself fails.
bool LoadStageSong(Game& game) {
  const FlowState& st = game.State;
  if (!LoadSongFile(game.Song, game.Parts, st.SongPath, false)) {
    game.Errors.AddLoadFailure(st.SongPath);
    return false;
  }
  if (st.Setup.RapidMode == 1 && !LoadRapidSong(game.Song, game.Parts, st.SongPath)) {
    game.Errors.AddLoadFailure(FolderOf(st.SongPath) + "\\rapid.zxt");
    if (!LoadSongFile(game.Song, game.Parts, st.SongPath, false)) {
      game.Errors.AddLoadFailure(st.SongPath);
      return false;
    }
  }
  return true;
}

}  // namespace

void ResetRunState(StageSetup& setup) {
  setup.PlayStyle = 0;
  setup.ColorOpt = {0, 0};
  setup.VisibilityOpt = {0, 0};
  setup.LaneOpt = {0, 0};
  setup.TimingOpt = {0, 0};
  setup.HandicapOpt = {0, 0};
  setup.AssistFlag = {0, 0};
  setup.ReplayPlayback = {false, false};
  setup.RapidMode = 0;
  setup.SpecialFlag = 0;
  setup.RunLife = {1000, 0};
  setup.TourTotal = {0, 0};
  setup.StagePoints = {0, 0};
  setup.ComSkill = {-1, -1, 99, 99};
}

void SaveRunRecords(Game& game) {
  const std::string& folder = game.ProgramFolder;
  bool ok = game.Records.SaveHighScores(folder);
  ok = game.Records.SaveSpecialRankings(folder) && ok;
  ok = game.Records.SaveTourRankings(folder) && ok;
  if (!ok) game.Errors.Add(folder + "の記録ファイルの保存に失敗しました");
}

int16_t RunStageChain(Game& game, const TourPlan& plan) {
  FlowState& st = game.State;
  RunTable run;
  st.Setup.TourTotal = {0, 0};
  bool toTheEnd = false;
  bool loadFailed = false;
  int stage = 1;
  for (;;) {
    StartMenuBgm(game);
    st.Setup.StagePoints = {0, 0};
    st.QuitRequested = false;
    const std::vector<int16_t> songs = OnlyListed(plan.Songs(game, run, stage), game.Songs.SongCount);
    if (songs.empty()) {
      toTheEnd = stage > 1;
      break;
    }
    const int16_t pick = SelectSong(game, songs, stage, 0, st.Setup.RapidMode);
    if (st.QuitRequested || pick < 0) break;
    const int side = st.Setup.MenuSub;
    if (plan.SetSkills) plan.SetSkills(game, stage);
    if (StageRow* row = RowOf(run, side, stage)) *row = StageRow{static_cast<int16_t>(st.Setup.SongIndex + 1), 0, 0};

    if (!LoadStageSong(game)) {
      loadFailed = true;
      break;
    }
    const bool partsSet = plan.AfterLoad && plan.AfterLoad(game, stage);
    st.QuitRequested = false;
    if (!partsSet && SelectParts(game) != 1) break;
    // Extension parts join the loaded song itself: the chain loads the song afresh every
    // stage, and the ending reads the kind of the part played last.
    if (st.Setup.PlayerPart[0] > 7 || st.Setup.PlayerPart[1] > 7) LoadExtensionParts(game.Song, game.Parts, st.SongPath);
    for (int p = 0; p < 2; ++p) {
      if (p != side && !plan.Pair) continue;
      if (StageRow* row = RowOf(run, p, stage)) {
        row->Song = static_cast<int16_t>(st.Setup.SongIndex + 1);
        row->Part = st.Setup.PlayerPart[static_cast<size_t>(p)];
      }
    }
    if (ShowMatchUp(game, 0) < 0) break;

    st.Setup.StagePoints = {0, 0};
    const int16_t drawDance = game.Settings.DRAWDANCE;
    const int16_t drawBack = game.Settings.DRAWBACK;
    if (plan.PlainStages) game.Settings.DRAWDANCE = 0;
    const FlowStageResult played = PlayFlowStage(game, game.Song, game.Parts, !plan.Survival);
    game.Settings.DRAWDANCE = drawDance;
    game.Settings.DRAWBACK = drawBack;
    if (played.Code == -1 || st.QuitRequested) break;
    const StageOutcome& outcome = game.LastStage;
    for (size_t p = 0; p < 2; ++p) run.Autoplayed[p] = run.Autoplayed[p] || outcome.Players[p].Autoplayed;
    CarryRunTotals(st.Setup, outcome);
    if (played.Code == -2) {
      // A continue: the run starts its total again and replays the stage.
      st.Setup.TourTotal = {0, 0};
      continue;
    }
    const bool passed = StagePassed(st.Setup, outcome);
    for (int p = 0; p < 2; ++p) {
      if (p != side && !plan.Pair) continue;
      if (StageRow* row = RowOf(run, p, stage)) row->Score = static_cast<int16_t>(outcome.Players[p].StageScore);
    }
    run.LastStage = stage;
    if (stage <= kTourStages) run.Passed[static_cast<size_t>(stage - 1)] = passed;
    run.AnyStageDone = run.AnyStageDone || played.Recorded;
    if (plan.SingleTourFlags && !RunAutoplayed(plan, run, side)) UpdateStageFlags(game.Records, stage, passed);
    // A lost stage whose game over ran out without a press ends the run as -3 does.
    const bool over = played.Code == -3 || outcome.Lost || (plan.Survival && !passed) || stage >= plan.StageCount ||
                      (plan.GoesOn && !plan.GoesOn(game, run, stage));
    if (over) {
      toTheEnd = true;
      break;
    }
    ++stage;
  }

  const bool earns = !RunAutoplayed(plan, run, st.Setup.MenuSub);
  if (plan.Ranking == RunRanking::Special && run.AnyStageDone && earns) {
    ++game.Records.SpecialPlays[static_cast<size_t>(plan.SpecialMode)];
  }
  if (toTheEnd && !loadFailed) {
    if (plan.SingleTourFlags && earns) UpdateRunEndFlags(game.Records, run, st.Setup.MenuSub, game.Settings.DIFFICULTY);
    if (plan.Ranking == RunRanking::Double && earns) ++game.Records.SpecialPlays[6];
    FinishRun(game, plan, run);
  }
  // Whatever ended the run, what it earned is kept; a song that failed to load ends the
  // game, but not at the cost of the stages already played.
  SaveRunRecords(game);
  if (loadFailed) return -2;
  return st.QuitRequested ? -1 : 0;
}

}  // namespace tessaru
