// The per-frame costs of drawing: a whole-page copy, many keyed sprites, a translucent
// panel, and one present on the headless display.
#include <benchmark/benchmark.h>

#include "core/error_log.h"
#include "graphics/graph_lib.h"
#include "platform/headless.h"

namespace tessaru {
namespace {

struct Screen {
  platform::HeadlessPlatform headless = platform::CreateHeadlessPlatform();
  ErrorLog log;
  GraphLib g{*headless.platform->video, *headless.platform->clock, log};
  SurfaceIndex sprites = -1;

  Screen() {
    g.InitDirectDraw(false, 0);
    sprites = g.NewSurface(0, 0);
    auto pixels = g.Pixels(sprites);
    // Sprites with a transparent border and a solid middle, like the chip images.
    for (size_t i = 0; i < pixels.size(); ++i) {
      const size_t x = i % 640, y = i / 640;
      const bool border = x % 32 < 4 || x % 32 >= 28 || y % 32 < 4 || y % 32 >= 28;
      pixels[i] = border ? 0 : static_cast<uint16_t>(0x1234 + x + y);
    }
  }
};

void FullPageBlit(benchmark::State& state) {
  Screen s;
  for (auto _ : state) {
    s.g.BltPage(BackIndex, s.sprites);
    benchmark::DoNotOptimize(s.g.Pixels(BackIndex).data());
  }
}
BENCHMARK(FullPageBlit);

void KeyedSprites1000(benchmark::State& state) {
  Screen s;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      const int x = (i * 37) % 620 - 10;  // some cross the edges
      const int y = (i * 53) % 460 - 10;
      s.g.BltClip(BackIndex, s.sprites, x, y, 32, 32, (i % 20) * 32, (i % 15) * 32, 1);
    }
    benchmark::DoNotOptimize(s.g.Pixels(BackIndex).data());
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(KeyedSprites1000);

void Blend200x100(benchmark::State& state) {
  Screen s;
  for (auto _ : state) {
    s.g.BltBlend(BackIndex, s.sprites, 220, 190, 200, 100, 0, 0, 0.5, 1);
    benchmark::DoNotOptimize(s.g.Pixels(BackIndex).data());
  }
}
BENCHMARK(Blend200x100);

void PresentHeadless(benchmark::State& state) {
  Screen s;
  for (auto _ : state) s.g.FlipScreen();
}
BENCHMARK(PresentHeadless);

}  // namespace
}  // namespace tessaru
