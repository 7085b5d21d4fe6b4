// The cast's pictures: portraits, name and instrument strips, dance sheets and dances,
// ending pictures.
#include <cmath>
#include <string>

#include "content/dance_file.h"
#include "gen/art.h"
#include "gen/characters.h"
#include "gen/palette.h"
#include "gen/roster.h"
#include "layout/menu_layout.h"

namespace tessaru::gen {

using namespace palette;

namespace {

Rgb ColourOf(int part) { return kCharacters[part < 10 ? part : 8]; }

void Instrument(Canvas& c, int part, double cx, double cy, double s) {
  const Rgb dark = kInk;
  switch (part % 10) {
    case 0:  // drum and cymbal
      c.FillEllipse(cx, cy + 40 * s, 46 * s, 26 * s, dark);
      c.FillEllipse(cx, cy + 40 * s, 43 * s, 23 * s, kWhite);
      c.FillRect(static_cast<int>(cx - 43 * s), static_cast<int>(cy + 40 * s), static_cast<int>(86 * s), static_cast<int>(30 * s), kCoral);
      c.FillEllipse(cx - 60 * s, cy - 10 * s, 24 * s, 5 * s, kAmber);
      break;
    case 1: case 2:  // bass and guitar
      c.Line(cx - 40 * s, cy + 50 * s, cx + 60 * s, cy - 50 * s, 6 * s, dark);
      c.FillEllipse(cx - 40 * s, cy + 45 * s, 30 * s, 22 * s, part % 10 == 1 ? kViolet : kAmber);
      c.FillCircle(cx - 40 * s, cy + 45 * s, 7 * s, dark);
      break;
    case 3: case 5:  // keyboard
      c.FillRect(static_cast<int>(cx - 60 * s), static_cast<int>(cy + 30 * s), static_cast<int>(120 * s), static_cast<int>(24 * s), dark);
      for (int k = 0; k < 10; ++k)
        c.FillRect(static_cast<int>(cx - 57 * s + k * 11.6 * s), static_cast<int>(cy + 33 * s), static_cast<int>(10 * s), static_cast<int>(18 * s), kWhite);
      break;
    case 4:  // bongos
      c.FillEllipse(cx - 28 * s, cy + 40 * s, 24 * s, 12 * s, kAmber);
      c.FillEllipse(cx + 28 * s, cy + 44 * s, 20 * s, 10 * s, kCoral);
      break;
    case 6:  // horn
      c.FillPolygon({{cx - 10 * s, cy}, {cx + 50 * s, cy - 25 * s}, {cx + 50 * s, cy + 25 * s}}, kAmber);
      c.FillRect(static_cast<int>(cx - 40 * s), static_cast<int>(cy - 4 * s), static_cast<int>(40 * s), static_cast<int>(8 * s), kAmber);
      break;
    case 7:  // microphone
      c.Line(cx + 30 * s, cy + 60 * s, cx + 30 * s, cy - 10 * s, 4 * s, dark);
      c.FillCircle(cx + 30 * s, cy - 16 * s, 10 * s, Rgb{200, 200, 220});
      break;
    default:  // a note
      NoteGlyph(c, cx + 20 * s, cy - 20 * s, 60 * s, kAmber);
      break;
  }
}

}  // namespace

void DrawFigure(Canvas& c, int part, double cx, double baseY, double s, const Pose& pose) {
  const Rgb col = ColourOf(part);
  const double y = baseY - pose.bounce * s;
  const double lean = pose.lean * 10 * s;
  // Legs, body, arms, head: simple shapes with a dark outline.
  c.Line(cx - 14 * s, y - 60 * s, cx - 18 * s, y, 12 * s, kInk);
  c.Line(cx + 14 * s, y - 60 * s, cx + 18 * s, y, 12 * s, kInk);
  c.RoundRect(static_cast<int>(cx - 42 * s + lean), static_cast<int>(y - 150 * s), static_cast<int>(84 * s), static_cast<int>(96 * s), static_cast<int>(20 * s), kInk);
  c.RoundRect(static_cast<int>(cx - 39 * s + lean), static_cast<int>(y - 147 * s), static_cast<int>(78 * s), static_cast<int>(90 * s), static_cast<int>(18 * s), col);
  const double armY = y - 130 * s;
  const double up = pose.armUp;
  c.Line(cx - 38 * s + lean, armY, cx - 70 * s + lean, armY + (40 - 90 * up) * s, 10 * s, kInk);
  c.Line(cx + 38 * s + lean, armY, cx + 70 * s + lean, armY + (40 - 90 * (1 - up)) * s * (pose.bothUp ? -1 : 1), 10 * s, kInk);
  const double hx = cx + lean * 1.5, hy = y - 190 * s;
  c.FillCircle(hx, hy, 42 * s, kInk);
  c.FillCircle(hx, hy, 39 * s, Mix(col, kWhite, 0.55));
  // Hair band in the signature colour.
  c.FillEllipse(hx, hy - 30 * s, 36 * s, 12 * s, col);
  const double eyeY = hy - 4 * s;
  if (pose.mood == 2) {
    c.Line(hx - 20 * s, eyeY - 4 * s, hx - 10 * s, eyeY + 4 * s, 3 * s, kInk);
    c.Line(hx + 10 * s, eyeY + 4 * s, hx + 20 * s, eyeY - 4 * s, 3 * s, kInk);
  } else {
    c.FillCircle(hx - 14 * s, eyeY, 5 * s, kInk);
    c.FillCircle(hx + 14 * s, eyeY, 5 * s, kInk);
    c.FillCircle(hx - 13 * s, eyeY - 2 * s, 1.8 * s, kWhite);
    c.FillCircle(hx + 15 * s, eyeY - 2 * s, 1.8 * s, kWhite);
  }
  if (pose.mood == 1) c.FillEllipse(hx, hy + 18 * s, 10 * s, 8 * s, kInk);
  else if (pose.mood == 2) c.FillEllipse(hx, hy + 20 * s, 8 * s, 3 * s, kInk);
  else {
    c.FillEllipse(hx, hy + 15 * s, 12 * s, 6 * s, kInk);
    c.FillEllipse(hx, hy + 12 * s, 12 * s, 5 * s, Mix(col, kWhite, 0.55));
  }
  Instrument(c, part, cx + lean, y - 110 * s, s);
}

Canvas Portrait(int part, Fonts& fonts) {
  Canvas c(menu_layout::kPortrait.W, menu_layout::kPortrait.H);
  DuskSky(c, 0, 0, 320, 480);
  Stars(c, 0, 0, 320, 300, 60, 77u + static_cast<uint32_t>(part));
  Glow(c, 160, 250, 150, ColourOf(part), 0.9);
  DrawFigure(c, part, 160, 430, 1.6, Pose{0.3, 0, 0, 0, false});
  const Character& ch = kRoster[static_cast<size_t>(part < 10 ? part : 8)];
  Panel(c, 20, 420, 280, 48, kNight, ColourOf(part), 0.85);
  TextStyle t{28, kWhite, ColourOf(part), kInk, 2, 0};
  const std::string name = part < 10 ? ch.name : std::string("Guest ") + std::to_string(part - 9);
  fonts.bold.DrawCentered(c, name, 160, 444, t);
  return c;
}

Canvas TagStrips(Fonts& fonts, bool instruments) {
  using namespace menu_layout;
  Canvas c(kStripWidth, kStripHeight * kStripCount);
  for (int part = 0; part < kStripCount; ++part) {
    const int idx = part < 10 ? part : (part < kShownParts ? 8 : 10);
    const Character& ch = kRoster[static_cast<size_t>(idx)];
    const BltArea at = NameStrip(part);
    Canvas strip(at.W, at.H);
    Panel(strip, 0, 0, at.W, at.H, kNight, ColourOf(std::min(part, 9)), 1.0);
    TextStyle t{20, kWhite, instruments ? kMint : kAmber, kInk, 1, 0};
    std::string text = instruments ? std::string(ch.instrument) : std::string(ch.code) + "  " + ch.name;
    if (instruments && idx == 8) text = "EXTENSION";
    fonts.bold.DrawCentered(strip, text, at.W / 2, at.H / 2, t);
    c.Paste(strip, 0, 0, at.W, at.H, at.X, at.Y, false);
  }
  return c;
}

// Dance sheet: 15 frames of 96 x 128 (5 a row, 480 x 384). Frame meaning: 0-3 idle sway, 4-11
// groove (bounce and arms), 12 hit, 13 miss, 14 cheer.
Canvas DanceSheet(int part) {
  Canvas c(480, 384);
  for (int f = 0; f < 15; ++f) {
    Pose p{0.3, 0, 0, 0, false};
    if (f < 4) p = {0.3, std::sin(f * 1.57) * 0.5, 0, 0, false};
    else if (f < 12) p = {(f % 2) ? 0.9 : 0.1, (f % 4 < 2) ? -0.6 : 0.6, (f % 2) ? 10.0 : 0.0, 0, false};
    else if (f == 12) p = {1.0, 0, 14, 1, true};
    else if (f == 13) p = {0.0, -1.0, 0, 2, false};
    else p = {1.0, 0, 18, 1, true};
    Canvas cell(96, 128);
    DrawFigure(cell, part, 48, 125, 0.44, p);
    c.Paste(cell, 0, 0, 96, 128, (f % 5) * 96, (f / 5) * 128, true);
  }
  return c;
}

std::vector<TextValue> DanceValues(const std::string& picture, double scale) {
  DanceRecord d;
  d.PictureCount = 1;
  d.Pictures = {picture};
  d.Frames.clear();
  // Patterns: 0 idle, 1 groove, 2 hit, 3 miss, 4 win, 5 lose. Durations are milliseconds at
  // 120 BPM (the stage scales them to the song's tempo).
  const std::vector<std::vector<int>> patterns{{0, 1, 2, 3}, {4, 5, 6, 7, 8, 9, 10, 11}, {12, 14, 12, 14},
                                              {13, 13, 0, 13}, {14, 12, 14, 12, 14, 4}, {13, 13, 13, 13}};
  const int durations[6] = {500, 250, 125, 250, 250, 500};
  d.PatternCount = static_cast<int16_t>(patterns.size());
  d.PatternLengths.clear();
  d.PatternFirst.clear();
  for (size_t p = 0; p < patterns.size(); ++p) {
    d.PatternFirst.push_back(static_cast<int16_t>(d.Frames.size()));
    d.PatternLengths.push_back(static_cast<int16_t>(patterns[p].size()));
    for (int f : patterns[p]) {
      DanceFrame fr;
      fr.Duration = durations[p];
      fr.Picture = 0;
      fr.V1 = static_cast<int32_t>((f % 5) * 96 * scale);
      fr.V2 = static_cast<int32_t>((f / 5) * 128 * scale);
      fr.V3 = static_cast<int32_t>(96 * scale);
      fr.V4 = static_cast<int32_t>(128 * scale);
      fr.V5 = 0;
      fr.V6 = 0;
      d.Frames.push_back(fr);
    }
  }
  return EncodeDanceFile(d);
}

Canvas EndingPicture(int kind, Fonts& fonts) {
  Canvas c(480, 360);
  DuskSky(c, 0, 0, 480, 360, 1.3);
  Stars(c, 0, 0, 480, 200, 80, 500u + static_cast<uint32_t>(kind));
  Skyline(c, 330, 90, kSilhouette, 600u + static_cast<uint32_t>(kind), true);
  if (kind >= 0) {
    Glow(c, 240, 200, 120, ColourOf(kind), 0.8);
    DrawFigure(c, kind, 240, 340, 1.0, Pose{1.0, 0, 10, 1, true});
    TextStyle t{34, kWhite, kAmber, kInk, 2, 2};
    fonts.bold.DrawCentered(c, "THANK YOU!", 240, 40, t);
  } else {
    for (int i = 0; i < 3; ++i) DrawFigure(c, i * 3, 120 + i * 120, 340, 0.7, Pose{0.2, 0, 0, 0, false});
    TextStyle t{34, kWhite, kMint, kInk, 2, 2};
    fonts.bold.DrawCentered(c, "TRY IT AGAIN!", 240, 40, t);
  }
  return c;
}

}  // namespace tessaru::gen
