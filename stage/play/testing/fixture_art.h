#pragma once
// Plain stand-in pictures for the play screen, laid out as play_layout.h says: coloured
// chips, a 5x7 lettering for the judgement pictures and captions, and segment digits.
// Tests and the benchmark draw with them when no generated data folder is at hand.
#include <array>
#include <cstdint>
#include <vector>

namespace tessaru::playtest {

struct Picture {
  int Width = 640;
  int Height = 480;
  std::vector<uint16_t> Pixels = std::vector<uint16_t>(640 * 480, 0);
};

// resolution 1 gives the 320x240 sheets.
Picture ChipSheetArt(int16_t resolution);
Picture PlaySheetArt(int16_t resolution);
// A full-screen picture with a gradient and a border (wallpaper, animation backdrop).
Picture BackdropArt(int width, int height, uint16_t top, uint16_t bottom);
// Sprites of one colour at (x, y, w, h) of a black page (dance frames, animation sprites).
Picture SpriteArt(int width, int height, const std::vector<std::array<int, 4>>& boxes, uint16_t colour);

}  // namespace tessaru::playtest
