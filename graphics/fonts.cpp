#include <string_view>

#include "content/data_files.h"
#include "core/paths.h"
#include "graphics/graph_lib.h"

namespace tessaru {
namespace {

// The big-letter font's cells in order; the hyphen stands twice and cell 48 is a space.
constexpr std::string_view kBigLetterSet = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ!?.,#@*&-_+- ><";
constexpr int32_t kBigLetterFallback = 51;  // the last cell of the fourth row
constexpr char32_t kNotACharacter = 0xFFFD;

// Steps through UTF-8 text one character at a time. A stray byte counts as one
// character of its own, so a broken string still advances predictably.
char32_t NextCharacter(std::string_view text, size_t& at) {
  const auto lead = static_cast<uint8_t>(text[at++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t value = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    value = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    value = lead & 0x07;
  } else {
    return kNotACharacter;
  }
  for (int i = 0; i < extra; ++i) {
    if (at >= text.size() || (static_cast<uint8_t>(text[at]) & 0xC0) != 0x80) {
      return kNotACharacter;
    }
    value = (value << 6) | (static_cast<uint8_t>(text[at++]) & 0x3F);
  }
  return value;
}

int32_t BigLetterCell(char32_t c) {
  if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
  if (c < 0x80) {
    const size_t j = kBigLetterSet.find(static_cast<char>(c));
    if (j != std::string_view::npos) return static_cast<int32_t>(j);
  }
  return kBigLetterFallback;
}

}  // namespace

void GraphLib::LoadSystemFont(SurfaceIndex index) {
  const std::string path = JoinLogical(dataPath_, data_files::kSystemFont);
  if (!LoadSurfaceImage(index, std::string_view(path))) errorLog_.AddLoadFailure(path);
  systemFontSurface_ = index;
}

void GraphLib::DrawSystemText(SurfaceIndex dst, std::string_view text, int32_t x, int32_t y,
                              int16_t style) {
  if (style != 0 && style != 1) return;
  const int32_t glyphHeight = style == 0 ? 32 : 24;
  int64_t cellX = x;
  size_t at = 0;
  while (at < text.size() && cellX < screenWidth_) {
    const char32_t c = NextCharacter(text, at);
    // The font image holds glyphs for codes 32 to 127 only; anything else leaves a gap.
    if (c >= 32 && c <= 127) {
      const int32_t code = static_cast<int32_t>(c);
      const int32_t srcX = (code % 32) * 17 + 1;
      const int32_t srcY = style == 0 ? (code / 32) * 33 + 1 : (code / 32) * 25 + 108;
      BltClip(dst, systemFontSurface_, static_cast<int32_t>(cellX), y, 16, glyphHeight, srcX,
              srcY, 1);
    }
    cellX += 16;
  }
}

void GraphLib::DrawBigText(SurfaceIndex dst, SurfaceIndex font, std::string_view text,
                           int32_t x, int32_t y) {
  int64_t cellX = x;
  size_t at = 0;
  while (at < text.size() && cellX < screenWidth_) {
    const int32_t j = BigLetterCell(NextCharacter(text, at));
    BltClip(dst, font, static_cast<int32_t>(cellX), y, 48, 48, 49 * (j % 13), 49 * (j / 13), 1);
    cellX += 48;
  }
}

}  // namespace tessaru
