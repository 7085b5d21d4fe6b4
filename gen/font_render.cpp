#include "gen/font_render.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <vector>

namespace tessaru::gen {

struct FontRenderer::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

FontRenderer::FontRenderer(const std::string& fontPath) : impl_(std::make_unique<Impl>()) {
  if (FT_Init_FreeType(&impl_->library) != 0) {
    error_ = "FreeType could not start";
    return;
  }
  if (FT_New_Face(impl_->library, fontPath.c_str(), 0, &impl_->face) != 0) {
    error_ = "cannot open the font " + fontPath;
    impl_->face = nullptr;
  }
}

FontRenderer::~FontRenderer() {
  if (impl_->face) FT_Done_Face(impl_->face);
  if (impl_->library) FT_Done_FreeType(impl_->library);
}

bool FontRenderer::Ok() const { return impl_->face != nullptr; }

namespace {

// One rendered line as an 8-bit coverage mask with its origin.
struct Mask {
  int width = 0, height = 0;
  int originX = 0, baselineY = 0;  // where the pen started inside the mask
  int advance = 0;
  std::vector<uint8_t> cover;
  uint8_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return cover[static_cast<size_t>(y * width + x)];
  }
};

Mask RenderLine(FT_Face face, std::string_view text, int pixelSize) {
  Mask m;
  if (!face) return m;
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
  struct Placed {
    int x, y, w, h;
    std::vector<uint8_t> bits;
  };
  std::vector<Placed> glyphs;
  int pen = 0;
  int minX = 0, maxX = 1, minY = 0, maxY = 1;
  for (unsigned char ch : text) {
    if (FT_Load_Char(face, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) continue;
    const FT_GlyphSlot g = face->glyph;
    Placed p{pen + g->bitmap_left, -g->bitmap_top, static_cast<int>(g->bitmap.width),
             static_cast<int>(g->bitmap.rows), {}};
    p.bits.resize(static_cast<size_t>(p.w * p.h));
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x)
        p.bits[static_cast<size_t>(y * p.w + x)] = g->bitmap.buffer[y * g->bitmap.pitch + x];
    if (p.w > 0 && p.h > 0) {
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x + p.w);
      minY = std::min(minY, p.y);
      maxY = std::max(maxY, p.y + p.h);
    }
    pen += static_cast<int>(g->advance.x >> 6);
    glyphs.push_back(std::move(p));
  }
  m.advance = pen;
  m.width = maxX - minX;
  m.height = maxY - minY;
  m.originX = -minX;
  m.baselineY = -minY;
  m.cover.assign(static_cast<size_t>(m.width * m.height), 0);
  for (const auto& p : glyphs)
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x) {
        auto& dst = m.cover[static_cast<size_t>((p.y + y + m.baselineY) * m.width + p.x + x + m.originX)];
        dst = std::max(dst, p.bits[static_cast<size_t>(y * p.w + x)]);
      }
  return m;
}

}  // namespace

TextBox FontRenderer::Measure(std::string_view text, int pixelSize) {
  const Mask m = RenderLine(impl_->face, text, pixelSize);
  TextBox box;
  box.advance = m.advance;
  int l = m.width, r = -1, t = m.height, b = -1;
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x)
      if (m.At(x, y) >= 128) {
        l = std::min(l, x);
        r = std::max(r, x);
        t = std::min(t, y);
        b = std::max(b, y);
      }
  if (r < 0) return box;
  box.left = l - m.originX;
  box.right = r - m.originX + 1;
  box.top = t - m.baselineY;
  box.bottom = b - m.baselineY + 1;
  return box;
}

int FontRenderer::Draw(Canvas& canvas, std::string_view text, int x, int baseline,
                       const TextStyle& style) {
  const Mask m = RenderLine(impl_->face, text, style.pixelSize);
  const int ox = x - m.originX;
  const int oy = baseline - m.baselineY;
  const int ow = style.outlineWidth;
  auto inkAt = [&](int mx, int my) { return m.At(mx, my) >= 128; };
  // Outline and shadow first: every pixel within ow of solid ink.
  if (ow > 0 || style.shadow > 0) {
    for (int y = -ow - 1; y < m.height + ow + style.shadow + 1; ++y)
      for (int xx = -ow - 1; xx < m.width + ow + style.shadow + 1; ++xx) {
        bool near = false;
        for (int dy = -ow; dy <= ow && !near; ++dy)
          for (int dx = -ow; dx <= ow && !near; ++dx) {
            if (dx * dx + dy * dy > ow * ow + ow) continue;
            near = inkAt(xx + dx, y + dy) ||
                   (style.shadow > 0 && inkAt(xx + dx - style.shadow, y + dy - style.shadow));
          }
        if (near) canvas.Set(ox + xx, oy + y, style.outline);
      }
  }
  const int top = -m.baselineY;
  for (int y = 0; y < m.height; ++y) {
    const double t = m.height > 1 ? static_cast<double>(y) / (m.height - 1) : 0.0;
    (void)top;
    const Rgb fill = Mix(style.top, style.bottom, t);
    for (int xx = 0; xx < m.width; ++xx) {
      const uint8_t c = m.At(xx, y);
      if (c < 64) continue;
      // Edge pixels shade towards the outline colour instead of the background, so the
      // letter stays crisp against transparent black.
      const double a = std::min(1.0, (c - 64) / 128.0);
      canvas.Set(ox + xx, oy + y, ow > 0 ? Mix(style.outline, fill, a) : (c >= 128 ? fill : canvas.Get(ox + xx, oy + y)));
    }
  }
  return m.advance;
}

void FontRenderer::DrawCentered(Canvas& canvas, std::string_view text, int cx, int cy,
                                const TextStyle& style) {
  const TextBox box = Measure(text, style.pixelSize);
  const int x = cx - (box.left + box.right) / 2;
  const int baseline = cy - (box.top + box.bottom) / 2;
  Draw(canvas, text, x, baseline, style);
}

int FontRenderer::FitSize(std::string_view text, int width, int height, int maxSize) {
  for (int size = maxSize; size > 4; --size) {
    const TextBox box = Measure(text, size);
    if (box.right - box.left <= width && box.bottom - box.top <= height) return size;
  }
  return 5;
}

}  // namespace tessaru::gen
