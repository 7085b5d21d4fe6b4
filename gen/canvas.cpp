#include "gen/canvas.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tessaru::gen {
namespace {

uint8_t Clamp8(double v) {
  return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void Put32Be(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

std::vector<uint8_t> BmpHeader(const Canvas& c, int bitsPerPixel, uint32_t rowBytes,
                               bool bitFields) {
  const uint32_t headerSize = 14 + 40 + (bitFields ? 12u : 0u);
  const uint32_t imageSize = rowBytes * static_cast<uint32_t>(c.Height());
  std::vector<uint8_t> out;
  out.reserve(headerSize + imageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, headerSize + imageSize);
  Put32(out, 0);
  Put32(out, headerSize);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(c.Width()));
  Put32(out, static_cast<uint32_t>(c.Height()));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bitsPerPixel));
  Put32(out, bitFields ? 3u : 0u);
  Put32(out, imageSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  if (bitFields) {
    Put32(out, 0xF800);
    Put32(out, 0x07E0);
    Put32(out, 0x001F);
  }
  return out;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t),
          Clamp8(a.b + (b.b - a.b) * t)};
}

Rgb Shade(Rgb c, double k) { return {Clamp8(c.r * k), Clamp8(c.g * k), Clamp8(c.b * k)}; }

Rgb Desaturate(Rgb c, double amount) {
  const double grey = 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
  return Mix(c, Rgb{Clamp8(grey), Clamp8(grey), Clamp8(grey)}, amount);
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height),
      pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}

Rgb Canvas::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void Canvas::Set(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = c;
}

void Canvas::Blend(int x, int y, Rgb c, double a) {
  if (a <= 0) return;
  Set(x, y, a >= 1 ? c : Mix(Get(x, y), c, a));
}

void Canvas::FillRect(int x, int y, int w, int h, Rgb c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void Canvas::FrameRect(int x, int y, int w, int h, Rgb c, int thickness) {
  FillRect(x, y, w, thickness, c);
  FillRect(x, y + h - thickness, w, thickness, c);
  FillRect(x, y, thickness, h, c);
  FillRect(x + w - thickness, y, thickness, h, c);
}

void Canvas::VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
  for (int j = 0; j < h; ++j) {
    const double t = h > 1 ? static_cast<double>(j) / (h - 1) : 0.0;
    FillRect(x, y + j, w, 1, Mix(top, bottom, t));
  }
}

void Canvas::HorizontalGradient(int x, int y, int w, int h, Rgb left, Rgb right) {
  for (int i = 0; i < w; ++i) {
    const double t = w > 1 ? static_cast<double>(i) / (w - 1) : 0.0;
    FillRect(x + i, y, 1, h, Mix(left, right, t));
  }
}

void Canvas::FillEllipse(double cx, double cy, double rx, double ry, Rgb c) {
  if (rx <= 0 || ry <= 0) return;
  const int y0 = static_cast<int>(std::floor(cy - ry));
  const int y1 = static_cast<int>(std::ceil(cy + ry));
  const int x0 = static_cast<int>(std::floor(cx - rx));
  const int x1 = static_cast<int>(std::ceil(cx + rx));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double dx = (x + 0.5 - cx) / rx;
      const double dy = (y + 0.5 - cy) / ry;
      if (dx * dx + dy * dy <= 1.0) Set(x, y, c);
    }
}

void Canvas::FillCircle(double cx, double cy, double radius, Rgb c) {
  FillEllipse(cx, cy, radius, radius, c);
}

void Canvas::Ring(double cx, double cy, double radius, double thickness, Rgb c) {
  const int r = static_cast<int>(std::ceil(radius + thickness));
  for (int y = static_cast<int>(cy) - r; y <= static_cast<int>(cy) + r; ++y)
    for (int x = static_cast<int>(cx) - r; x <= static_cast<int>(cx) + r; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      if (std::fabs(d - radius) <= thickness / 2) Set(x, y, c);
    }
}

void Canvas::Line(double x0, double y0, double x1, double y1, double thickness, Rgb c) {
  const double len = std::hypot(x1 - x0, y1 - y0);
  const int steps = std::max(1, static_cast<int>(len * 2));
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    FillCircle(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, thickness / 2, c);
  }
}

void Canvas::FillPolygon(const std::vector<std::pair<double, double>>& points, Rgb c) {
  if (points.size() < 3) return;
  double minY = points[0].second, maxY = points[0].second;
  for (const auto& p : points) {
    minY = std::min(minY, p.second);
    maxY = std::max(maxY, p.second);
  }
  for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(std::ceil(maxY)); ++y) {
    const double sy = y + 0.5;
    std::vector<double> xs;
    for (size_t i = 0; i < points.size(); ++i) {
      const auto& a = points[i];
      const auto& b = points[(i + 1) % points.size()];
      if ((a.second <= sy && b.second > sy) || (b.second <= sy && a.second > sy))
        xs.push_back(a.first + (sy - a.second) / (b.second - a.second) * (b.first - a.first));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2)
      for (int x = static_cast<int>(std::ceil(xs[i] - 0.5)); x + 0.5 < xs[i + 1]; ++x) Set(x, y, c);
  }
}

