#pragma once
// Scene pieces shared by every screen: the dusk sky, stars, skylines, hills, water,
// stepped glows and panels. All draws are seeded, so the art is the same on every build.
#include <cstdint>

#include "gen/canvas.h"
#include "gen/font_render.h"

namespace tessaru::gen {

// The three faces every screen uses.
struct Fonts {
  FontRenderer mono{kMonoBoldFont};
  FontRenderer bold{kSansBoldFont};
  FontRenderer plain{kSansFont};
  bool Ok() const { return mono.Ok() && bold.Ok() && plain.Ok(); }
};

void DuskSky(Canvas& c, int x, int y, int w, int h, double warmth = 1.0);
void Stars(Canvas& c, int x, int y, int w, int h, int count, uint32_t seed);
void Skyline(Canvas& c, int baseY, int maxHeight, Rgb colour, uint32_t seed, bool windows = true);
void Hills(Canvas& c, int baseY, int amplitude, Rgb colour, uint32_t seed);
void Water(Canvas& c, int top, int bottom, Rgb colour, uint32_t seed);
// Concentric stepped discs, fading into the background towards the edge.
void Glow(Canvas& c, double cx, double cy, double radius, Rgb colour, double strength);
// A rounded panel with a border, blended over what is below.
void Panel(Canvas& c, int x, int y, int w, int h, Rgb fill, Rgb border, double alpha = 0.8);
// A music note glyph (eighth note) drawn with shapes.
void NoteGlyph(Canvas& c, double x, double y, double size, Rgb colour);

}  // namespace tessaru::gen
