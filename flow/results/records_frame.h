#pragma once
// What every results and records screen shares: the "RANKING" title art, the background
// drifting across once every eight seconds, the large font, the fanfare on entry and the
// few text formats the tables use.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "flow/game.h"
#include "flow/jackets.h"
#include "flow/screen_frame.h"
#include "layout/results_layout.h"

namespace tessaru {

class RecordsLook {
 public:
  // Loads "ranking.bmp", "rankbg.bmp" (when DRAWING draws backgrounds) and the large font
  // into `pages`, and plays "ranking.wav" when SOUNDING < 2 and `fanfare` is set.
  RecordsLook(Game& game, ScreenPages& pages, bool fanfare = true);
  ~RecordsLook();
  RecordsLook(const RecordsLook&) = delete;
  RecordsLook& operator=(const RecordsLook&) = delete;

  // The background at `now` ms into the screen (a cleared frame without one).
  void DrawBackground(uint32_t now) const;
  void DrawTitle() const;
  void DrawBig(std::string_view text, int x, int y) const;
  void DrawBigCentered(std::string_view text, int y) const;
  // A dark band under a row of a table, and the accent line under a block.
  void DrawRowGround(int x, int y, int w, int h) const;
  void DrawAccentLine(int x, int y, int w) const;
  void DrawCursor(int side, int x, int y) const;
  void DrawSlotBar(bool lit, int x, int y) const;
  // Any piece of "ranking.bmp" at (x, y), black transparent.
  void DrawPiece(const BltArea& piece, int x, int y) const;

 private:
  Game& game_;
  SurfaceIndex title_ = -1;
  SurfaceIndex background_ = -1;
  SurfaceIndex bigFont_ = -1;
  SoundSlot fanfare_ = -1;
};

// What a records screen holds while it runs: its pages (released when it ends), the
// shared look and the song jackets.
struct RecordsScreenParts {
  explicit RecordsScreenParts(Game& game, bool fanfare = true)
      : pages(game), look(game, pages, fanfare), jackets(game, pages) {}
  ScreenPages pages;
  RecordsLook look;
  JacketAtlas jackets;
};

// The horizontal offset of the drifting background at `now` ms: 0..639.
int BackgroundOffset(uint32_t now);
// The x at which system-font text (16-pixel cells) is centred on `centre`.
int CenteredX(std::string_view text, int centre = 320);
// A ranking place (0-based) as shown: "1ST", "2ND", "3RD", then "4TH", "5TH", ...
std::string PlaceText(int position);
// The text right-aligned in `width` cells (a longer text is kept whole).
std::string RightAligned(std::string_view text, size_t width);
// A number with a fixed count of decimals: (97, 1) -> "97.0", (78.825, 2) -> "78.83".
std::string DecimalText(double value, int places);
// A ranking name as three characters: cut to three, blanks added, and any byte the
// fonts cannot draw shown as "?".
std::string ShownName(std::string_view name);
// The song's title from the list for a stored song number (song index + 1); "-" for 0
// and "?" for a number outside the list.
std::string StoredSongTitle(const SongList& list, int16_t storedSong, size_t maxChars);

}  // namespace tessaru

namespace tessaru {

// The pages of a records screen: Left and Right turn them (wrapping), decide or F1
// closes the screen, Esc quits the game.
struct RecordsPager {
  int Page = 0;
  int PageCount = 1;
};
enum class RecordsAction { None, Turned, Close };
RecordsAction Update(RecordsPager& pager, const MenuButtons& buttons);

// Runs a records screen around `draw(page, now)`, which draws one frame's content over
// the background and title; returns when the screen closes.
void RunRecordsScreen(Game& game, const RecordsLook& look, RecordsPager& pager,
                      const std::function<void(int page, uint32_t now)>& draw);

}  // namespace tessaru
