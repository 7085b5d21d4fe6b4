#include "gen/icon.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "gen/art.h"
#include "gen/canvas.h"
#include "gen/palette.h"

namespace tessaru::gen {
namespace {

using namespace palette;

// Every shape is laid out on a unit square and drawn four times oversized; averaging each
// 4x4 block gives smooth tile corners while lanes on the grid stay sharp.
constexpr int kOversample = 4;
constexpr double kMargin = 0.04;   // room around the tile, as desktop icons have
constexpr double kCorner = 0.20;
constexpr double kBorder = 0.025;  // the dark outline every piece of the game's art wears
constexpr double kLaneLeft = 0.15;
constexpr double kLaneWidth = 0.175;
constexpr double kJudgeY = 0.74;

// Inside a rounded square inset by `inset` on a canvas of `side` pixels.
bool InsideTile(double x, double y, double side, double inset) {
  const double lo = side * inset;
  const double hi = side - lo;
  const double r = side * (kCorner - (inset - kMargin));
  const double cx = std::clamp(x, lo + r, hi - r);
  const double cy = std::clamp(y, lo + r, hi - r);
  if (x < lo || x > hi || y < lo || y > hi) return false;
  return std::hypot(x - cx, y - cy) <= r;
}

Canvas DrawArt(int side) {
  const auto at = [side](double u) { return static_cast<int>(std::lround(u * side)); };
  Canvas c(side, side);
  c.VerticalGradient(0, 0, side, at(0.55), kNight, kIndigo);
  c.VerticalGradient(0, at(0.55), side, side - at(0.55), kIndigo, kViolet);
  Stars(c, 0, 0, side, at(0.5), side / 6, 7u);
  Glow(c, side * 0.5, side * kJudgeY, side * 0.42, kDusk, 0.9);

  // Lane floors and their dividers.
  for (int lane = 0; lane < 4; ++lane) {
    const int x = at(kLaneLeft + lane * kLaneWidth);
    c.FillRect(x, 0, at(kLaneWidth), side, Rgb{28, 24, 76});
    for (int y = 0; y < side; ++y) {
      for (int x2 = x; x2 < x + at(kLaneWidth); ++x2) c.Blend(x2, y, Shade(kLanes[lane + 1], 0.5), 0.12 * y / side);
    }
  }
  for (int k = 0; k <= 4; ++k) c.FillRect(at(kLaneLeft + k * kLaneWidth) - at(0.008), 0, at(0.016), side, Rgb{60, 50, 130});

  // Chips on their way down, one per lane, in the lane colours.
  const double chipY[4] = {0.52, 0.24, 0.38, 0.12};
  for (int lane = 0; lane < 4; ++lane) {
    const int x = at(kLaneLeft + lane * kLaneWidth + 0.02);
    const int w = at(kLaneWidth - 0.04);
    const int y = at(chipY[lane]);
    const int h = at(0.075);
    c.RoundRect(x - at(0.01), y - at(0.01), w + at(0.02), h + at(0.02), at(0.03), kInk);
    c.RoundRect(x, y, w, h, at(0.02), kLanes[lane + 1]);
    c.FillRect(x + at(0.02), y + at(0.012), w - at(0.04), at(0.015), Mix(kLanes[lane + 1], kWhite, 0.6));
  }

  // The judgement line, with the chip in lane 2 struck on it.
  c.FillRect(at(kLaneLeft - 0.03), at(kJudgeY - 0.035), at(4 * kLaneWidth + 0.06), at(0.07), kInk);
  c.FillRect(at(kLaneLeft - 0.02), at(kJudgeY - 0.025), at(4 * kLaneWidth + 0.04), at(0.05), kAmber);
  c.FillRect(at(kLaneLeft - 0.02), at(kJudgeY - 0.025), at(4 * kLaneWidth + 0.04), at(0.015), Mix(kAmber, kWhite, 0.5));
  const double hitX = side * (kLaneLeft + 1.5 * kLaneWidth);
  Glow(c, hitX, side * kJudgeY, side * 0.2, kAmber, 1.0);
  c.FillCircle(hitX, side * kJudgeY, side * 0.07, kInk);
  c.FillCircle(hitX, side * kJudgeY, side * 0.055, kWhite);
  c.FillCircle(hitX, side * kJudgeY, side * 0.03, kAmber);

  // Below the line the lanes end in their coloured keys.
  for (int lane = 0; lane < 4; ++lane) {
    const int x = at(kLaneLeft + lane * kLaneWidth + 0.015);
    c.RoundRect(x, at(0.83), at(kLaneWidth - 0.03), at(0.07), at(0.02), Shade(kLanes[lane + 1], 0.75));
  }
  return c;
}

}  // namespace

std::vector<uint8_t> DrawIcon(int size) {
  const int side = size * kOversample;
  const Canvas art = DrawArt(side);
  std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0;
      int covered = 0;
      for (int j = 0; j < kOversample; ++j) {
        for (int i = 0; i < kOversample; ++i) {
          const int sx = x * kOversample + i;
          const int sy = y * kOversample + j;
          if (!InsideTile(sx + 0.5, sy + 0.5, side, kMargin)) continue;
          const Rgb p = InsideTile(sx + 0.5, sy + 0.5, side, kMargin + kBorder) ? art.Get(sx, sy) : kInk;
          r += p.r;
          g += p.g;
          b += p.b;
          ++covered;
        }
      }
      if (covered == 0) continue;
      uint8_t* out = &rgba[(static_cast<size_t>(y) * size + x) * 4];
      out[0] = static_cast<uint8_t>(std::lround(r / covered));
      out[1] = static_cast<uint8_t>(std::lround(g / covered));
      out[2] = static_cast<uint8_t>(std::lround(b / covered));
      out[3] = static_cast<uint8_t>(std::lround(255.0 * covered / (kOversample * kOversample)));
    }
  }
  return rgba;
}

bool WriteIconPng(const std::string& path, int size) {
  const std::vector<uint8_t> png = EncodePngRgba(size, size, DrawIcon(size));
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out.flush());
}

bool WriteIconTheme(const std::string& hicolorFolder, const std::string& name) {
  for (const int size : kIconSizes) {
    const std::string dim = std::to_string(size);
    const std::filesystem::path folder = std::filesystem::path(hicolorFolder) / (dim + "x" + dim) / "apps";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !WriteIconPng((folder / (name + ".png")).string(), size)) return false;
  }
  return true;
}

}  // namespace tessaru::gen
