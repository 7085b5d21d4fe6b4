// The ranking tables: the tours' tables, the special modes' tables and the favourites.
#include <algorithm>

#include "core/numbers.h"
#include "flow/jackets.h"
#include "flow/results/favourites.h"
#include "flow/results/records_frame.h"
#include "flow/results/results_screens.h"
#include "flow/special_mode_names.h"
#include "persist/character_codes.h"

namespace tessaru {
namespace {

using namespace results_layout;

constexpr int kPairRows = 5;       // the pair tours rank their top five
constexpr int kTutorialRows = 3;   // and the tutorial its top three
constexpr int kFavouriteRows = 8;
constexpr int kPairRowPitch = 60;
constexpr int kPairSideX = kStageX - 40;  // the 1P / 2P labels of a pair's two lines
constexpr int kSpecialBlockPitch = 98;
constexpr int kSpecialStagePitch = 152;
constexpr int kSpecialJacket = 40;
constexpr int kFooterY = 452;

const char* const kDifficultyNames[5] = {"BEGINNER", "EASY", "NORMAL", "HARD", "GODLIKE"};

class TableDrawer {
 public:
  TableDrawer(Game& game, const RecordsLook& look, JacketAtlas& jackets)
      : game_(game), g_(game.Graph), look_(look), jackets_(jackets) {}

  void Heading(std::string_view text) const { look_.DrawBigCentered(text, kHeadingY); }

  // place, name and total of one entry on a text line at y.
  void EntryLine(int place, const RankEntry& e, int y) const {
    Text(PlaceText(place), kPlaceX, y);
    Text(ShownName(e.Name), kNameX, y);
    Text(RightAligned(NumberText(int64_t{e.Score}), 8), kScoreRight - 8 * 16, y);
  }

  void Jacket(int16_t storedSong, int x, int y, int size) {
    if (storedSong <= 0) {
      Text("-", x + size / 2 - 8, y + size / 2 - 12);
      return;
    }
    const JacketCell cell = jackets_.Cached(static_cast<int16_t>(storedSong - 1));
    if (cell.Page >= 0) jackets_.Draw(cell, x, y, size);
    else Text("?", x + size / 2 - 8, y + size / 2 - 12);
  }

  // A short table (the beginner's three places) gets rows twice as tall.
  void SingleTable(const RankTable& table, int rows) {
    const bool tall = rows <= kBeginnerTableSize;
    const int pitch = tall ? 2 * kTableRowPitch : kTableRowPitch;
    const int jacket = tall ? kStagePitch - 52 : kStageJacket;
    for (int r = 0; r < std::min<int>(rows, static_cast<int>(table.size())); ++r) {
      const RankEntry& e = table[static_cast<size_t>(r)];
      const int top = kTableY + r * pitch;
      const int y = top + (pitch - kTableRowPitch) / 2;
      look_.DrawRowGround(8, top - 3, 624, pitch - 2);
      EntryLine(r, e, y);
      for (int k = 0; k < kRankStages; ++k) {
        const int x = kStageX + k * kStagePitch;
        Jacket(e.Songs[static_cast<size_t>(k)], x, top + (pitch - 4 - jacket) / 2 - 1, jacket);
        if (e.Songs[static_cast<size_t>(k)] > 0) Text(CharacterCode(e.Chars[static_cast<size_t>(k)]), x + jacket + 2, y);
      }
    }
  }

  // Both players of a place: the shared line, then each one's characters per stage.
  void PairTable(const PairRankTable& table) {
    for (int r = 0; r < std::min<int>(kPairRows, static_cast<int>(table.size())); ++r) {
      const RankPair& e = table[static_cast<size_t>(r)];
      const int y = kTableY + r * kPairRowPitch;
      look_.DrawRowGround(8, y - 3, 624, kPairRowPitch - 4);
      Text(PlaceText(r), kPlaceX, y);
      Text(ShownName(e.Player1.Name), kNameX, y);
      Text(RightAligned(NumberText(int64_t{e.Player1.Score}), 8), kPairSideX - 16 - 8 * 16, y + 28);
      Text("1P", kPairSideX, y);
      Text("2P", kPairSideX, y + 28);
      for (int k = 0; k < kRankStages; ++k) {
        const int x = kStageX + k * kStagePitch;
        const size_t i = static_cast<size_t>(k);
        Jacket(e.Player1.Songs[i], x, y + 14, kStageJacket);
        if (e.Player1.Songs[i] <= 0) continue;
        Text(CharacterCode(e.Player1.Chars[i]), x + 28, y);
        Text(CharacterCode(e.Player2.Chars[i]), x + 28, y + 28);
      }
    }
  }

