#pragma once
// Free mode: FREE MODE SETTING, then song, part, match-up and play, as often as the
// player likes, with the results screen's choice of where to go next.
#include <cstdint>
#include <string>
#include <vector>

#include "content/song_list.h"
#include "flow/game.h"
#include "flow/screen_frame.h"
#include "persist/high_scores.h"

namespace tessaru {

// The results screen's choices after a free-mode stage, in menu order; Quit after Esc.
enum class FreeChoice : int16_t { Quit = -1, SameSong, PartSelect, SongSelect, Title, Setting };

// The songs free mode offers: every song from FirstExtraSong on; of the first songs,
// those below 6 once passed with some part, 6, 7 and 8 on from game flags 2, 0 and 1.
std::vector<int16_t> FreeSongList(const SongList& list, const HighScores& records);

// The steps of a free-mode visit: the settings, a song, its load, the parts, the match-up,
// the stage and its results; Reload loads the song again for another go at it.
enum class FreeStep { Setting, Song, Load, Reload, Parts, MatchUp, Play, Results, Leave };

// Where free mode goes once `step` has ended with `code` (the screen's result, the
// stage's code, or the FreeChoice of the results); quit: Esc was pressed.
FreeStep NextFreeStep(FreeStep step, int16_t code, bool quit);

// Returns -2 when a song could not be loaded (the line is in the log), -1 when the
// player quit the game, else 0 (back to the title).
int16_t RunFreeMode(Game& game);

// The results screen of free mode: the song, both sides' numbers and the cursor on the
// choices.
struct FreeResultsScreen {
  std::string Title;
  PerPlayer<bool> Computer{false, false};
  PerPlayer<bool> Autoplayed{false, false};  // the stage struck this side's chips
  PerPlayer<int32_t> Scores{0, 0};
  PerPlayer<int32_t> Points{0, 0};
  int Cursor = 0;
};
FreeResultsScreen MakeFreeResultsScreen(std::string title, const StageSetup& setup, const StageOutcome& outcome);
// One pass: up / down move through the choices (wrapping), decide takes the one under
// the cursor.
ScreenEvent Update(FreeResultsScreen& s, const MenuButtons& buttons, uint32_t now);
void Draw(const FreeResultsScreen& s, GraphLib& g, int16_t blink);

// Runs the screen: the choice of what next, or Quit after Esc (QuitRequested set). F1
// means back to the title.
FreeChoice FreeModeResults(Game& game, const StageOutcome& outcome);

}  // namespace tessaru
