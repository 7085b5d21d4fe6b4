// The bitmap fonts and the play sheets (chips, judgements, numbers, gauge).
#include <cmath>
#include <string>

#include "gen/art.h"
#include "gen/palette.h"
#include "gen/sheets.h"

namespace tessaru::gen {

using namespace palette;

Canvas SystemFontImage(Fonts& fonts) {
  Canvas c(560, 210);
  struct Style {
    int height, originY, pitch;
  };
  const Style styles[2] = {{32, 1, 33}, {24, 108, 25}};
  for (const Style& s : styles) {
    // The largest size whose every glyph fits the cell with its outline.
    int size = s.height;
    for (; size > 8; --size) {
      bool fits = true;
      for (int ch = 33; ch < 127 && fits; ++ch) {
        const TextBox b = fonts.mono.Measure(std::string(1, static_cast<char>(ch)), size);
        fits = b.right - b.left <= 14 && b.bottom - b.top <= s.height - 2;
      }
      if (fits) break;
    }
    const TextBox ref = fonts.mono.Measure("Hgjy|", size);
    const int baseline = 1 - ref.top + (s.height - 2 - (ref.bottom - ref.top)) / 2;
    for (int ch = 32; ch < 128; ++ch) {
      const int col = ch % 32, row = ch / 32;
      const int x = col * 17 + 1, y = row * s.pitch + s.originY;
      const std::string text(1, static_cast<char>(ch == 127 ? '#' : ch));
      const TextBox b = fonts.mono.Measure(text, size);
      const int penX = x + (16 - (b.right - b.left)) / 2 - b.left;
      TextStyle t{size, kWhite, kPaleText, kInk, 1, 0};
      Canvas cell(16, s.height);
      fonts.mono.Draw(cell, text, penX - x, baseline, t);
      c.Paste(cell, 0, 0, 16, s.height, x, y, true);
    }
  }
  return c;
}

Canvas BigFontImage(Fonts& fonts) {
  Canvas c(640, 200);
  const std::string set = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ!?.,#@*&-_+- ><";
  const int size = fonts.bold.FitSize("W", 42, 40, 44);
  for (int j = 0; j < 52; ++j) {
    const int x = 49 * (j % 13), y = 49 * (j / 13);
    Canvas cell(48, 48);
    TextStyle t{size, kWhite, kAmber, kInk, 2, 2};
    if (j < 51 && set[static_cast<size_t>(j)] != ' ') {
      fonts.bold.DrawCentered(cell, std::string(1, set[static_cast<size_t>(j)]), 23, 23, t);
    } else if (j == 51) {
      // Characters outside the set show a small diamond, not a gap.
      cell.FillPolygon({{24, 12}, {36, 24}, {24, 36}, {12, 24}}, kInk);
      cell.FillPolygon({{24, 15}, {33, 24}, {24, 33}, {15, 24}}, kMint);
    }
    c.Paste(cell, 0, 0, 48, 48, x, y, true);
  }
  return c;
}

namespace {

void ChipCellAt(Canvas& c, int x, int y, int w, int h, Rgb colour, bool metallic) {
  // A chip: a rounded bar with a bright top edge, readable at a glance.
  c.FillRect(x, y, w, h, Shade(colour, 0.55));
  c.FillRect(x + 1, y + 1, w - 2, h - 2, colour);
  c.FillRect(x + 1, y + 1, w - 2, std::max(1, h / 4), Mix(colour, kWhite, metallic ? 0.7 : 0.5));
  if (metallic) c.FillRect(x + 1, y + h / 2, w - 2, 1, Mix(colour, kWhite, 0.4));
  c.Set(x, y, {});
  c.Set(x + w - 1, y, {});
  c.Set(x, y + h - 1, {});
  c.Set(x + w - 1, y + h - 1, {});
}

}  // namespace

// Chip sheet: rows of 100 x 10 cells, 11 pixels apart (640 x 480 layout). Row 0 the empty
// lane, rows 1-4 COLOR, 5-8 GRAY, 9 every lane alike, 10-13 SILVER, 14 the judgement line,
// 15 the cover. Below the rows: hit flashes per lane and the lane frame.
Canvas ChipSheet(int variant) {
  Canvas c(640, 480);
  const int w = 100, h = 10, pitch = 11, lane = 25;
  auto laneColour = [&](int l) {
    Rgb col = kLanes[l];
    if (variant == 1) col = Mix(col, kSky, 0.45);         // the cool special skin
    if (variant == 2) col = (l == 1 || l == 4) ? kCoral : kMint;  // two colours
    return col;
  };
  // Row 0: four dark lane slots with separators.
  for (int l = 0; l < 4; ++l) c.FillRect(l * lane + 1, 0, lane - 2, h, Mix(kNight, kIndigo, 0.5));
  for (int l = 1; l <= 4; ++l) {
    ChipCellAt(c, (l - 1) * lane + 1, 1 * pitch, lane - 2, h, laneColour(l), false);
    ChipCellAt(c, (l - 1) * lane + 1, (l + 4) * pitch, lane - 2, h, Desaturate(laneColour(l), 0.8), false);
    ChipCellAt(c, (l - 1) * lane + 1, (l + 9) * pitch, lane - 2, h, Mix(Desaturate(laneColour(l), 0.6), kWhite, 0.35), true);
    ChipCellAt(c, (l - 1) * lane + 1, 9 * pitch, lane - 2, h, Rgb{200, 200, 220}, true);
    // The row of this lane alone, for drawing one chip by cutting the row's own quarter.
    c.FillRect((l - 1) * lane, 1 * pitch + 0, 0, 0, {});
  }
  // Chips of the COLOR, GRAY and SILVER rows sit in their own lane's quarter only; the
  // other quarters of those rows stay black (transparent).
  for (int row : {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13}) {
    const int l = row <= 4 ? row : row <= 8 ? row - 4 : row - 9;
    for (int q = 1; q <= 4; ++q)
      if (q != l) c.FillRect((q - 1) * lane, row * pitch, lane, h, {});
    if (row <= 4) ChipCellAt(c, (l - 1) * lane + 1, row * pitch, lane - 2, h, laneColour(l), false);
    else if (row <= 8) ChipCellAt(c, (l - 1) * lane + 1, row * pitch, lane - 2, h, Desaturate(laneColour(l), 0.8), false);
    else ChipCellAt(c, (l - 1) * lane + 1, row * pitch, lane - 2, h, Mix(Desaturate(laneColour(l), 0.6), kWhite, 0.35), true);
  }
  // Row 14: the judgement line across all lanes.
  c.FillRect(0, 14 * pitch + 3, w, 4, kCoral);
  c.FillRect(0, 14 * pitch + 4, w, 2, kAmber);
  // Row 15: the cover, opaque (no black pixels) so covered chips are hidden.
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y) c.Set(x, 15 * pitch + y, ((x + y) / 3) % 2 ? Rgb{40, 32, 90} : Rgb{48, 40, 104});
  // Hit flashes: per lane three frames 25 x 10 (x = frame * 25 + 110, row = lane).
  for (int l = 1; l <= 4; ++l)
    for (int f = 0; f < 3; ++f) {
      const int x = 110 + f * lane, y = l * pitch;
      const Rgb col = Mix(laneColour(l), kWhite, 0.6 - f * 0.2);
      c.FillRect(x + f * 2 + 1, y, lane - 2 - f * 4, h, col);
    }
  // The lane frame behind one player's page: 108 x 352 at (200, 0).
  c.FillRect(200, 0, 108, 352, kInk);
  c.FillRect(204, 4, 100, 344, Rgb{20, 16, 52});
  for (int l = 1; l < 4; ++l) c.FillRect(204 + l * lane, 4, 1, 344, Rgb{44, 36, 96});
  c.FrameRect(200, 0, 108, 352, kViolet, 2);
  return c;
}

