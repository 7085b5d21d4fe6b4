#include "gen/art.h"

#include <algorithm>
#include <cmath>

#include "core/random.h"
#include "gen/palette.h"

namespace tessaru::gen {

void DuskSky(Canvas& c, int x, int y, int w, int h, double warmth) {
  using namespace palette;
  for (int j = 0; j < h; ++j) {
    const double t = static_cast<double>(j) / std::max(1, h - 1);
    Rgb col;
    if (t < 0.45) col = Mix(kNight, kIndigo, t / 0.45);
    else if (t < 0.75) col = Mix(kIndigo, kViolet, (t - 0.45) / 0.3);
    else col = Mix(kViolet, Mix(kDusk, kHorizon, 0.5 * warmth), (t - 0.75) / 0.25 * warmth);
    // Banding in steps of four rows keeps the 16-bit picture clean.
    if (j % 4 == 0 || j == 0) c.FillRect(x, y + j, w, std::min(4, h - j), col);
  }
}

void Stars(Canvas& c, int x, int y, int w, int h, int count, uint32_t seed) {
  Random r(seed);
  for (int i = 0; i < count; ++i) {
    const int sx = x + r.Draw(w);
    const int sy = y + static_cast<int>(h * std::pow(r.Uniform(), 1.6));
    const double b = 0.4 + 0.6 * r.Uniform();
    const Rgb col = Mix(palette::kIndigo, palette::kWhite, b);
    c.Set(sx, sy, col);
    if (r.Uniform() < 0.12) {
      c.Set(sx - 1, sy, Shade(col, 0.6));
      c.Set(sx + 1, sy, Shade(col, 0.6));
      c.Set(sx, sy - 1, Shade(col, 0.6));
      c.Set(sx, sy + 1, Shade(col, 0.6));
    }
  }
}

void Skyline(Canvas& c, int baseY, int maxHeight, Rgb colour, uint32_t seed, bool windows) {
  Random r(seed);
  int x = -r.Draw(20);
  while (x < c.Width()) {
    const int w = 18 + r.Draw(40);
    const int h = maxHeight / 4 + r.Draw(maxHeight * 3 / 4);
    c.FillRect(x, baseY - h, w, h + 2, colour);
    if (r.Uniform() < 0.3) c.FillRect(x + w / 2 - 1, baseY - h - 10, 2, 10, colour);
    if (windows)
      for (int wy = baseY - h + 6; wy < baseY - 6; wy += 7)
        for (int wx = x + 4; wx < x + w - 4; wx += 6)
          if (r.Uniform() < 0.18) c.FillRect(wx, wy, 2, 3, Mix(palette::kAmber, palette::kHorizon, r.Uniform()));
    x += w + r.Draw(6);
  }
  c.FillRect(0, baseY, c.Width(), c.Height() - baseY, colour);
}

void Hills(Canvas& c, int baseY, int amplitude, Rgb colour, uint32_t seed) {
  Random r(seed);
  const double p1 = r.Uniform() * 6.28, p2 = r.Uniform() * 6.28;
  for (int x = 0; x < c.Width(); ++x) {
    const double y = baseY - amplitude * (0.6 * std::sin(x * 0.011 + p1) + 0.4 * std::sin(x * 0.027 + p2));
    c.FillRect(x, static_cast<int>(y), 1, c.Height() - static_cast<int>(y), colour);
  }
}

void Water(Canvas& c, int top, int bottom, Rgb colour, uint32_t seed) {
  Random r(seed);
  c.VerticalGradient(0, top, c.Width(), bottom - top, Shade(colour, 1.2), Shade(colour, 0.6));
  for (int y = top + 3; y < bottom; y += 5) {
    const int len = 10 + r.Draw(40);
    for (int i = 0; i < c.Width() / 30; ++i) {
      const int x = r.Draw(c.Width());
      c.FillRect(x, y, len * (y - top) / std::max(1, bottom - top) + 4, 1,
                 Mix(colour, palette::kHorizon, 0.35 * r.Uniform() + 0.1));
    }
  }
}

void Glow(Canvas& c, double cx, double cy, double radius, Rgb colour, double strength) {
  for (int ring = 6; ring >= 1; --ring) {
    const double rr = radius * ring / 6.0;
    const double a = strength * (1.0 - (ring - 1) / 6.0) * 0.35;
    const int r = static_cast<int>(std::ceil(rr));
    for (int y = static_cast<int>(cy) - r; y <= static_cast<int>(cy) + r; ++y)
      for (int x = static_cast<int>(cx) - r; x <= static_cast<int>(cx) + r; ++x)
        if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= rr) c.Blend(x, y, colour, a);
  }
}

void Panel(Canvas& c, int x, int y, int w, int h, Rgb fill, Rgb border, double alpha) {
  const int radius = std::min(8, std::min(w, h) / 4);
  Canvas mask(w, h);
  mask.RoundRect(0, 0, w, h, radius, Rgb{1, 1, 1});
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (mask.Get(i, j) == Rgb{1, 1, 1}) c.Blend(x + i, y + j, fill, alpha);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const bool in = mask.Get(i, j) == Rgb{1, 1, 1};
      const bool edge = in && (mask.Get(i - 1, j) != Rgb{1, 1, 1} || mask.Get(i + 1, j) != Rgb{1, 1, 1} ||
                               mask.Get(i, j - 1) != Rgb{1, 1, 1} || mask.Get(i, j + 1) != Rgb{1, 1, 1} ||
                               i == 0 || j == 0 || i == w - 1 || j == h - 1);
      if (edge) c.Set(x + i, y + j, border);
    }
}

void NoteGlyph(Canvas& c, double x, double y, double size, Rgb colour) {
  c.FillEllipse(x, y + size * 0.75, size * 0.28, size * 0.2, colour);
  c.FillRect(static_cast<int>(x + size * 0.2), static_cast<int>(y), std::max(2, static_cast<int>(size * 0.09)),
             static_cast<int>(size * 0.75), colour);
  c.Line(x + size * 0.25, y, x + size * 0.55, y + size * 0.3, std::max(2.0, size * 0.1), colour);
}

}  // namespace tessaru::gen