  // A special mode's three places, each with its stages' songs, characters and rates.
  void SpecialTable(const RankTable& table) {
    for (int r = 0; r < std::min<int>(kSpecialTableSize, static_cast<int>(table.size())); ++r) {
      const RankEntry& e = table[static_cast<size_t>(r)];
      const int y = kTableY + r * kSpecialBlockPitch;
      look_.DrawRowGround(8, y - 3, 624, kSpecialBlockPitch - 4);
      EntryLine(r, e, y);
      for (int k = 0; k < kRankStages; ++k) {
        const size_t i = static_cast<size_t>(k);
        const int x = 24 + k * kSpecialStagePitch;
        Text(NumberText(int64_t{k + 1}) + " STAGE", x, y + 26);
        Jacket(e.Songs[i], x, y + 52, kSpecialJacket);
        if (e.Songs[i] <= 0) continue;
        Text(CharacterCode(e.Chars[i]), x + kSpecialJacket + 6, y + 50);
        Text(DecimalText(e.Rates[i], 1) + "%", x + kSpecialJacket + 6, y + 72);
      }
    }
    const std::string level = "GAMELEVEL " + std::string(kDifficultyNames[std::clamp<int>(game_.Settings.DIFFICULTY, 0, 4)]);
    Text(level, 624 - static_cast<int>(level.size()) * 16, kFooterY);
  }

  void Favourites() {
    g_.DrawSystemText(BackIndex, "FAVORITE CHARCTERS", CenteredX("FAVORITE CHARCTERS", 160), kHeadingY + 4, 0);
    g_.DrawSystemText(BackIndex, "FAVORITE SONGS", CenteredX("FAVORITE SONGS", 480), kHeadingY + 4, 0);
    look_.DrawAccentLine(16, kHeadingY + 40, 288);
    look_.DrawAccentLine(336, kHeadingY + 40, 288);
    const std::vector<Favourite> characters = FavouriteCharacters(game_.Records);
    const std::vector<Favourite> songs = FavouriteSongs(game_.Records);
    if (characters.empty()) Text("NO PLAYS YET", CenteredX("NO PLAYS YET", 160), kTableY + 48);
    if (songs.empty()) Text("NO PLAYS YET", CenteredX("NO PLAYS YET", 480), kTableY + 48);
    for (int r = 0; r < kFavouriteRows; ++r) {
      const int y = kTableY + r * 36;
      if (r < static_cast<int>(characters.size())) {
        const Favourite& f = characters[static_cast<size_t>(r)];
        look_.DrawRowGround(16, y - 4, 288, 32);
        Text(PlaceText(r), 24, y);
        Text(CharacterName(f.Index), 96, y);
        Text(RightAligned(NumberText(f.Plays), 4), 296 - 4 * 16, y);
      }
      if (r < static_cast<int>(songs.size())) {
        const Favourite& f = songs[static_cast<size_t>(r)];
        look_.DrawRowGround(336, y - 4, 288, 32);
        Jacket(static_cast<int16_t>(f.Index + 1), 340, y - 2, 28);
        Text(StoredSongTitle(game_.Songs, static_cast<int16_t>(f.Index + 1), 12), 374, y);
        Text(RightAligned(NumberText(f.Plays), 3), 624 - 3 * 16, y);
      }
    }
  }

  void Footer(std::string_view text) const { Text(text, 16, kFooterY); }

 private:
  void Text(std::string_view text, int x, int y) const { g_.DrawSystemText(BackIndex, text, x, y, 1); }

  Game& game_;
  GraphLib& g_;
  const RecordsLook& look_;
  JacketAtlas& jackets_;
};

// The special records' pages: the favourites, then every special mode's table in order.
constexpr int kSpecialPages = 1 + kSpecialModeCount;

}  // namespace

void ShowTourRecords(Game& game, int16_t tour) {
  RecordsScreenParts parts(game);
  TableDrawer table(game, parts.look, parts.jackets);
  const HighScores& r = game.Records;
  RecordsPager pager;
  RunRecordsScreen(game, parts.look, pager, [&](int, uint32_t) {
    switch (tour) {
      case 1:
        table.Heading("SESSION");
        table.PairTable(r.TourModeSession);
        break;
      case 2:
        table.Heading("TUTORIAL");
        table.SingleTable(r.TourModeTuto, kTutorialRows);
        break;
      case 3:
        table.Heading("BEGINNER MODE");
        table.SingleTable(r.TourModeBeginner, kBeginnerTableSize);
        break;
      default:
        table.Heading("SINGLE");
        table.SingleTable(r.TourMode, kTourTableSize);
        break;
    }
  });
}

void ShowSpecialRecords(Game& game, int16_t mode) {
  RecordsScreenParts parts(game);
  TableDrawer table(game, parts.look, parts.jackets);
  const HighScores& r = game.Records;
  RecordsPager pager{0, kSpecialPages};
  if (mode == kColorModeRecords) pager.Page = 1;
  else if (mode > 0 && mode < kSpecialModeCount) pager.Page = 1 + mode;
  RunRecordsScreen(game, parts.look, pager, [&](int page, uint32_t) {
    if (page == 0) {
      table.Favourites();
    } else {
      const int16_t m = static_cast<int16_t>(page - 1);
      table.Heading(SpecialModeName(m));
      if (m == kDoubleMode) table.PairTable(r.TourModeDouble);
      else table.SpecialTable(r.SpecialRanks[static_cast<size_t>(m)]);
    }
    table.Footer(page == 0 ? "< >  MORE RANKINGS" : "< >  MORE");
  });
}

}  // namespace tessaru
