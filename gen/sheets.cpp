// The bitmap fonts and the play sheets (chips, judgements, numbers, gauge).
#include <cmath>
#include <string>
#include <string_view>

#include "gen/art.h"
#include "gen/palette.h"
#include "gen/sheets.h"
#include "layout/play_layout.h"

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
    const char ch = j < 51 ? set[static_cast<size_t>(j)] : ' ';
    if (ch != ' ') {
      // Glyphs are centred by their ink, so the low marks are moved down to the baseline.
      const int glyphY = ch == '_' ? 40 : ch == '.' || ch == ',' ? 36 : 23;
      fonts.bold.DrawCentered(cell, std::string(1, ch), 23, glyphY, t);
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
  // A chip: a bar with a darker rim and a bright top edge, readable at a glance.
  c.FillRect(x, y, w, h, Shade(colour, 0.55));
  if (w > 2 && h > 2) c.FillRect(x + 1, y + 1, w - 2, h - 2, colour);
  c.FillRect(x + 1, y + (h > 2 ? 1 : 0), std::max(1, w - 2), std::max(1, h / 4), Mix(colour, kWhite, metallic ? 0.7 : 0.5));
  if (metallic && h > 4) c.FillRect(x + 1, y + h / 2, w - 2, 1, Mix(colour, kWhite, 0.4));
  if (h > 4) {
    c.Set(x, y, {});
    c.Set(x + w - 1, y, {});
    c.Set(x, y + h - 1, {});
    c.Set(x + w - 1, y + h - 1, {});
  }
}

// 3x5 pixel digits and capitals: the only lettering that stays crisp at 320x240.
const char* TinyGlyph(char ch) {
  switch (ch) {
    case '0': return "111101101101111";
    case '1': return "010110010010111";
    case '2': return "111001111100111";
    case '3': return "111001111001111";
    case '4': return "101101111001001";
    case '5': return "111100111001111";
    case '6': return "111100111101111";
    case '7': return "111001010010010";
    case '8': return "111101111101111";
    case '9': return "111101111001111";
    case 'A': return "010101111101101";
    case 'B': return "110101110101110";
    case 'C': return "011100100100011";
    case 'E': return "111100110100111";
    case 'F': return "111100110100100";
    case 'J': return "001001001101010";
    case 'L': return "100100100100111";
    case 'M': return "101111111101101";
    case 'O': return "010101101101010";
    case 'R': return "110101110101101";
    case 'S': return "011100010001110";
    case 'T': return "111010010010010";
    case 'U': return "101101101101111";
    case 'Y': return "101101010010010";
    case '!': return "010010010000010";
    default: return "000000000000000";
  }
}

int TinyWidth(std::string_view text) { return static_cast<int>(text.size()) * 4 - 1; }

void TinyText(Canvas& c, std::string_view text, int x, int y, Rgb colour) {
  for (char ch : text) {
    const char* g = TinyGlyph(ch);
    for (int r = 0; r < 5; ++r)
      for (int k = 0; k < 3; ++k)
        if (g[r * 3 + k] == '1') c.Set(x + k, y + r, colour);
    x += 4;
  }
}

void TinyCentered(Canvas& c, std::string_view text, const BltArea& a, Rgb colour) {
  TinyText(c, text, a.X + (a.W - TinyWidth(text)) / 2, a.Y + (a.H - 5) / 2, colour);
}

// Text fitted to a cell: FreeType where the cell is big enough to hold an outlined
// glyph, the pixel letters below that.
void CellText(Canvas& c, FontRenderer& font, std::string_view text, const BltArea& a, Rgb top, Rgb bottom,
              int maxSize, int outline) {
  if (a.H < 8) {
    TinyCentered(c, text, a, top);
    return;
  }
  const int pad = 2 * outline;
  const int size = font.FitSize(text, a.W - pad - 2, a.H - pad, maxSize);
  Canvas cell(a.W, a.H);
  TextStyle t{size, top, bottom, kInk, outline, 0};
  font.DrawCentered(cell, text, a.W / 2, a.H / 2, t);
  c.Paste(cell, 0, 0, a.W, a.H, a.X, a.Y, true);
}

struct ChipGeometry {
  int x, y, w, h;
};

// Where the chip of lane 1..4 sits inside a row: its lane's quarter, a pixel in from the
// sides and (at 640x480) from the top and bottom, so chips on neighbouring steps part.
ChipGeometry ChipIn(const BltArea& row, int16_t lane, int16_t res) {
  const BltArea q = LaneQuarter(lane, res);
  const int inset = res == kLowResolution ? 0 : 1;
  return {row.X + q.X + 1, row.Y + inset, q.W - 2, row.H - 2 * inset};
}

