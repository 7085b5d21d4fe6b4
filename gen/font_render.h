#pragma once
// Text drawn with FreeType from the Debian fonts: coverage is thresholded so edges stay
// crisp at 16-bit colour, and every glyph gets a dark outline so text reads on any art.
#include <memory>
#include <string>
#include <string_view>

#include "gen/canvas.h"

namespace tessaru::gen {

inline constexpr const char* kMonoBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
inline constexpr const char* kSansBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
inline constexpr const char* kSansFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct TextStyle {
  int pixelSize = 16;
  Rgb top{255, 255, 255};     // fill colour at the top of the line
  Rgb bottom{255, 255, 255};  // and at the bottom (a vertical gradient when they differ)
  Rgb outline = kInk;
  int outlineWidth = 1;       // 0 = none
  int shadow = 0;             // drop shadow offset in pixels, drawn in the outline colour
};

// Ink extent of one line relative to the pen position and the baseline.
struct TextBox {
  int left = 0, right = 0, top = 0, bottom = 0;  // top is negative (above the baseline)
  int advance = 0;
};

class FontRenderer {
 public:
  explicit FontRenderer(const std::string& fontPath);
  ~FontRenderer();
  FontRenderer(const FontRenderer&) = delete;
  FontRenderer& operator=(const FontRenderer&) = delete;
  bool Ok() const;
  const std::string& Error() const { return error_; }

  TextBox Measure(std::string_view text, int pixelSize);
  // Draws one line with its pen at (x, baseline); returns the advance. Only ASCII and
  // Latin-1 text is expected; other bytes are drawn as given code points.
  int Draw(Canvas& canvas, std::string_view text, int x, int baseline, const TextStyle& style);
  // Draws centred on cx with its ink box vertically centred on cy.
  void DrawCentered(Canvas& canvas, std::string_view text, int cx, int cy, const TextStyle& style);
  // The largest pixel size (<= maxSize) at which the text's ink fits width x height.
  int FitSize(std::string_view text, int width, int height, int maxSize);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string error_;
};

}  // namespace tessaru::gen
