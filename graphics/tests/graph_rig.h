#pragma once
// A GraphLib over the headless platform, plus small pixel helpers for the tests.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "content/packed.h"
#include "core/error_log.h"
#include "graphics/graph_lib.h"
#include "platform/headless.h"

namespace tessaru::gfxtest {

struct GraphRig {
  platform::HeadlessPlatform headless = platform::CreateHeadlessPlatform();
  ErrorLog log;
  GraphLib g{*headless.platform->video, *headless.platform->clock, log};
  platform::HeadlessControl& control = *headless.control;

  uint16_t At(SurfaceIndex page, int x, int y) const {
    return g.Pixels(page)[static_cast<size_t>(y * g.ScreenWidth() + x)];
  }
  void Put(SurfaceIndex page, int x, int y, uint16_t value) {
    g.Pixels(page)[static_cast<size_t>(y * g.ScreenWidth() + x)] = value;
  }
  // Fills a page with value = f(x, y).
  template <typename F>
  void Paint(SurfaceIndex page, F f) {
    for (int y = 0; y < g.ScreenHeight(); ++y) {
      for (int x = 0; x < g.ScreenWidth(); ++x) Put(page, x, y, static_cast<uint16_t>(f(x, y)));
    }
  }
  void Fill(SurfaceIndex page, uint16_t value) {
    Paint(page, [value](int, int) { return value; });
  }
  // A new unkeyed page painted with f.
  template <typename F>
  SurfaceIndex NewPage(F f) {
    const SurfaceIndex page = g.NewSurface(0, 0);
    Paint(page, f);
    return page;
  }
  std::vector<uint16_t> Copy(SurfaceIndex page) const {
    return std::vector<uint16_t>(g.Pixels(page).begin(), g.Pixels(page).end());
  }
  const std::vector<uint16_t>& Frame() const {
    int w = 0, h = 0;
    return control.LastFrame(&w, &h);
  }
};

// A pixel value that names its own position (distinct over a 640x480 page except for
// wrap-around, which the tests keep away from by using small regions).
inline uint16_t Tag(int x, int y) { return static_cast<uint16_t>(1 + x + y * 97); }

// Writes a picture as the game stores it: packed, under the ".zxg" name.
inline void WritePackedImage(const std::string& zxgPath, const std::vector<uint8_t>& bmp) {
  ASSERT_TRUE(WritePackedFile(zxgPath, bmp));
}

}  // namespace tessaru::gfxtest