// The lane strip of one step with nothing on it; `line` marks a beat or a bar.
void EmptyStep(Canvas& c, const BltArea& a, int16_t res, Rgb line, bool marked) {
  // At 320x240 the quarters leave the row's last pixels over: the ground covers them.
  c.FillRect(a.X, a.Y, a.W, a.H, Rgb{22, 18, 58});
  for (int16_t l = 1; l <= kLaneCount; ++l) {
    const BltArea q = LaneQuarter(l, res);
    c.FillRect(a.X + q.X, a.Y, q.W, a.H, Mix(Rgb{22, 18, 58}, kLanes[l], 0.07));
    if (l > 1) c.FillRect(a.X + q.X, a.Y, 1, a.H, Rgb{46, 38, 100});
  }
  if (marked) c.FillRect(a.X, a.Y, a.W, 1, line);
}

}  // namespace

// Every cell where layout/play_layout.h cuts it, drawn at the resolution's own size.
Canvas ChipSheet(int variant, int16_t res) {
  Canvas c(SheetWidth(res), SheetHeight(res));
  const bool low = res == kLowResolution;
  auto laneColour = [&](int l) {
    Rgb col = kLanes[l];
    if (variant == 1) col = Mix(col, kSky, 0.45);                 // the cool special skin
    if (variant == 2) col = (l == 1 || l == 4) ? kCoral : kMint;  // two colours
    return col;
  };
  auto gray = [&](int l) { return Desaturate(laneColour(l), 0.8); };
  auto silver = [&](int l) { return Mix(Desaturate(laneColour(l), 0.6), kWhite, 0.35); };
  auto row = [&](int r) { return ChipSheetRow(r, res); };

  EmptyStep(c, row(kChipRowEmpty), res, {}, false);
  EmptyStep(c, row(kChipRowBeat), res, Rgb{74, 62, 140}, true);
  EmptyStep(c, row(kChipRowBar), res, Rgb{150, 120, 220}, true);
  // Chips of the COLOR, GRAY and SILVER rows sit only in their own lane's quarter; the
  // rest of the row stays black (transparent).
  for (int16_t l = 1; l <= kLaneCount; ++l) {
    const ChipGeometry a = ChipIn(row(ChipRowFor(0, l)), l, res);
    ChipCellAt(c, a.x, a.y, a.w, a.h, laneColour(l), false);
    const ChipGeometry g = ChipIn(row(ChipRowFor(1, l)), l, res);
    ChipCellAt(c, g.x, g.y, g.w, g.h, gray(l), false);
    const ChipGeometry s = ChipIn(row(ChipRowFor(2, l)), l, res);
    ChipCellAt(c, s.x, s.y, s.w, s.h, silver(l), true);
    const ChipGeometry any = ChipIn(row(kChipRowSpecial), l, res);
    ChipCellAt(c, any.x, any.y, any.w, any.h, Rgb{200, 200, 220}, true);
    // A just hit lights the chip up white-hot.
    const ChipGeometry j = ChipIn(row(ChipMarkRow(kMarkJust, l)), l, res);
    ChipCellAt(c, j.x, j.y, j.w, j.h, Mix(laneColour(l), kWhite, 0.7), true);
    c.FrameRect(j.x, j.y, j.w, j.h, kWhite);
    // A near hit rings the chip, which shows through the black middle.
    const ChipGeometry n = ChipIn(row(ChipMarkRow(kMarkNear, l)), l, res);
    c.FrameRect(n.x, n.y, n.w, n.h, kWhite);
    // A missed chip goes dark with a coral cross through it.
    const ChipGeometry m = ChipIn(row(ChipMarkRow(kMarkMissed, l)), l, res);
    c.FillRect(m.x, m.y, m.w, m.h, Rgb{58, 50, 82});
    if (low) {
      c.FillRect(m.x + m.w / 2 - 1, m.y + 1, 3, m.h - 2, kCoral);
    } else {
      c.Line(m.x + m.w / 2 - 4, m.y + 1, m.x + m.w / 2 + 4, m.y + m.h - 2, 1.4, kCoral);
      c.Line(m.x + m.w / 2 + 4, m.y + 1, m.x + m.w / 2 - 4, m.y + m.h - 2, 1.4, kCoral);
    }
  }
  // The judgement line: a bright frame round the current step, its inside keyed.
  {
    const BltArea a = row(kChipRowCursor);
    const int t = low ? 1 : 2;
    c.FillRect(a.X, a.Y, a.W, t, kAmber);
    c.FillRect(a.X, a.Y + a.H - t, a.W, t, kCoral);
    c.FillRect(a.X, a.Y, t, a.H, kCoral);
    c.FillRect(a.X + a.W - t, a.Y, t, a.H, kCoral);
    if (!low) c.FillRect(a.X + 2, a.Y + 2, a.W - 4, 1, Mix(kAmber, kWhite, 0.6));
  }
  // The cover: opaque (no black pixels) so covered chips are hidden.
  {
    const BltArea a = row(kChipRowCover);
    for (int x = 0; x < a.W; ++x)
      for (int y = 0; y < a.H; ++y)
        c.Set(a.X + x, a.Y + y, ((x + y) / (low ? 2 : 3)) % 2 ? Rgb{40, 32, 90} : Rgb{48, 40, 104});
  }
  // The judgement line's arrows just outside the page.
  {
    const BltArea a = CursorArrowsCell(res);
    const double w = -CursorArrowsOffset(res) - (low ? 0 : 1);
    const double top = a.Y - 0.5, bottom = a.Y + a.H - 0.5, mid = a.Y + a.H / 2.0 - 0.5;
    c.FillPolygon({{a.X - 0.5, top}, {a.X + w, mid}, {a.X - 0.5, bottom}}, kInk);
    c.FillPolygon({{a.X + 0.5, top + 1.5}, {a.X + w - 1.5, mid}, {a.X + 0.5, bottom - 1.5}}, kAmber);
    const double r = a.X + a.W - 0.5;
    c.FillPolygon({{r, top}, {r - w - 0.5, mid}, {r, bottom}}, kInk);
    c.FillPolygon({{r - 1, top + 1.5}, {r - w + 1, mid}, {r - 1, bottom - 1.5}}, kAmber);
  }
  // The panel behind a page and its numbers: dark, with a violet rim and a rule above the
  // numbers.
  {
    const BltArea a = PagePanelCell(res);
    const int rim = low ? 1 : 2;
    c.FillRect(a.X, a.Y, a.W, a.H, kInk);
    c.FillRect(a.X + rim, a.Y + rim, a.W - 2 * rim, a.H - 2 * rim, Rgb{20, 16, 52});
    c.FrameRect(a.X, a.Y, a.W, a.H, kViolet, rim);
    const ScreenPoint panel = PagePanelPosition(0, 0, res);
    const ScreenPoint numbers = NumbersPosition(0, 0, res);
    const int ruleY = a.Y + numbers.Y - panel.Y - (low ? 2 : 3);
    c.FillRect(a.X + rim, ruleY, a.W - 2 * rim, 1, kViolet);
  }
  return c;
}

