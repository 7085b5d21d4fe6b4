#pragma once
// Free mode: FREE MODE SETTING, then song, part, match-up and play, as often as the
// player likes, with the results screen's choice of where to go next.
#include <cstdint>
#include <vector>

#include "content/song_list.h"
#include "flow/game.h"
#include "persist/high_scores.h"

namespace tessaru {

// The results screen's choices after a free-mode stage.
enum FreeChoice : int16_t {
  kFreeSameSong = 0,
  kFreePartSelect = 1,
  kFreeSongSelect = 2,
  kFreeTitle = 3,
  kFreeSetting = 4,
};

// The songs free mode offers: every song from FirstExtraSong on; of the first songs,
// those below 6 once passed with some part, 6, 7 and 8 on from game flags 2, 0 and 1.
std::vector<int16_t> FreeSongList(const SongList& list, const HighScores& records);

// Returns -2 when a song could not be loaded (the line is in the log), -1 when the
// player quit the game, else 0 (back to the title).
int16_t RunFreeMode(Game& game);

// The results screen of free mode: the stage's numbers and the choice of what next
// (FreeChoice), or -1 after Esc (QuitRequested set). F1 means back to the title.
int16_t FreeModeResults(Game& game, const std::array<int32_t, 2>& scores,
                        const std::array<int32_t, 2>& points);

}  // namespace tessaru
