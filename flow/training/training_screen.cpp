#include "flow/training/training_screen.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "content/song_file.h"
#include "flow/flow_stage.h"
#include "flow/menu_sound.h"
#include "flow/part_select.h"
#include "flow/screen_frame.h"
#include "flow/timing_panel.h"
#include "flow/training/training_menu.h"
#include "layout/training_layout.h"
#include "stage/play/training_run.h"
#include "flow/screen_names.h"

namespace tessaru {
namespace {

namespace tl = training_layout;

constexpr std::string_view kRowLabels[kTrainingRows] = {"SONG",  "PART",     "START", "END",  "REPEAT",
                                                        "BGM",   "SPEED",    "AUTOPLAY", "START", "EXIT"};

// The song of state.Song into the game, with the parts it offers (extension parts as on
// the part select). A song that cannot be loaded leaves nothing to play: its line goes
// to the log and the menu stays, so another song can be chosen.
bool LoadTrainingSong(Game& game, TrainingState& s, std::vector<int16_t>& offered) {
  FlowState& st = game.State;
  offered.clear();
  const auto row = static_cast<size_t>(s.Song);
  if (s.Song < 0 || row >= game.Songs.SongPaths.size()) return false;
  st.Setup.SongIndex = s.Song;
  st.SongPath = game.Songs.SongPaths[row];
  if (!LoadSongFile(game.Song, game.Parts, st.SongPath, false)) {
    game.Errors.AddLoadFailure(st.SongPath);
    TrainingSongLoaded(s, 0, 1);
    return false;
  }
  // Training plays the extended song itself: it is loaded afresh whenever the song changes.
  SongWithParts extended;
  const PartOffer offer = SongPartOffer(game, extended);
  if (offer.ExtensionCount > 0) {
    game.Song = std::move(extended.Song);
    game.Parts = std::move(extended.Parts);
  }
  for (const int16_t part : OfferedParts(offer)) {
    if (static_cast<size_t>(part) < game.Parts.size()) offered.push_back(part);
  }
  TrainingSongLoaded(s, game.Song.Bars, static_cast<int16_t>(offered.size()));
  return !offered.empty();
}

std::string Fitted(std::string text) {
  if (text.size() > static_cast<size_t>(tl::kValueLetters)) text.resize(static_cast<size_t>(tl::kValueLetters));
  return text;
}

std::string ValueText(const Game& game, const TrainingState& s, const std::vector<int16_t>& offered, bool loaded,
                      int row) {
  const auto onOff = [](int16_t v) { return std::string(v != 0 ? "ON" : "OFF"); };
  switch (row) {
    case kTrainingSong: return loaded ? Fitted(game.Song.Title) : "NOT LOADED";
    case kTrainingPart:
      return loaded && s.Part < static_cast<int16_t>(offered.size())
                 ? Fitted(game.Parts[static_cast<size_t>(offered[static_cast<size_t>(s.Part)])].Name)
                 : "-";
    case kTrainingStart: return std::to_string(s.Start + 1);
    case kTrainingEnd: return std::to_string(s.End + 1);
    case kTrainingRepeat: return onOff(s.Repeat);
    case kTrainingBgm: return s.Bgm != 0 ? "OFF" : "ON";
    case kTrainingSpeed: return TrainingSpeedText(s.Speed);
    case kTrainingAutoplay: return onOff(s.Autoplay);
    default: return "";
  }
}

void DrawTraining(Game& game, const TrainingState& s, const std::vector<int16_t>& offered, bool loaded,
                  int16_t blink) {
  GraphLib& g = game.Graph;
  g.DrawSystemText(BackIndex, "TRAINING MODE", tl::kTitleX, tl::kTitleY, 0);
  for (int row = 0; row < kTrainingRows; ++row) {
    const int y = tl::RowY(row);
    g.DrawSystemText(BackIndex, kRowLabels[row], tl::kLabelX, y, 1);
    const std::string value = ValueText(game, s, offered, loaded, row);
    if (!value.empty()) g.DrawSystemText(BackIndex, value, tl::kValueX, y, 1);
    if (row == s.Row && blink == 0) g.DrawSystemText(BackIndex, ">", tl::kCursorX, y, 1);
  }
  g.DrawSystemText(BackIndex, "PRESS TAB KEY TO PLAY & STOP", tl::kHelpX, tl::kTabHelpY, 1);
  g.DrawSystemText(BackIndex, "F1 : EXIT", tl::kHelpX, tl::kF1HelpY, 1);
}

// One practice: the song at the chosen speed, the player's part alone (2P's side stays
// empty), no play options, and the gauge left alone.
void PlaySection(Game& game, const TrainingState& s, int16_t part) {
  SongRecord song = SongAtSpeed(game.Song, s.Speed);
  if (s.Bgm != 0) song.Bgm.clear();
  EnterScreen(game, screen_name::kTrainingRun);
  StageContext c = FlowStageContext(game, song, game.Parts);
  // A setup of its own: no play options, whatever the other modes left behind.
  StageSetup setup;
  setup.PlayerPart = {part, -1};
  setup.ComSkill = {s.Autoplay != 0 ? kAutoplaySkill : int16_t{-1}, kAutoplaySkill, 99, 99};
  setup.MenuChoice = TitleCode::Training;
  setup.SongIndex = game.State.Setup.SongIndex;
  c.Setup = setup;
  c.ContinueAllowed = false;
  TrainingSection section;
  section.StartBar = s.Start;
  section.EndBar = s.End;
  section.Repeat = s.Repeat != 0;
  PlayTrainingSection(c, section);
  game.LastStage = c.Outcome;
  if (c.Outcome.QuitRequested) game.State.QuitRequested = true;
}

}  // namespace

void RunTraining(Game& game) {
  TrainingState s;
  const size_t songs = std::min<size_t>(static_cast<size_t>(std::max<int16_t>(game.Songs.SongCount, 0)),
                                        game.Songs.SongPaths.size());
  s.SongCount = static_cast<int16_t>(std::max<size_t>(songs, 1));
  s.Song = std::clamp<int16_t>(game.State.Setup.SongIndex, 0, static_cast<int16_t>(s.SongCount - 1));
  std::vector<int16_t> offered;
  bool loaded = LoadTrainingSong(game, s, offered);
  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING < 3 ? pages.Load("\\image\\selback.bmp") : -1;

  // The last pass's press timing, shown over the menu on F2 once a section was played.
  std::optional<TimingPanelState> timing;
  for (;;) {
    // A fresh frame after every run, so the menu fades in again.
    ScreenFrame frame(game, screen_name::kTraining);
    TrainingEvent event = TrainingEvent::None;
    while (event != TrainingEvent::Play) {
      const MenuButtons& b = frame.Poll();
      if (timing && UpdateTimingPanel(*timing, b.F2, b.F3) == TimingPanelEvent::Apply) {
        ApplyTimingSuggestion(game, *timing);
        PlayMenuSound(game, kDecideSound);
      }
      // The panel covers the menu: only F1 and Esc reach the menu meanwhile.
      const bool covered = timing && timing->Shown && !b.F1 && !b.Escape;
      event = covered ? TrainingEvent::None : UpdateTraining(s, b, game.Clock().GetTickCount());
      switch (event) {
        case TrainingEvent::Moved:
        case TrainingEvent::Changed: PlayMenuSound(game, kCursorSound); break;
        case TrainingEvent::SongChanged:
          PlayMenuSound(game, kCursorSound);
          loaded = LoadTrainingSong(game, s, offered);
          break;
        case TrainingEvent::Play:
          if (!loaded) event = TrainingEvent::None;  // nothing to practise on this song
          else PlayMenuSound(game, kDecideSound);
          break;
        case TrainingEvent::Exit: return;
        case TrainingEvent::Quit: game.State.QuitRequested = true; return;
        default: break;
      }
      if (frame.DrawDue()) {
        frame.DrawBackground(back);
        DrawTraining(game, s, offered, loaded, frame.Blink());
        if (timing && timing->Shown) DrawTimingPanel(game, *timing);
        frame.Show();
      }
    }
    PlaySection(game, s, offered[static_cast<size_t>(s.Part)]);
    if (game.State.QuitRequested) return;
    timing = MakeTimingPanel(game.LastStage, {s.Autoplay == 0, false});
  }
}

}  // namespace tessaru
