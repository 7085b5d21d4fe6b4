#pragma once
// The song select: the offered songs as a carousel of jackets with each song's details.
#include <cstdint>
#include <string>
#include <vector>

#include "flow/game.h"
#include "flow/screen_frame.h"

namespace tessaru {

// The carousel's movement: one entry per press, wrapping at both ends, and again every
// second while a direction stays held (never while a scroll is still running).
class SongCarousel {
 public:
  static constexpr uint32_t kRepeatDelayMs = 1000;
  static constexpr uint32_t kScrollMs = 200;

  SongCarousel(int count, int cursor) : count_(count), cursor_(cursor) {}
  // One pass at `now` ms; returns the move made (-1, 0 or +1).
  int Step(uint32_t now, bool leftPressed, bool rightPressed, bool leftHeld, bool rightHeld);
  int Cursor() const { return cursor_; }
  // The running scroll: its direction (0 when none) and how far it has come, 0..1.
  int ScrollDirection(uint32_t now) const;
  double ScrollProgress(uint32_t now) const;

 private:
  int Move(uint32_t now, int delta);
  int count_;
  int cursor_;
  uint32_t lastMove_ = 0;
  int direction_ = 0;
};

// The cursor a visit starts on: 0 in the tutorial or for a single entry, else the
// previous position when it is still inside the list.
int InitialSongCursor(int count, int previous, TitleCode menuChoice);

// What the screen shows of one offered song.
struct SongCard {
  int16_t Index = 0;
  std::string Name;
  std::string Composer;
  std::string Genre;
  std::string Tempo;
  int16_t Level = 0;
  SurfaceIndex Page = -1;  // the atlas page with its jacket, -1 for none
  int X = 0;
  int Y = 0;
};

struct SongSelectScreen {
  SongCarousel Carousel;
  std::vector<SongCard> Cards;
  int Stage = 0;  // 0: free mode
  bool Rapid = false;
};

// One pass: left / right turn the carousel, decide takes the song under it.
ScreenEvent Update(SongSelectScreen& s, const MenuButtons& buttons, uint32_t now);
void Draw(const SongSelectScreen& s, GraphLib& g, uint32_t now);

// offered: song indices into the song list; stage 0 is free mode. Returns the chosen
// position (SongPath and SongIndex set, "NOW LOADING" shown), -1 after Esc
// (QuitRequested set) or -2 after F1.
int16_t SelectSong(Game& game, const std::vector<int16_t>& offered, int stage, int previousCursor,
                   int16_t rapidMode);

}  // namespace tessaru