Canvas PlaySheet(Fonts& fonts) {
  Canvas c(640, 480);
  // Judgement pictures 200 x 40 at y = (image - 1) * 40: 1 the every-fourth flourish,
  // 2..4 JUST after a combo of 3, 2 and 1, 5 EARLY, 6 LATE, 7 FAR, 8 MISS.
  struct Judge {
    const char* text;
    Rgb top, bottom;
    int size;
  };
  const Judge judges[8] = {{"JUST!!", kWhite, kAmber, 36}, {"JUST!", kAmber, kCoral, 34}, {"JUST", kAmber, kCoral, 32},
                           {"JUST", kPaleText, kAmber, 30}, {"EARLY", kSky, kMint, 30}, {"LATE", kMint, kSky, 30},
                           {"FAR", kPaleText, kViolet, 30}, {"MISS", Rgb{180, 170, 200}, Rgb{110, 100, 140}, 30}};
  for (int i = 0; i < 8; ++i) {
    Canvas cell(200, 40);
    if (i == 0) {
      Glow(cell, 100, 20, 40, kAmber, 0.9);
      for (int k = 0; k < 8; ++k) {
        const double a = k * 3.14159 / 4;
        cell.Line(100 + std::cos(a) * 30, 20 + std::sin(a) * 14, 100 + std::cos(a) * 60, 20 + std::sin(a) * 19, 2, kAmber);
      }
    }
    TextStyle t{judges[i].size, judges[i].top, judges[i].bottom, kInk, 2, 2};
    fonts.bold.DrawCentered(cell, judges[i].text, 100, 20, t);
    c.Paste(cell, 0, 0, 200, 40, 0, i * 40, true);
  }
  // Digits: big 24 x 32 at (200 + 24 d, 0); small 12 x 16 at (200 + 12 d, 32) in white
  // and at (320 + 12 d, 32) in amber.
  for (int d = 0; d < 10; ++d) {
    TextStyle big{30, kWhite, kAmber, kInk, 2, 0};
    Canvas cell(24, 32);
    fonts.bold.DrawCentered(cell, std::to_string(d), 12, 16, big);
    c.Paste(cell, 0, 0, 24, 32, 200 + 24 * d, 0, true);
    TextStyle small{15, kWhite, kPaleText, kInk, 1, 0};
    Canvas s(12, 16);
    fonts.bold.DrawCentered(s, std::to_string(d), 6, 8, small);
    c.Paste(s, 0, 0, 12, 16, 200 + 12 * d, 32, true);
    TextStyle amber{15, kAmber, kCoral, kInk, 1, 0};
    Canvas a(12, 16);
    fonts.bold.DrawCentered(a, std::to_string(d), 6, 8, amber);
    c.Paste(a, 0, 0, 12, 16, 320 + 12 * d, 32, true);
  }
  // Damage blocks 20 x 8 at (200 + 20 k, 56): k = 0 grey (a miss), 1..4 the lane colours.
  for (int k = 0; k < 5; ++k) ChipCellAt(c, 200 + 20 * k, 56, 19, 8, k == 0 ? Rgb{130, 120, 160} : kLanes[k], false);
  // Gauge: frame 204 x 20 at (200, 72); fill 200 x 16 at (200, 96); danger fill at (200, 116).
  c.FillRect(200, 72, 204, 20, kInk);
  c.FrameRect(200, 72, 204, 20, kPaleText, 2);
  c.HorizontalGradient(200, 96, 200, 16, kMint, kAmber);
  c.HorizontalGradient(200, 116, 200, 16, kCoral, Rgb{255, 60, 80});
  // Knock-out 240 x 80 at (200, 136).
  {
    Canvas cell(240, 80);
    TextStyle t{56, kWhite, kCoral, kInk, 3, 3};
    fonts.bold.DrawCentered(cell, "K.O.", 120, 40, t);
    c.Paste(cell, 0, 0, 240, 80, 200, 136, true);
  }
  // Player tags 48 x 16 at (200 + 48 k, 216): 1P, 2P, COM.
  const char* tags[3] = {"1P", "2P", "COM"};
  const Rgb tagColours[3] = {kCoral, kSky, kMint};
  for (int k = 0; k < 3; ++k) {
    Canvas cell(48, 16);
    cell.RoundRect(0, 0, 48, 16, 6, tagColours[k]);
    TextStyle t{13, kWhite, kWhite, kInk, 1, 0};
    fonts.bold.DrawCentered(cell, tags[k], 24, 8, t);
    c.Paste(cell, 0, 0, 48, 16, 200 + 48 * k, 216, true);
  }
  // Stage messages 320 x 56 at (200, 240 + 60 k): READY?, CLEAR!, FAILED, CONTINUE?, GAME OVER.
  const char* messages[4] = {"READY?", "CLEAR!", "CONTINUE?", "GAME OVER"};
  for (int k = 0; k < 4; ++k) {
    Canvas cell(320, 56);
    TextStyle t{44, kWhite, k == 3 ? kCoral : kAmber, kInk, 3, 2};
    fonts.bold.DrawCentered(cell, messages[k], 160, 28, t);
    c.Paste(cell, 0, 0, 320, 56, 200, 240 + 60 * k, true);
  }
  // Combo label 96 x 20 at (520, 0).
  {
    Canvas cell(96, 20);
    TextStyle t{16, kMint, kMint, kInk, 1, 0};
    fonts.bold.DrawCentered(cell, "COMBO", 48, 10, t);
    c.Paste(cell, 0, 0, 96, 20, 520, 0, true);
  }
  return c;
}

