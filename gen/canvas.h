#pragma once
// An RGB drawing surface for the generated art, with the few shapes the screens need and
// writers for the BMP forms the game reads. Everything is integer and deterministic.
#include <cstdint>
#include <string>
#include <vector>

namespace tessaru::gen {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Linear mix of two colours, t in [0, 1].
Rgb Mix(Rgb a, Rgb b, double t);
// The colour scaled in brightness (1 = unchanged).
Rgb Shade(Rgb c, double k);
// A desaturated version (0 = unchanged, 1 = grey).
Rgb Desaturate(Rgb c, double amount);

class Canvas {
 public:
  Canvas(int width, int height, Rgb fill = {});
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb Get(int x, int y) const;
  // Writes are clipped silently: art may overhang its cell.
  void Set(int x, int y, Rgb c);
  // Alpha blend: a = 0 keeps the pixel, 1 replaces it.
  void Blend(int x, int y, Rgb c, double a);

  void FillRect(int x, int y, int w, int h, Rgb c);
  void FrameRect(int x, int y, int w, int h, Rgb c, int thickness = 1);
  void VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom);
  void HorizontalGradient(int x, int y, int w, int h, Rgb left, Rgb right);
  void FillCircle(double cx, double cy, double radius, Rgb c);
  void FillEllipse(double cx, double cy, double rx, double ry, Rgb c);
  void Ring(double cx, double cy, double radius, double thickness, Rgb c);
  void Line(double x0, double y0, double x1, double y1, double thickness, Rgb c);
  // Polygon by even-odd fill of pixel centres.
  void FillPolygon(const std::vector<std::pair<double, double>>& points, Rgb c);
  void RoundRect(int x, int y, int w, int h, int radius, Rgb c);
  // Copies a rectangle of another canvas; pure black source pixels are skipped when keyed.
  void Paste(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy, bool keyed);
  // Scales the whole canvas by one half (box filter of 2x2), for the low-resolution sheets.
  Canvas Half() const;

  const std::vector<Rgb>& Pixels() const { return pixels_; }

 private:
  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

// Pure black is the transparent colour of every sprite sheet; art that must stay visible
// uses this near-black instead (it survives the 16-bit conversion as non-zero).
inline constexpr Rgb kInk{14, 10, 34};

// BMP file bytes: 16 bits per pixel (RGB565 bit fields, what the game's surfaces hold) or
// 24 bits per pixel; bottom-up rows padded to four bytes.
std::vector<uint8_t> EncodeBmp16(const Canvas& canvas);
std::vector<uint8_t> EncodeBmp24(const Canvas& canvas);
// PNG bytes (stored deflate blocks) for looking at the art while developing.
std::vector<uint8_t> EncodePng(const Canvas& canvas);
// PNG bytes of straight (not premultiplied) RGBA pixels, rows top to bottom.
std::vector<uint8_t> EncodePngRgba(int width, int height, const std::vector<uint8_t>& rgba);

}  // namespace tessaru::gen
