#pragma once
// The favourites view ranks the characters and the songs by how often they were played
// to a pass: the HPS counts of the records, summed over songs (for a character) or over
// parts (for a song). Only what has been passed at least once is listed.
#include <cstdint>
#include <vector>

#include "persist/high_scores.h"

namespace tessaru {

struct Favourite {
  int Index = 0;      // part 0..7, or song index
  int64_t Plays = 0;  // passed plays
  bool operator==(const Favourite&) const = default;
};

// Most played first; equal counts keep the lower index first.
std::vector<Favourite> FavouriteCharacters(const HighScores& records);
std::vector<Favourite> FavouriteSongs(const HighScores& records);

}  // namespace tessaru