Canvas MenuSheet(Fonts& fonts) {
  Canvas c(640, 480);
  // Part icons 64 x 64 at (64 i, 0) for parts 0..9: the character's head.
  for (int i = 0; i < 10; ++i) {
    const Rgb col = kCharacters[i];
    c.FillCircle(64 * i + 32, 32, 28, kInk);
    c.FillCircle(64 * i + 32, 32, 26, col);
    c.FillCircle(64 * i + 23, 28, 5, kInk);
    c.FillCircle(64 * i + 41, 28, 5, kInk);
    c.FillCircle(64 * i + 24, 27, 2, kWhite);
    c.FillCircle(64 * i + 42, 27, 2, kWhite);
    c.FillEllipse(64 * i + 32, 44, 8, 4, kInk);
  }
  // Cursors 32 x 32 at (0, 64) right-pointing, (32, 64) left-pointing; side frames 1P/2P
  // 96 x 96 at (64, 64) and (160, 64).
  c.FillPolygon({{4, 68}, {28, 80}, {4, 92}}, kAmber);
  c.FillPolygon({{60, 68}, {36, 80}, {60, 92}}, kAmber);
  c.FrameRect(64, 64, 96, 96, kCoral, 4);
  c.FrameRect(160, 64, 96, 96, kSky, 4);
  TextStyle t{14, kWhite, kWhite, kInk, 1, 0};
  fonts.bold.Draw(c, "1P", 70, 82, t);
  fonts.bold.Draw(c, "2P", 166, 82, t);
  // Level stars 16 x 16 at (256 + 16 k, 64): empty, half, full.
  for (int k = 0; k < 3; ++k) {
    const double cx = 256 + 16 * k + 8, cy = 72;
    std::vector<std::pair<double, double>> star;
    for (int p = 0; p < 10; ++p) {
      const double a = -1.5708 + p * 3.14159 / 5;
      const double r = p % 2 ? 3.2 : 7.5;
      star.emplace_back(cx + std::cos(a) * r, cy + std::sin(a) * r);
    }
    c.FillPolygon(star, k == 0 ? Rgb{70, 60, 110} : k == 1 ? kAmber : kCoral);
  }
  return c;
}

}  // namespace tessaru::gen