Canvas PlaySheet(Fonts& fonts, int16_t res) {
  Canvas c(SheetWidth(res), SheetHeight(res));
  const bool low = res == kLowResolution;
  const int outline = low ? 1 : 2;
  // Judgement pictures, big and one step high: 1 the every-fourth flourish, 2..4 JUST
  // after a combo of 3, 2 and 1, 5 EARLY, 6 LATE, 7 FAR, 8 MISS (a press at nothing).
  struct Judge {
    const char* text;
    const char* tiny;
    Rgb top, bottom;
  };
  const Judge judges[kJudgePictures] = {
      {"JUST!!", "JUST", kWhite, kAmber},  {"JUST!", "JUST", kAmber, kCoral}, {"JUST", "JUST", kAmber, kCoral},
      {"JUST", "JUST", kPaleText, kAmber}, {"EARLY", "EARLY", kSky, Mix(kSky, kWhite, 0.5)},
      {"LATE", "LATE", kMint, Mix(kMint, kWhite, 0.5)}, {"FAR", "FAR", kPaleText, kViolet},
      {"MISS", "MISS", Rgb{255, 120, 130}, Rgb{170, 60, 90}}};
  for (int16_t k = 1; k <= kJudgePictures; ++k) {
    const Judge& j = judges[k - 1];
    const BltArea big = JudgePictureCell(k, res);
    if (k == 1) {
      Canvas glow(big.W, big.H);
      Glow(glow, big.W / 2.0, big.H / 2.0, big.H * 0.9, kAmber, 0.7);
      for (int r = 0; r < 8; ++r) {
        const double a = r * 3.14159 / 4 + 0.3;
        glow.Line(big.W / 2.0 + std::cos(a) * big.W * 0.28, big.H / 2.0 + std::sin(a) * big.H * 0.3,
                  big.W / 2.0 + std::cos(a) * big.W * 0.48, big.H / 2.0 + std::sin(a) * big.H * 0.48, low ? 1 : 2, kAmber);
      }
      c.Paste(glow, 0, 0, big.W, big.H, big.X, big.Y, true);
    }
    CellText(c, fonts.bold, j.text, big, j.top, j.bottom, low ? 14 : 26, outline);
    const BltArea label = JudgeLabelCell(k, res);
    if (low) {
      TinyCentered(c, j.tiny, label, j.top == kWhite || j.top == kPaleText ? j.bottom : j.top);
    } else {
      CellText(c, fonts.bold, j.text, label, j.top, j.top, 10, 1);
    }
  }
  // Digits: big ones white to amber, small ones white.
  for (int d = 0; d < 10; ++d) {
    const std::string digit = std::to_string(d);
    CellText(c, fonts.bold, digit, BigDigitCell(d, res), kWhite, kAmber, low ? 11 : 22, low ? 1 : 2);
    const BltArea small = SmallDigitCell(d, res);
    if (low) {
      TinyCentered(c, digit, small, kWhite);
    } else {
      CellText(c, fonts.mono, digit, small, kWhite, kPaleText, 11, 1);
    }
  }
  // Count labels in the colours of their judgements.
  const char* counts[kCountRows] = {"JUST", "EARLY", "LATE", "FAR", "MISS"};
  const char* tinyCounts[kCountRows] = {"J", "E", "L", "F", "M"};
  const Rgb countColours[kCountRows] = {kAmber, kSky, kMint, kPaleText, Rgb{255, 120, 130}};
  for (int r = 0; r < kCountRows; ++r) {
    const BltArea a = CountLabelCell(r, res);
    if (low) {
      TinyText(c, tinyCounts[r], a.X, a.Y, countColours[r]);
    } else {
      // Left-aligned, so the column of labels reads as one.
      Canvas cell(a.W, a.H);
      TextStyle t{fonts.bold.FitSize("EARLY", a.W - 2, a.H - 2, 10), countColours[r], countColours[r], kInk, 1, 0};
      const TextBox b = fonts.bold.Measure("E", t.pixelSize);
      fonts.bold.Draw(cell, counts[r], 1, 1 - b.top + (a.H - 2 - (b.bottom - b.top)) / 2, t);
      c.Paste(cell, 0, 0, a.W, a.H, a.X, a.Y, true);
    }
  }
  CellText(c, fonts.bold, "COMBO", ComboLabelCell(res), kMint, kMint, 12, 1);
  CellText(c, fonts.bold, "SCORE", PointsLabelCell(res), kPaleText, kPaleText, 10, 1);
  // Gauge: a dark frame with quarter ticks, and the three fills.
  {
    const BltArea f = GaugeFrameCell(res);
    c.FillRect(f.X, f.Y, f.W, f.H, kPaleText);
    c.FillRect(f.X + 1, f.Y + 1, f.W - 2, f.H - 2, kInk);
    const BltArea fill = GaugeFillCell(0, res);
    const int left = f.X + (f.W - fill.W) / 2;
    for (int q = 1; q < 4; ++q) c.FillRect(left + fill.W * q / 4, f.Y + 1, 1, f.H - 2, Rgb{70, 60, 120});
  }
  const Rgb fills[3][2] = {{Mix(kMint, kSky, 0.3), kMint}, {Rgb{200, 40, 70}, kCoral}, {kAmber, Mix(kAmber, kWhite, 0.6)}};
  for (int k = 0; k < 3; ++k) {
    const BltArea a = GaugeFillCell(k, res);
    c.HorizontalGradient(a.X, a.Y, a.W, a.H, fills[k][0], fills[k][1]);
    c.FillRect(a.X, a.Y, a.W, std::max(1, a.H / 4), Mix(fills[k][1], kWhite, 0.5));
    if (!low) c.FillRect(a.X, a.Y + a.H - 1, a.W, 1, Shade(fills[k][0], 0.6));
  }
  // Damage blocks: bright for a block the opponent's hit caused, dim for one's own fault.
  for (int16_t lane = 1; lane <= kLaneCount; ++lane)
    for (int16_t flag = 0; flag <= 1; ++flag) {
      const BltArea b = DamageBlockCell(lane, flag, res);
      ChipCellAt(c, b.X, b.Y, b.W, b.H, flag != 0 ? kLanes[lane] : Shade(kLanes[lane], 0.6), false);
    }
  CellText(c, fonts.bold, "K.O.", KnockOutCell(res), kWhite, kCoral, low ? 22 : 44, outline + 1);
  const char* captions[kCaptions] = {"CLEAR!", "FAILED", "CONTINUE?", "GAME OVER"};
  const Rgb captionColours[kCaptions] = {kAmber, kSky, kAmber, kCoral};
  for (int k = 0; k < kCaptions; ++k) {
    CellText(c, fonts.bold, captions[k], CaptionCell(k, res), kWhite, captionColours[k], low ? 22 : 44, outline + 1);
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
