#pragma once
// Everything of the data folder besides the songs: fonts, play and menu images, screens,
// characters, sounds, voices and the tables that name them.
#include <vector>

#include "gen/music.h"
#include "gen/output.h"

namespace tessaru::gen {

// False (with a message on stderr) when a required input, such as a font, is missing.
bool WriteGameData(DataWriter& out, const std::vector<SongPlan>& plans);

}  // namespace tessaru::gen
