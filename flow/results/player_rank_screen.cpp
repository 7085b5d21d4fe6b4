// The player rank: the rank's picture, the points and average, and the ranked songs'
// jackets with each song's share of the points.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/numbers.h"
#include "flow/jackets.h"
#include "flow/results/records_frame.h"
#include "flow/results/results_screens.h"
#include "persist/player_rank.h"

namespace tessaru {
namespace {

using namespace results_layout;

constexpr int kTotalsX = 296;

}  // namespace

void ShowPlayerRank(Game& game) {
  RecordsScreenParts parts(game);
  const RecordsLook& look = parts.look;
  JacketAtlas& jackets = parts.jackets;
  GraphLib& g = game.Graph;
  const HighScores& r = game.Records;
  const RankThresholds thresholds = LoadRankThresholds(game.DataPath, &game.Errors);
  const int16_t rank = PlayerRankIndex(r, thresholds);
  const int32_t points = TotalPoints(r);
  const SurfaceIndex picture = parts.pages.Load("\\image\\rank" + NumberText(int64_t{rank}) + ".bmp");
  const int songs = std::min<int>({kRankedSongs, game.Songs.SongCount, r.SongCount()});
  std::vector<JacketCell> cells;
  for (int s = 0; s < songs; ++s) cells.push_back(jackets.Add(static_cast<int16_t>(s)));

  const auto text = [&](std::string_view t, int x, int y, int16_t style) { g.DrawSystemText(BackIndex, t, x, y, style); };
  RecordsPager pager{0, std::max(1, (songs + kRankJacketsPerPage - 1) / kRankJacketsPerPage)};
  RunRecordsScreen(game, look, pager, [&](int page, uint32_t) {
    look.DrawRowGround(kRankPictureX - 16, kRankPictureY - 8, 640 - 2 * (kRankPictureX - 16), kRankPicture.H + 16);
    if (picture >= 0) Cut(g, picture, kRankPicture, kRankPictureX, kRankPictureY);
    text("PTS. " + NumberText(int64_t{points}), kTotalsX, kRankPictureY + 4, 0);
    text("AVE. " + DecimalText(AverageRate(r), 2), kTotalsX, kRankPictureY + 44, 0);
    const std::string place = "RANK " + NumberText(int64_t{rank} + 1) + " / " + NumberText(int64_t{kRankCount});
    text(place, kTotalsX, kRankPictureY + 84, 1);
    if (rank < kRankCount - 1 && thresholds[static_cast<size_t>(rank)] > points) {
      const std::string next = "NEXT " + NumberText(int64_t{thresholds[static_cast<size_t>(rank)] - points});
      text(next, kTotalsX, kRankPictureY + 108, 1);
    }

    const int first = page * kRankJacketsPerPage;
    const int shown = std::min(kRankJacketsPerPage, songs - first);
    const int rowWidth = kRankJacketsPerPage * kRankJacketSize + (kRankJacketsPerPage - 1) * kRankJacketGap;
    const int left = 320 - rowWidth / 2;
    for (int i = 0; i < shown; ++i) {
      const int s = first + i;
      const int x = left + i * (kRankJacketSize + kRankJacketGap);
      const int centre = x + kRankJacketSize / 2;
      jackets.Draw(cells[static_cast<size_t>(s)], x, kRankJacketY, kRankJacketSize);
      const std::string title = StoredSongTitle(game.Songs, static_cast<int16_t>(s + 1), 7);
      text(title, CenteredX(title, centre), kRankJacketY + kRankJacketSize + 6, 1);
      const std::string share = NumberText(int64_t{SongPoints(r, s)});
      text(share, CenteredX(share, centre), kRankJacketY + kRankJacketSize + 32, 1);
    }
    if (pager.PageCount > 1) {
      text("<", 24, kRankJacketY + kRankJacketSize / 2 - 16, 0);
      text(">", 600, kRankJacketY + kRankJacketSize / 2 - 16, 0);
    }
  });
}

}  // namespace tessaru
