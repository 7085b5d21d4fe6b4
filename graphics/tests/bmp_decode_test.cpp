#include "graphics/bmp_decode.h"

#include <gtest/gtest.h>

#include "core/testing/kept_inputs.h"
#include "graphics/pixel_ops.h"
#include "graphics/tests/bmp_writer.h"

namespace tessaru {
namespace {

using gfxtest::BmpLayout;
using gfxtest::EncodeRows;
using gfxtest::MakeBmp;

constexpr int kW = 13;  // odd, and wider than a byte of 1-bit pixels
constexpr int kH = 3;

const std::vector<uint32_t> kPalette16 = {
    0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF,
    0x808080, 0x800000, 0x008000, 0x000080, 0x123456, 0x654321, 0xA0B0C0, 0x0C0B0A};

uint16_t FromRgb(uint32_t rgb) {
  return Rgb565(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                static_cast<uint8_t>(rgb));
}

// A 5-5-5 pixel widened to 5-6-5 the way a 16-bit display shows it.
uint16_t From555(uint32_t v) {
  const uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
  return static_cast<uint16_t>((r << 11) | (((g << 1) | (g >> 4)) << 5) | b);
}

TEST(DecodeBmp, EveryDepthAndRowOrder) {
  auto indexed = [](int bits) {
    return [bits](int x, int y) { return static_cast<uint32_t>((x + 3 * y) % (1 << bits) % 16); };
  };
  auto viaPalette = [](uint32_t i) { return FromRgb(kPalette16[i]); };
  auto rgb = [](int x, int y) { return static_cast<uint32_t>(x * 0x131117 + y * 0x2F0B05) & 0xFFFFFF; };
  auto raw16 = [](int x, int y) { return static_cast<uint32_t>(x * 2741 + y * 977) & 0xFFFF; };
  auto raw555 = [](int x, int y) { return static_cast<uint32_t>(x * 2741 + y * 977) & 0x7FFF; };
  auto same = [](uint32_t v) { return static_cast<uint16_t>(v); };
  // Red in the low byte, green next, blue in the top byte: the opposite of the default.
  auto swapped32 = [](int x, int y) {
    const uint32_t r = (x * 37u) & 0xFF, g = (y * 91u) & 0xFF, b = (x * y * 13u) & 0xFF;
    return r | (g << 8) | (b << 24) | 0x00AA0000u;
  };
  auto fromSwapped = [](uint32_t v) {
    return Rgb565(static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 24));
  };
  const std::vector<uint32_t> palette2(kPalette16.begin(), kPalette16.begin() + 2);
  const std::vector<uint32_t> masks565 = {0xF800, 0x07E0, 0x001F};
  struct Case {
    const char* name;
    BmpLayout layout;  // a negative height stores the rows top first
    std::function<uint32_t(int, int)> stored;    // what the file holds at (x, y)
    std::function<uint16_t(uint32_t)> expected;  // the RGB565 that value should become
  };
  const Case cases[] = {
      {"1 bit", {kW, kH, 1, 0, 40, palette2, {}, 0}, indexed(1), viaPalette},
      {"1 bit top-down", {kW, -kH, 1, 0, 40, palette2, {}, 0}, indexed(1), viaPalette},
      {"4 bits", {kW, kH, 4, 0, 40, kPalette16, {}, 0}, indexed(4), viaPalette},
      {"4 bits top-down", {kW, -kH, 4, 0, 40, kPalette16, {}, 0}, indexed(4), viaPalette},
      {"8 bits", {kW, kH, 8, 0, 40, kPalette16, {}, 0}, indexed(4), viaPalette},
      {"8 bits core header", {kW, kH, 8, 0, 12, kPalette16, {}, 0}, indexed(4), viaPalette},
      {"16 bits 5-5-5", {kW, kH, 16, 0, 40, {}, {}, 0}, raw555, From555},
      {"16 bits 5-6-5 fields", {kW, kH, 16, 3, 40, {}, masks565, 0}, raw16, same},
      {"16 bits 5-6-5 in a V4 header", {kW, -kH, 16, 3, 108, {}, masks565, 0}, raw16, same},
      {"24 bits", {kW, kH, 24, 0, 40, {}, {}, 0}, rgb, FromRgb},
      {"24 bits top-down", {kW, -kH, 24, 0, 40, {}, {}, 0}, rgb, FromRgb},
      {"24 bits core header", {kW, kH, 24, 0, 12, {}, {}, 0}, rgb, FromRgb},
      {"32 bits", {kW, kH, 32, 0, 40, {}, {}, 0}, rgb, FromRgb},
      {"32 bits odd fields", {kW, -kH, 32, 3, 40, {}, {0x000000FF, 0x0000FF00, 0xFF000000}, 0}, swapped32, fromSwapped},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto file = MakeBmp(c.layout, EncodeRows(kW, kH, c.layout.BitCount, c.layout.Height < 0, c.stored));
    std::string error;
    const auto image = DecodeBmp(file, 640, 480, &error);
    ASSERT_TRUE(image) << error;
    ASSERT_EQ((std::vector<int>{image->Width, image->Height, image->KeptWidth, image->KeptHeight}),
              (std::vector<int>{kW, kH, kW, kH}));
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        ASSERT_EQ(image->Pixels[static_cast<size_t>(y * kW + x)], c.expected(c.stored(x, y))) << x << "," << y;
      }
    }
  }
}

