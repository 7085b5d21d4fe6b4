// The beginner mode and the tutorial: lesson parts and forced tempos over the first songs.
#include "content/packed.h"
#include "content/part_file.h"
#include "core/file_access.h"
#include "core/paths.h"
#include "flow/flow_rules.h"
#include "flow/tours/stage_chain.h"
#include "flow/tours/tours.h"
#include "stage/tempo_map.h"

namespace tessaru {
namespace {

void ForceTempo(SongRecord& song, double bpm) {
  song.Bpm = bpm;
  if (!song.TempoBpms.empty()) song.TempoBpms[0] = bpm;
}

// Songs 0 and 4 are slowed for learners.
void ForceBeginnerTempo(Game& game) {
  if (game.State.Setup.SongIndex == 0) ForceTempo(game.Song, 140.0);
  if (game.State.Setup.SongIndex == 4) ForceTempo(game.Song, 135.0);
}

bool LoadLessonPart(Game& game, size_t slot, const std::string& path) {
  if (slot >= game.Parts.size() || !LoadPartFile(game.Parts[slot], path)) {
    game.Errors.AddLoadFailure(path);
    return false;
  }
  return true;
}

int16_t ChipStepsWithin(const PartRecord& part, int bars) {
  int count = 0;
  const size_t steps = static_cast<size_t>(std::max(bars, 0)) * kStepsPerBar;
  for (size_t s = 0; s < steps && s < part.StepWords.size(); ++s) {
    if (part.StepWords[s] > 0) ++count;
  }
  return static_cast<int16_t>(std::min(count, 32767));
}

}  // namespace

bool TutorialFilesPresent(const Game& game) {
  return !game.Songs.SongPaths.empty() && FileExists(FolderOf(game.Songs.SongPaths[0]) + "\\tuto1p.zxp");
}

bool ApplyBeginnerTable(Game& game) {
  FlowState& st = game.State;
  const std::string folder = FolderOf(st.SongPath);
  const std::string table = folder + "\\beginner.zxt";
  std::optional<FieldReader> fields = OpenPackedText(table);
  int16_t human = 0;
  int16_t computer = 0;
  std::string partFile;
  int16_t bars = 0;
  const bool read = fields && fields->ReadInt16(human) && fields->ReadInt16(computer) &&
                    fields->Read(partFile) && fields->ReadInt16(bars);
  const int partCount = static_cast<int>(game.Parts.size());
  // The parts and bar count come from a file: only what the song really has is used.
  if (!read || human < 0 || human >= partCount || computer < 0 || computer >= partCount || bars <= 0) {
    game.Errors.AddLoadFailure(table);
    return false;
  }
  if (!LoadLessonPart(game, static_cast<size_t>(human), folder + "\\" + partFile)) return false;
  const size_t me = static_cast<size_t>(st.Setup.MenuSub);
  st.Setup.PlayerPart[me] = human;
  st.Setup.PlayerPart[static_cast<size_t>(OtherSeat(st.Setup.MenuSub))] = computer;
  game.Song.Bars = bars;
  PartRecord& lesson = game.Parts[static_cast<size_t>(human)];
  lesson.ChipTotal = ChipStepsWithin(lesson, bars);
  return true;
}

int16_t RunBeginnerMode(Game& game) {
  if (!game.Songs.SongListValid) {
    SaveRunRecords(game);
    return 0;
  }
  FlowState& st = game.State;
  ResetRunState(st.Setup);
  st.Setup.ComSkill[static_cast<size_t>(st.Setup.MenuSub)] = -1;
  // The assist goes to the side that plays, whichever it is.
  st.Setup.AssistFlag[static_cast<size_t>(st.Setup.MenuSub)] = 1;
  TourPlan plan;
  plan.Ranking = RunRanking::Beginner;
  plan.GenericEnding = true;
  plan.Songs = [](Game& g, const RunTable& run, int stage) {
    return BeginnerSongs(stage, run.Score(g.State.Setup.MenuSub, stage - 1));
  };
  plan.SetSkills = [](Game& g, int stage) {
    g.State.Setup.ComSkill[static_cast<size_t>(OtherSeat(g.State.Setup.MenuSub))] = BeginnerComSkill(stage);
  };
  plan.AfterLoad = [](Game& g, int) {
    ForceBeginnerTempo(g);
    return ApplyBeginnerTable(g);
  };
  return RunStageChain(game, plan);
}

int16_t RunTutorial(Game& game) {
  if (!TutorialFilesPresent(game)) {
    SaveRunRecords(game);
    return 0;
  }
  FlowState& st = game.State;
  ResetRunState(st.Setup);
  st.Setup.MenuChoice = TitleCode::TutorialStages;
  st.Setup.MenuSub = 0;
  st.Setup.ComSkill[0] = -1;
  st.Setup.AssistFlag[0] = 1;
  TourPlan plan;
  plan.StageCount = 3;
  plan.Ranking = RunRanking::Tutorial;
  plan.GenericEnding = true;
  plan.PlainStages = true;
  plan.Songs = [](Game&, const RunTable&, int stage) {
    return std::vector<int16_t>{static_cast<int16_t>(stage - 1)};
  };
  plan.SetSkills = [](Game& g, int stage) {
    static constexpr int16_t kSkills[] = {0, 5, 10};
    g.State.Setup.ComSkill[1] = kSkills[std::clamp(stage - 1, 0, 2)];
  };
  plan.AfterLoad = [](Game& g, int stage) {
    if (stage != 1) {
      ForceBeginnerTempo(g);
      return ApplyBeginnerTable(g);
    }
    const std::string folder = FolderOf(g.State.SongPath);
    g.State.Setup.PlayerPart = {1, 5};
    g.Song.Bars = 62;
    LoadLessonPart(g, 1, folder + "\\tuto1p.z4p");
    LoadLessonPart(g, 5, folder + "\\tuto2p.z4p");
    // The lesson's animation lies beside the song, which names it by its plain name.
    g.Song.Anime = "tutorial.z4b";
    ForceTempo(g.Song, 140.0);
    return true;
  };
  return RunStageChain(game, plan);
}

}  // namespace tessaru
