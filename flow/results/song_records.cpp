// The song records: one page per song with its jacket and each part's bests.
#include <algorithm>

#include "core/numbers.h"
#include "flow/jackets.h"
#include "flow/results/records_frame.h"
#include "flow/results/results_screens.h"
#include "persist/character_codes.h"

namespace tessaru {
namespace {

using namespace results_layout;

constexpr int kCodeX = kSongTableX + 8;
constexpr int kBestRight = kCodeX + 64 + 8 * 16;
constexpr int kRateRight = kBestRight + 16 + 6 * 16;
constexpr int kPlaysRight = 624;

int32_t BestScore(const HighScores& r, int part, int song) {
  int32_t best = 0;
  for (int d = 0; d < kUsedDifficultyGroups; ++d) best = std::max(best, r.SongRecords(d, part, song).Score);
  return best;
}

}  // namespace

void ShowSongRecords(Game& game) {
  RecordsScreenParts parts(game);
  const RecordsLook& look = parts.look;
  JacketAtlas& jackets = parts.jackets;
  GraphLib& g = game.Graph;
  const HighScores& r = game.Records;
  const int songs = std::min<int>(game.Songs.SongCount, r.SongCount());
  const auto text = [&](std::string_view t, int x, int y) { g.DrawSystemText(BackIndex, t, x, y, 1); };
  const auto right = [&](std::string_view t, int rightX, int y) {
    text(t, rightX - static_cast<int>(t.size()) * 16, y);
  };
  RecordsPager pager{0, std::max(1, songs)};
  RunRecordsScreen(game, look, pager, [&](int page, uint32_t) {
    if (songs <= 0) {
      look.DrawBigCentered("NO SONGS", 240);
      return;
    }
    const int song = page;
    const std::string title = StoredSongTitle(game.Songs, static_cast<int16_t>(song + 1), 38);
    g.DrawSystemText(BackIndex, title, CenteredX(title), kHeadingY + 4, 0);
    jackets.Draw(jackets.Cached(static_cast<int16_t>(song)), kSongJacketX, kSongJacketY, menu_layout::kJacketSize);
    const std::string count = NumberText(int64_t{song + 1}) + " / " + NumberText(int64_t{songs});
    text(count, kSongJacketX + 80 - static_cast<int>(count.size()) * 8, kSongJacketY + 172);
    text("<", kSongJacketX, kSongJacketY + 172);
    text(">", kSongJacketX + 144, kSongJacketY + 172);

    look.DrawRowGround(kSongTableX, kSongTableY - 4, 640 - 8 - kSongTableX, 30);
    text("PART", kCodeX, kSongTableY);
    right("SCORE", kBestRight, kSongTableY);
    right("RATE", kRateRight, kSongTableY);
    right("PLAYS", kPlaysRight, kSongTableY);
    look.DrawAccentLine(kSongTableX, kSongTableY + 27, 640 - 8 - kSongTableX);
    for (int p = 0; p < kRecordParts; ++p) {
      const int y = kSongTableY + (p + 1) * kSongRowPitch;
      look.DrawRowGround(kSongTableX, y - 4, 640 - 8 - kSongTableX, kSongRowPitch - 4);
      text(CharacterCode(p), kCodeX, y);
      const int16_t rate = r.HPR(p, song);
      const int32_t plays = r.HPS(p, song);
      const int32_t score = BestScore(r, p, song);
      const bool played = rate > 0 || plays > 0 || score > 0;
      right(played ? NumberText(int64_t{score}) : "-", kBestRight, y);
      right(played ? NumberText(int64_t{rate}) + "%" : "-", kRateRight, y);
      right(played ? NumberText(int64_t{plays}) : "-", kPlaysRight, y);
    }
  });
}

}  // namespace tessaru
