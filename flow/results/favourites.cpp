#include "flow/results/favourites.h"

#include <algorithm>

namespace tessaru {
namespace {

std::vector<Favourite> Ranked(std::vector<Favourite> all) {
  std::erase_if(all, [](const Favourite& f) { return f.Plays <= 0; });
  std::stable_sort(all.begin(), all.end(), [](const Favourite& a, const Favourite& b) { return a.Plays > b.Plays; });
  return all;
}

}  // namespace

std::vector<Favourite> FavouriteCharacters(const HighScores& records) {
  std::vector<Favourite> all;
  for (int p = 0; p < kRecordParts; ++p) {
    Favourite f{p, 0};
    for (int s = 0; s < records.SongCount(); ++s) f.Plays += records.HPS(p, s);
    all.push_back(f);
  }
  return Ranked(std::move(all));
}

std::vector<Favourite> FavouriteSongs(const HighScores& records) {
  std::vector<Favourite> all;
  for (int s = 0; s < records.SongCount(); ++s) {
    Favourite f{s, 0};
    for (int p = 0; p < kRecordParts; ++p) f.Plays += records.HPS(p, s);
    all.push_back(f);
  }
  return Ranked(std::move(all));
}

}  // namespace tessaru