TEST(DecodeBmp, CutsAtTheLimitKeepingTheTopLeft) {
  const auto image =
      DecodeBmp(gfxtest::MakeBmp24(8, 6, [](int x, int y) { return static_cast<uint32_t>(x << 16 | y << 3); }), 5, 4);
  ASSERT_TRUE(image);
  EXPECT_EQ((std::vector<int>{image->Width, image->Height, image->KeptWidth, image->KeptHeight}),
            (std::vector<int>{8, 6, 5, 4}));
  ASSERT_EQ(image->Pixels.size(), 20u);
  EXPECT_EQ(image->Pixels[0], FromRgb(0));
  EXPECT_EQ(image->Pixels[3 * 5 + 4], FromRgb(4u << 16 | 3u << 3));
}

TEST(DecodeBmp, PaletteIndexesAndRunLengthCodes) {
  const uint16_t w = 0xFFFF, k = 0, r = 0xF800, g = 0x07E0, b = 0x001F;
  struct Case {
    const char* name;
    BmpLayout layout;
    std::vector<uint8_t> data;
    std::vector<uint16_t> want;  // top row first
  };
  const Case cases[] = {
      {"an index beyond the stored palette is black", {4, 1, 8, 0, 40, {0xFFFFFF, 0xFF0000}, {}, 2}, {0, 1, 2, 255},
       {w, r, k, k}},
      // Bottom row: run of 3 red, literal (green, blue, green) padded, end of line. Middle
      // row: move 2 right and 1 up (to the top row), run of 2 blue, end of bitmap.
      {"RLE8", {6, 3, 8, 1, 40, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}, {}, 0},
       {3, 1, 0, 3, 2, 3, 2, 0, 0, 0, 0, 2, 2, 1, 2, 3, 0, 1},
       {k, k, b, b, k, k, k, k, k, k, k, k, r, r, r, g, b, g}},
      // Bottom row: run of 5 alternating red/green, end of line. Middle row: literal of 3
      // nibbles (blue, red, green) in 2 bytes, then end of bitmap.
      {"RLE4", {6, 3, 4, 2, 40, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}, {}, 0},
       {5, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 1},
       {k, k, k, k, k, k, b, r, g, k, k, k, r, g, r, g, r, k}},
  };
  for (const Case& c : cases) {
    const auto image = DecodeBmp(MakeBmp(c.layout, c.data), 640, 480);
    ASSERT_TRUE(image) << c.name;
    EXPECT_EQ(image->Pixels, c.want) << c.name;
  }
}

std::vector<uint8_t> Patched(std::vector<uint8_t> file, size_t at, std::vector<uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<ptrdiff_t>(at));
  return file;
}

TEST(DecodeBmp, MalformedFilesFailWithAReason) {
  const auto good = gfxtest::MakeBmp24(4, 2, [](int, int) { return 0x808080u; });
  ASSERT_TRUE(DecodeBmp(good, 640, 480));
  const BmpLayout rle{4, 2, 8, 1, 40, {0, 0xFFFFFF}, {}, 0};
  auto truncated = good;
  truncated.pop_back();
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
  };
  // Cut-short headers and palettes are in the truncation test below.
  const Case cases[] = {
      {"wrong signature", Patched(good, 0, {'M', 'B'})},
      {"header size 20", Patched(good, 14, {20, 0, 0, 0})},
      {"header larger than the file", Patched(good, 14, {0xFF, 0xFF, 0, 0})},
      {"zero width", Patched(good, 18, {0, 0, 0, 0})},
      {"negative width", Patched(good, 18, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"zero height", Patched(good, 22, {0, 0, 0, 0})},
      {"most negative height", Patched(good, 22, {0, 0, 0, 0x80})},
      {"absurd width", Patched(good, 18, {0xA0, 0x86, 0x01, 0})},
      {"7 bits per pixel", Patched(good, 28, {7, 0})},
      {"unknown compression", Patched(good, 30, {9, 0, 0, 0})},
      {"RLE8 on 24 bits", Patched(good, 30, {1, 0, 0, 0})},
      {"bit fields on 24 bits", Patched(good, 30, {3, 0, 0, 0})},
      {"data offset past the end", Patched(good, 10, {0xFF, 0xFF, 0, 0})},
      {"24-bit pixel data one byte short", truncated},
      {"top-down RLE", Patched(MakeBmp(rle, {0, 1}), 22, {0xFE, 0xFF, 0xFF, 0xFF})},
      {"RLE literal cut short", MakeBmp(rle, {0, 4, 1, 1})},
      {"RLE move cut short", MakeBmp(rle, {0, 2, 1})},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(DecodeBmp(c.file, 640, 480, &error)) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
}

TEST(DecodeBmp, EveryTruncationOfAnUncompressedFileFails) {
  const auto file = MakeBmp({9, 5, 4, 0, 40, kPalette16, {}, 0},
                            EncodeRows(9, 5, 4, false, [](int x, int y) { return static_cast<uint32_t>(x ^ y); }));
  ASSERT_TRUE(DecodeBmp(file, 640, 480));
  for (size_t n = 0; n < file.size(); ++n) {
    const std::vector<uint8_t> prefix(file.begin(), file.begin() + static_cast<ptrdiff_t>(n));
    EXPECT_FALSE(DecodeBmp(prefix, 640, 480)) << "prefix of " << n << " bytes";
  }
}

TEST(FuzzRegressions, KeptBitmapInputsKeepTheirOutcome) {
  testing_support::ReplayKeptInputs(
      std::string(TESSARU_FIXTURES) + "/fuzz",
      [](const std::string&, const std::vector<uint8_t>& bytes) { return DecodeBmp(bytes, 640, 480).has_value(); },
      4);
}

}  // namespace
}  // namespace tessaru
