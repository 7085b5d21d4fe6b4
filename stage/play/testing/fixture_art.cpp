#include "stage/play/testing/fixture_art.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "graphics/pixel_ops.h"
#include "layout/play_layout.h"

namespace tessaru::playtest {
namespace {

// 5x7 letters, one byte per row, bit 4 the leftmost pixel.
struct Glyph {
  char C;
  uint8_t Rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'A', {14, 17, 17, 31, 17, 17, 17}}, {'B', {30, 17, 17, 30, 17, 17, 30}}, {'C', {14, 17, 16, 16, 16, 17, 14}},
    {'E', {31, 16, 16, 30, 16, 16, 31}}, {'F', {31, 16, 16, 30, 16, 16, 16}}, {'G', {14, 17, 16, 23, 17, 17, 15}},
    {'I', {14, 4, 4, 4, 4, 4, 14}},      {'J', {7, 2, 2, 2, 2, 18, 12}},      {'K', {17, 18, 20, 24, 20, 18, 17}},
    {'L', {16, 16, 16, 16, 16, 16, 31}}, {'M', {17, 27, 21, 21, 17, 17, 17}}, {'N', {17, 25, 21, 19, 17, 17, 17}},
    {'O', {14, 17, 17, 17, 17, 17, 14}}, {'R', {30, 17, 17, 30, 20, 18, 17}}, {'S', {15, 16, 16, 14, 1, 1, 30}},
    {'T', {31, 4, 4, 4, 4, 4, 4}},       {'U', {17, 17, 17, 17, 17, 17, 14}}, {'V', {17, 17, 17, 17, 17, 10, 4}},
    {'Y', {17, 17, 10, 4, 4, 4, 4}},     {'!', {4, 4, 4, 4, 4, 0, 4}},        {'?', {14, 17, 1, 2, 4, 0, 4}},
    {'.', {0, 0, 0, 0, 0, 12, 12}},      {'0', {14, 17, 19, 21, 25, 17, 14}}, {'1', {4, 12, 4, 4, 4, 4, 14}},
    {'2', {14, 17, 1, 2, 4, 8, 31}},     {'3', {30, 1, 1, 14, 1, 1, 30}},     {'4', {2, 6, 10, 18, 31, 2, 2}},
    {'5', {31, 16, 30, 1, 1, 17, 14}},   {'6', {6, 8, 16, 30, 17, 17, 14}},   {'7', {31, 1, 2, 4, 8, 8, 8}},
    {'8', {14, 17, 17, 14, 17, 17, 14}}, {'9', {14, 17, 17, 15, 1, 2, 12}},
};

constexpr uint16_t kWhite = Rgb565(255, 255, 255);
constexpr uint16_t kInk = Rgb565(24, 16, 48);
constexpr uint16_t kCoral = Rgb565(255, 110, 90);
constexpr uint16_t kAmber = Rgb565(255, 190, 60);
constexpr uint16_t kMint = Rgb565(90, 230, 170);
constexpr uint16_t kSky = Rgb565(90, 170, 255);
constexpr uint16_t kGold = Rgb565(255, 230, 100);
constexpr uint16_t kRed = Rgb565(240, 60, 70);
constexpr uint16_t kGuide = Rgb565(40, 36, 72);
constexpr uint16_t kGuideLine = Rgb565(70, 64, 120);
constexpr uint16_t kCover = Rgb565(30, 26, 60);

const uint16_t kLaneColours[5] = {kWhite, kCoral, kAmber, kMint, kSky};

void Fill(Picture& p, int x, int y, int w, int h, uint16_t c) {
  for (int yy = std::max(0, y); yy < std::min(p.Height, y + h); ++yy)
    for (int xx = std::max(0, x); xx < std::min(p.Width, x + w); ++xx) p.Pixels[static_cast<size_t>(yy * p.Width + xx)] = c;
}

void Frame(Picture& p, int x, int y, int w, int h, uint16_t c, int t = 1) {
  Fill(p, x, y, w, t, c);
  Fill(p, x, y + h - t, w, t, c);
  Fill(p, x, y, t, h, c);
  Fill(p, x + w - t, y, t, h, c);
}

uint16_t Dim(uint16_t c, int percent) {
  const int r = (c >> 11) * percent / 100;
  const int g = ((c >> 5) & 63) * percent / 100;
  const int b = (c & 31) * percent / 100;
  return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

uint16_t Grey(uint16_t c, int light) {
  const int r = c >> 11, g = (c >> 5) & 63, b = c & 31;
  const int y = (r * 2 * 30 + g * 59 + b * 2 * 11) / 100;  // 0..63
  const int v = std::clamp(y * light / 100, 0, 63);
  return static_cast<uint16_t>(((v / 2) << 11) | (v << 5) | (v / 2));
}

// Text in the 5x7 letters at scale s, with a one-pixel dark outline so it reads on any
// background (the outline is not black, so the colour key keeps it).
void Text(Picture& p, std::string_view text, int x, int y, int s, uint16_t colour) {
  for (int pass = 0; pass < 2; ++pass) {
    int cx = x;
    for (char ch : text) {
      for (const Glyph& g : kGlyphs) {
        if (g.C != ch) continue;
        for (int r = 0; r < 7; ++r)
          for (int c = 0; c < 5; ++c)
            if ((g.Rows[r] >> (4 - c)) & 1) {
              if (pass == 0) Fill(p, cx + c * s - 1, y + r * s - 1, s + 2, s + 2, kInk);
              else Fill(p, cx + c * s, y + r * s, s, s, colour);
            }
      }
      cx += 6 * s;
    }
  }
}

int TextWidth(std::string_view text, int s) { return static_cast<int>(text.size()) * 6 * s - s; }

void TextIn(Picture& p, std::string_view text, const BltArea& cell, int s, uint16_t colour) {
  Text(p, text, cell.X + (cell.W - TextWidth(text, s)) / 2, cell.Y + (cell.H - 7 * s) / 2, s, colour);
}

}  // namespace

Picture ChipSheetArt(int16_t res) {
  Picture p;
  const BltArea cell = ChipCell(res);
  const int lane = cell.W / 4;
  const int pad = std::max(1, cell.H / 5);
  auto row = [&](int r) { return ChipSheetRow(r, res); };
  // Row 0: the empty step, lane guides between four dark lanes.
  const BltArea empty = row(kChipRowEmpty);
  Fill(p, empty.X, empty.Y, empty.W, empty.H, kGuide);
  for (int k = 1; k < 4; ++k) Fill(p, empty.X + k * lane, empty.Y, 1, empty.H, kGuideLine);
  auto chip = [&](int r, int l, uint16_t c) {
    const BltArea a = row(r);
    Fill(p, a.X + (l - 1) * lane + 1, a.Y + pad / 2, lane - 2, a.H - pad, c);
    Fill(p, a.X + (l - 1) * lane + 2, a.Y + pad / 2, lane - 4, std::max(1, pad / 2), Dim(kWhite, 90));
  };
  for (int l = 1; l <= 4; ++l) {
    chip(l, l, kLaneColours[l]);
    chip(l + 4, l, Grey(kLaneColours[l], 70));
    chip(l + 9, l, Grey(kLaneColours[l], 110));
  }
  const BltArea special = row(kChipRowSpecial);
  Fill(p, special.X + 1, special.Y + pad / 2, special.W - 2, special.H - pad, kGold);
  Frame(p, row(kChipRowCursor).X, row(kChipRowCursor).Y, cell.W, cell.H, kAmber, std::max(1, pad / 2 + 1));
  const BltArea cover = row(kChipRowCover);
  Fill(p, cover.X, cover.Y, cover.W, cover.H, kCover);
  Fill(p, cover.X, cover.Y + cover.H / 2, cover.W, 1, kGuideLine);
  for (int16_t l = 1; l <= 4; ++l) {
    const BltArea just = row(ChipMarkRow(kMarkJust, l));
    Frame(p, just.X + (l - 1) * lane, just.Y, lane, cell.H, kWhite);
    const BltArea near = row(ChipMarkRow(kMarkNear, l));
    Frame(p, near.X + (l - 1) * lane, near.Y, lane, cell.H, kMint);
    const BltArea miss = row(ChipMarkRow(kMarkMissed, l));
    Fill(p, miss.X + (l - 1) * lane + 2, miss.Y + miss.H / 2, lane - 4, std::max(1, pad), kRed);
  }
  for (int r : {kChipRowBeat, kChipRowBar}) {
    const BltArea a = row(r);
    Fill(p, a.X, a.Y, a.W, a.H, kGuide);
    Fill(p, a.X, a.Y, a.W, 1, kGuideLine);
  }
  const BltArea panel = PagePanelCell(res);
  Frame(p, panel.X, panel.Y, panel.W, panel.H, kGuideLine);
  const BltArea arrows = CursorArrowsCell(res);
  Fill(p, arrows.X, arrows.Y, pad + 1, arrows.H, kAmber);
  Fill(p, arrows.X + arrows.W - pad - 1, arrows.Y, pad + 1, arrows.H, kAmber);
  return p;
}

Picture PlaySheetArt(int16_t res) {
  Picture p;
  const int s = res == kLowResolution ? 1 : 2;
  struct Judge {
    const char* Text;
    uint16_t Colour;
  };
  const Judge judges[8] = {{"JUST!!", kGold}, {"JUST", kMint}, {"JUST", kAmber}, {"JUST", kCoral},
                           {"EARLY", kSky},   {"LATE", kSky},  {"FAR", Grey(kWhite, 70)}, {"MISS", kRed}};
  for (int16_t k = 1; k <= 8; ++k) {
    TextIn(p, judges[k - 1].Text, JudgePictureCell(k, res), s, judges[k - 1].Colour);
    TextIn(p, judges[k - 1].Text, JudgeLabelCell(k, res), 1, judges[k - 1].Colour);
  }
  for (int d = 0; d < 10; ++d) {
    const char digit[2] = {static_cast<char>('0' + d), 0};
    const BltArea big = BigDigitCell(d, res);
    Text(p, digit, big.X + (big.W - 5 * s) / 2, big.Y + (big.H - 7 * s) / 2, s, kWhite);
    const BltArea small = SmallDigitCell(d, res);
    Text(p, digit, small.X + (small.W - 5) / 2, small.Y + (small.H - 7) / 2, 1, kWhite);
  }
  const char* labels[5] = {"J", "E", "L", "F", "M"};
  const uint16_t labelColours[5] = {kGold, kSky, kSky, Grey(kWhite, 70), kRed};
  for (int r = 0; r < 5; ++r) TextIn(p, labels[r], CountLabelCell(r, res), 1, labelColours[r]);
  TextIn(p, res == kLowResolution ? "C" : "COMBO", ComboLabelCell(res), 1, kAmber);
  const BltArea frame = GaugeFrameCell(res);
  Frame(p, frame.X, frame.Y, frame.W, frame.H, kWhite);
  const uint16_t fills[3] = {kMint, kRed, kGold};
  for (int k = 0; k < 3; ++k) {
    const BltArea f = GaugeFillCell(k, res);
    Fill(p, f.X, f.Y, f.W, f.H, fills[k]);
  }
  for (int16_t lane = 1; lane <= 4; ++lane) {
    for (int16_t flag = 0; flag <= 1; ++flag) {
      const BltArea b = DamageBlockCell(lane, flag, res);
      Fill(p, b.X, b.Y, b.W, b.H, flag ? kLaneColours[lane] : Dim(kLaneColours[lane], 60));
    }
  }
  const BltArea ko = KnockOutCell(res);
  TextIn(p, "K.O.", ko, s * 2, kRed);
  const char* captions[4] = {"CLEAR!", "FAILED", "CONTINUE?", "GAME OVER"};
  const uint16_t captionColours[4] = {kGold, kRed, kAmber, kRed};
  for (int c = 0; c < 4; ++c) TextIn(p, captions[c], CaptionCell(c, res), res == kLowResolution ? 1 : 3, captionColours[c]);
  return p;
}

Picture BackdropArt(int width, int height, uint16_t top, uint16_t bottom) {
  Picture p;
  p.Width = width;
  p.Height = height;
  p.Pixels.assign(static_cast<size_t>(width * height), 0);
  for (int y = 0; y < height; ++y) {
    const int t = y * 100 / std::max(1, height - 1);
    const int r = ((top >> 11) * (100 - t) + (bottom >> 11) * t) / 100;
    const int g = (((top >> 5) & 63) * (100 - t) + ((bottom >> 5) & 63) * t) / 100;
    const int b = ((top & 31) * (100 - t) + (bottom & 31) * t) / 100;
    Fill(p, 0, y, width, 1, static_cast<uint16_t>((r << 11) | (g << 5) | b));
  }
  for (int i = 0; i < 60; ++i) Fill(p, (i * 97) % width, (i * 53) % (height * 2 / 3), 1, 1, kWhite);
  return p;
}

Picture SpriteArt(int width, int height, const std::vector<std::array<int, 4>>& boxes, uint16_t colour) {
  Picture p;
  p.Width = width;
  p.Height = height;
  p.Pixels.assign(static_cast<size_t>(width * height), 0);
  int i = 0;
  for (const auto& b : boxes) {
    Fill(p, b[0] + 1, b[1] + 1, b[2] - 2, b[3] - 2, i % 2 == 0 ? colour : Dim(colour, 70));
    Frame(p, b[0] + 1, b[1] + 1, b[2] - 2, b[3] - 2, kWhite);
    ++i;
  }
  return p;
}

}  // namespace tessaru::playtest
