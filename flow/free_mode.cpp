#include "flow/free_mode.h"

#include "content/extension_parts.h"
#include "content/song_file.h"
#include "flow/flow_rules.h"
#include "flow/flow_stage.h"
#include "flow/free_mode_setting.h"
#include "flow/match_up.h"
#include "flow/menu_sound.h"
#include "flow/part_select.h"
#include "flow/song_select.h"

namespace tessaru {
namespace {

bool PassedWithAnyPart(const HighScores& records, int song) {
  for (int p = 0; p < kRecordParts; ++p) {
    if (records.HPS(p, song) > 0) return true;
  }
  return false;
}

bool LoadChosenSong(Game& game) {
  FlowState& st = game.State;
  if (!LoadSongFile(game.Song, game.Parts, st.SongPath, false)) {
    game.Errors.AddLoadFailure(st.SongPath);
    return false;
  }
  if (st.Setup.RapidMode == 1) LoadRapidSong(game.Song, game.Parts, st.SongPath);
  return true;
}

}  // namespace

std::vector<int16_t> FreeSongList(const SongList& list, const HighScores& records) {
  std::vector<int16_t> offered;
  for (int16_t i = 0; i < list.SongCount; ++i) {
    bool open = false;
    if (i >= list.FirstExtraSong) {
      open = true;
    } else if (i < 6) {
      open = PassedWithAnyPart(records, i);
    } else if (i == 6) {
      open = records.GameFlagSet(2);
    } else if (i == 7) {
      open = records.GameFlagSet(0);
    } else {
      open = records.GameFlagSet(1);
    }
    if (open) offered.push_back(i);
  }
  return offered;
}

FreeStep NextFreeStep(FreeStep step, int16_t code, bool quit) {
  using enum FreeStep;
  if (quit) return Leave;
  switch (step) {
    case Setting: return code < 0 ? Leave : Song;
    case Song: return code < 0 ? Setting : Load;
    case Load: return Parts;
    case Reload: return MatchUp;
    case Parts: return code == 1 ? MatchUp : Song;
    case MatchUp: return code < 0 ? Parts : Play;
    case Play: return code < 0 ? Leave : Results;
    case Results:
      switch (static_cast<FreeChoice>(code)) {
        case FreeChoice::SameSong: return Reload;
        case FreeChoice::PartSelect: return Parts;
        case FreeChoice::SongSelect: return Song;
        case FreeChoice::Setting: return Setting;
        default: return Leave;
      }
    case Leave: break;
  }
  return Leave;
}

int16_t RunFreeMode(Game& game) {
  FlowState& st = game.State;
  st.Setup.PlayStyle = 0;
  st.Setup.ComSkill[0] = -1;
  st.Setup.ComSkill[1] = ComSkillForStage(game.Settings.DIFFICULTY, 0);
  const std::vector<int16_t> offered = FreeSongList(game.Songs, game.Records);

  bool played = false;
  FreeStep step = FreeStep::Setting;
  while (step != FreeStep::Leave) {
    int16_t code = 0;
    switch (step) {
      case FreeStep::Setting:
        StartMenuBgm(game);
        st.QuitRequested = false;
        code = FreeModeSetting(game, 1);
        break;
      case FreeStep::Song:
        StartMenuBgm(game);
        code = SelectSong(game, offered, 0, game.FreeSongCursor, st.Setup.RapidMode);
        if (code >= 0) game.FreeSongCursor = code;
        break;
      case FreeStep::Load:
      case FreeStep::Reload:
        if (!LoadChosenSong(game)) return -2;
        break;
      case FreeStep::Parts:
        StartMenuBgm(game);
        code = SelectParts(game);
        break;
      case FreeStep::MatchUp:
        code = ShowMatchUp(game, 0);
        break;
      case FreeStep::Play: {
        st.Setup.StagePoints = {0, 0};
        st.Setup.TourTotal = {0, 0};
        // A side on an extension part plays a copy of the song with those parts added.
        const bool extension = st.Setup.PlayerPart[0] >= kSelectableParts || st.Setup.PlayerPart[1] >= kSelectableParts;
        const FlowStageResult stage =
            extension ? PlayFlowStage(game, ExtendedSong(game.Song, game.Parts, st.SongPath), false)
                      : PlayFlowStage(game, game.Song, game.Parts, false);
        played = played || stage.Recorded;
        code = stage.Code;
        break;
      }
      case FreeStep::Results:
        code = static_cast<int16_t>(FreeModeResults(game, game.LastStage));
        break;
      case FreeStep::Leave: break;
    }
    step = NextFreeStep(step, code, st.QuitRequested);
  }
  if (played && CanSaveUserFiles(game)) {
    const bool ok = game.Records.SaveHighScores(game.ProgramFolder) &&
                    game.Records.SaveTourRankings(game.ProgramFolder);
    if (!ok) game.Errors.Add(game.ProgramFolder + "の記録ファイルの保存に失敗しました");
  }
  return st.QuitRequested ? int16_t{-1} : int16_t{0};
}

}  // namespace tessaru
