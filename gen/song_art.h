#pragma once
// Each song's pictures: its jacket and its background animation (both resolutions).
#include <string>

#include "gen/canvas.h"
#include "gen/music.h"
#include "gen/output.h"

namespace tessaru::gen {

// The song's scene at any size (jacket, animation backdrop).
Canvas SongScene(const SongPlan& plan, int width, int height);
void WriteSongArt(const SongPlan& plan, DataWriter& out, const std::string& folder);

}  // namespace tessaru::gen