void Canvas::RoundRect(int x, int y, int w, int h, int radius, Rgb c) {
  radius = std::min({radius, w / 2, h / 2});
  FillRect(x + radius, y, w - 2 * radius, h, c);
  FillRect(x, y + radius, w, h - 2 * radius, c);
  FillCircle(x + radius, y + radius, radius, c);
  FillCircle(x + w - radius, y + radius, radius, c);
  FillCircle(x + radius, y + h - radius, radius, c);
  FillCircle(x + w - radius, y + h - radius, radius, c);
}

void Canvas::Paste(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy, bool keyed) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const Rgb p = src.Get(sx + i, sy + j);
      if (keyed && p == Rgb{}) continue;
      Set(dx + i, dy + j, p);
    }
}

Canvas Canvas::Half() const {
  Canvas out(width_ / 2, height_ / 2);
  for (int y = 0; y < out.height_; ++y)
    for (int x = 0; x < out.width_; ++x) {
      int r = 0, g = 0, b = 0, black = 0;
      for (int k = 0; k < 4; ++k) {
        const Rgb p = Get(2 * x + (k & 1), 2 * y + (k >> 1));
        if (p == Rgb{}) ++black;
        r += p.r;
        g += p.g;
        b += p.b;
      }
      // Keep transparent areas exactly transparent and sprite pixels never transparent.
      if (black >= 3) continue;
      const int n = 4 - black;
      Rgb avg{static_cast<uint8_t>(r / n), static_cast<uint8_t>(g / n), static_cast<uint8_t>(b / n)};
      if (avg.r < 8 && avg.g < 8 && avg.b < 8) avg = kInk;
      out.Set(x, y, avg);
    }
  return out;
}

std::vector<uint8_t> EncodeBmp16(const Canvas& canvas) {
  const uint32_t rowBytes = (static_cast<uint32_t>(canvas.Width()) * 2 + 3) & ~3u;
  std::vector<uint8_t> out = BmpHeader(canvas, 16, rowBytes, true);
  for (int y = canvas.Height() - 1; y >= 0; --y) {
    const size_t start = out.size();
    for (int x = 0; x < canvas.Width(); ++x) {
      const Rgb p = canvas.Get(x, y);
      const uint32_t v = ((p.r >> 3u) << 11u) | ((p.g >> 2u) << 5u) | (p.b >> 3u);
      Put16(out, v);
    }
    out.resize(start + rowBytes, 0);
  }
  return out;
}

std::vector<uint8_t> EncodeBmp24(const Canvas& canvas) {
  const uint32_t rowBytes = (static_cast<uint32_t>(canvas.Width()) * 3 + 3) & ~3u;
  std::vector<uint8_t> out = BmpHeader(canvas, 24, rowBytes, false);
  for (int y = canvas.Height() - 1; y >= 0; --y) {
    const size_t start = out.size();
    for (int x = 0; x < canvas.Width(); ++x) {
      const Rgb p = canvas.Get(x, y);
      out.push_back(p.b);
      out.push_back(p.g);
      out.push_back(p.r);
    }
    out.resize(start + rowBytes, 0);
  }
  return out;
}

namespace {

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  Put32Be(out, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  Put32Be(out, Crc32(body.data(), body.size()));
}

}  // namespace

namespace {

// Rows already carry their filter byte (0); colourType 2 is RGB, 6 is RGBA.
std::vector<uint8_t> EncodePngRows(int width, int height, uint8_t colourType, const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> z{0x78, 0x01};
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  for (size_t pos = 0; pos < raw.size() || pos == 0;) {
    const size_t n = std::min<size_t>(65535, raw.size() - pos);
    z.push_back(pos + n >= raw.size() ? 1 : 0);
    Put16(z, static_cast<uint32_t>(n));
    Put16(z, static_cast<uint32_t>(~n & 0xFFFF));
    z.insert(z.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + n));
    pos += n;
    if (n == 0) break;
  }
  Put32Be(z, (b << 16) | a);
  std::vector<uint8_t> out{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> ihdr;
  Put32Be(ihdr, static_cast<uint32_t>(width));
  Put32Be(ihdr, static_cast<uint32_t>(height));
  ihdr.insert(ihdr.end(), {8, colourType, 0, 0, 0});
  PngChunk(out, "IHDR", ihdr);
  PngChunk(out, "IDAT", z);
  PngChunk(out, "IEND", {});
  return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Canvas& canvas) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < canvas.Height(); ++y) {
    raw.push_back(0);
    for (int x = 0; x < canvas.Width(); ++x) {
      const Rgb p = canvas.Get(x, y);
      raw.insert(raw.end(), {p.r, p.g, p.b});
    }
  }
  return EncodePngRows(canvas.Width(), canvas.Height(), 2, raw);
}

std::vector<uint8_t> EncodePngRgba(int width, int height, const std::vector<uint8_t>& rgba) {
  std::vector<uint8_t> raw;
  const size_t row = static_cast<size_t>(width) * 4;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    const auto start = rgba.begin() + static_cast<long>(row * static_cast<size_t>(y));
    raw.insert(raw.end(), start, start + static_cast<long>(row));
  }
  return EncodePngRows(width, height, 6, raw);
}

}  // namespace tessaru::gen
