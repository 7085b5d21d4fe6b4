#pragma once
// Song jackets gathered onto shared pages (twelve to a page), so a screen that shows many
// songs holds a few pages instead of one page per jacket.
#include <cstdint>
#include <map>

#include "flow/game.h"
#include "flow/screen_frame.h"

namespace tessaru {

// Where one song's jacket lies on the atlas; Page -1 when it could not be loaded.
struct JacketCell {
  SurfaceIndex Page = -1;
  int X = 0;
  int Y = 0;
};

// A jacket scaled to size x size at (x, y) of the back buffer; "NO IMAGE" in its place
// when the cell has no page.
void DrawJacketCell(GraphLib& g, const JacketCell& cell, int x, int y, int size);

class JacketAtlas {
 public:
  // The atlas pages come from `pages`, so they go when the screen's pages go.
  JacketAtlas(Game& game, ScreenPages& pages) : game_(game), pages_(pages) {}
  // Loads the jacket of song `songIndex` (the song's path with ".bmp"); a missing jacket
  // adds its line to the error log and gives a cell without a page.
  JacketCell Add(int16_t songIndex);
  // The same, loaded on first use and kept: screens that show a song many times, or only
  // some of the list, load each jacket once (and log a missing one once).
  JacketCell Cached(int16_t songIndex);
  // The jacket scaled to size x size at (x, y); "NO IMAGE" in its place when there is none.
  void Draw(const JacketCell& cell, int x, int y, int size) const;

 private:
  Game& game_;
  ScreenPages& pages_;
  SurfaceIndex atlas_ = -1;
  int used_ = 0;
  std::map<int16_t, JacketCell> cache_;
};

}  // namespace tessaru
