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

enum class Step { Setting, Song, Load, Parts, Play, Leave };

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
  if (st.RapidMode == 1) LoadRapidSong(game.Song, game.Parts, st.SongPath);
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

int16_t RunFreeMode(Game& game) {
  FlowState& st = game.State;
  st.PlayStyle = 0;
  st.ComSkill[0] = -1;
  st.ComSkill[1] = ComSkillForStage(game.Settings.DIFFICULTY, 0);
  const std::vector<int16_t> offered = FreeSongList(game.Songs, game.Records);

  bool played = false;
  // Whether the loaded song has its extension parts appended; a second append would
  // stack them again, so the part select starts from a fresh load.
  bool extended = false;
  int16_t code = 0;
  Step step = Step::Setting;
  while (step != Step::Leave) {
    switch (step) {
      case Step::Setting:
        StartMenuBgm(game);
        st.QuitRequested = false;
        if (FreeModeSetting(game, 1) < 0) {
          code = st.QuitRequested ? -1 : 0;
          step = Step::Leave;
        } else {
          step = Step::Song;
        }
        break;
      case Step::Song: {
        StartMenuBgm(game);
        const int16_t r = SelectSong(game, offered, 0, game.FreeSongCursor, st.RapidMode);
        if (r < 0) {
          code = st.QuitRequested ? -1 : 0;
          step = st.QuitRequested ? Step::Leave : Step::Setting;
        } else {
          game.FreeSongCursor = r;
          step = Step::Load;
        }
        break;
      }
      case Step::Load:
        if (!LoadChosenSong(game)) return -2;
        extended = false;
        step = Step::Parts;
        break;
      case Step::Parts:
        if (extended) {
          step = Step::Load;
          break;
        }
        StartMenuBgm(game);
        if (SelectParts(game) != 1) {
          code = st.QuitRequested ? -1 : 0;
          step = st.QuitRequested ? Step::Leave : Step::Song;
        } else {
          step = Step::Play;
        }
        break;
      case Step::Play: {
        if (!extended && (st.PlayerPart[0] > 7 || st.PlayerPart[1] > 7)) {
          LoadExtensionParts(game.Song, game.Parts, st.SongPath);
          extended = true;
        }
        if (ShowMatchUp(game, 0) < 0) {
          code = st.QuitRequested ? -1 : 0;
          step = st.QuitRequested ? Step::Leave : Step::Parts;
          break;
        }
        st.StagePoints = {0, 0};
        st.TourTotal = {0, 0};
        const FlowStageResult stage = PlayFlowStage(game, false);
        played = played || stage.Recorded;
        if (stage.Code < 0 || st.QuitRequested) {
          code = st.QuitRequested ? -1 : 0;
          step = Step::Leave;
          break;
        }
        const int16_t choice = FreeModeResults(game, st.StageScore, st.StagePoints);
        switch (choice) {
          case kFreeSameSong:
            if (!LoadChosenSong(game)) return -2;
            extended = false;
            step = Step::Play;
            break;
          case kFreePartSelect: step = Step::Parts; break;
          case kFreeSongSelect: step = Step::Song; break;
          case kFreeSetting: step = Step::Setting; break;
          default:
            code = st.QuitRequested ? -1 : 0;
            step = Step::Leave;
            break;
        }
        break;
      }
      case Step::Leave: break;
    }
  }
  if (played && CanSaveUserFiles(game)) {
    const bool ok = game.Records.SaveHighScores(game.ProgramFolder) &&
                    game.Records.SaveTourRankings(game.ProgramFolder);
    if (!ok) game.Errors.Add(game.ProgramFolder + "の記録ファイルの保存に失敗しました");
  }
  return code;
}

}  // namespace tessaru
