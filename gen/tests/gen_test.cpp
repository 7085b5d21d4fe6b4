#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "content/part_file.h"
#include "gen/art.h"
#include "gen/canvas.h"
#include "gen/charts.h"
#include "gen/icon.h"
#include "gen/palette.h"
#include "gen/music.h"
#include "gen/sheets.h"
#include "gen/wave.h"
#include "graphics/bmp_decode.h"
#include "layout/play_layout.h"
#include "platform/window_icon.h"
#include "sound/wave_file.h"

namespace tessaru::gen {
namespace {

TEST(TempoMapTest, WalksSegmentsTruncatingEachToWholeMilliseconds) {
  const TempoMap single({{0, 120}});
  const TempoMap changes({{0, 150}, {1, 165}, {3, 120}});
  struct Case {
    const TempoMap* map;
    double step;
    double ms;
  } cases[] = {
      {&single, 0, 0},       {&single, 16, 2000},   {&single, 3, 375},
      // 150 BPM: 100 ms a step, one bar 1600 ms; then 165 BPM: 90.909.. ms a step, two bars
      // 2909.09 ms truncated to 2909.
      {&changes, 16, 1600},  {&changes, 17, 1600 + 15000.0 / 165}, {&changes, 48, 1600 + 2909},
      {&changes, 49, 1600 + 2909 + 125},
  };
  for (const Case& c : cases) EXPECT_NEAR(c.map->StepToMs(c.step), c.ms, 1e-6) << c.step;
  EXPECT_EQ(changes.BpmAtStep(47), 165);
  EXPECT_EQ(changes.BpmAtStep(48), 120);
}

TEST(EncodersTest, BitmapsAndWavesReadBackThroughTheGameDecoders) {
  Canvas c(5, 3);  // odd width: rows are padded to four bytes
  c.Set(0, 0, {255, 0, 0});
  c.Set(4, 2, {0, 0, 255});
  c.Set(2, 1, {0, 255, 0});
  for (bool sixteen : {true, false}) {
    const auto bytes = sixteen ? EncodeBmp16(c) : EncodeBmp24(c);
    std::string error;
    const auto img = DecodeBmp(bytes, 640, 480, &error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->Width, 5);
    EXPECT_EQ(img->Height, 3);
    EXPECT_EQ(img->Pixels[0], 0xF800);       // top-left red
    EXPECT_EQ(img->Pixels[2 * 5 + 4], 0x001F);  // bottom-right blue
    EXPECT_EQ(img->Pixels[1 * 5 + 2], 0x07E0);
    EXPECT_EQ(img->Pixels[1], 0);            // black stays black: the colour key
  }
  Wave w{22050, 1, {0.0f, 0.5f, -0.5f, 2.0f}};
  const auto wave = ParseWave(EncodeWave(w));
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->Format.SamplesPerSec, 22050);
  EXPECT_EQ(wave->Format.BitsPerSample, 16);
  EXPECT_EQ(wave->Frames, 4);
  EXPECT_EQ(wave->Samples[1], 16384);
  EXPECT_EQ(wave->Samples[3], 32767);  // clipped, not wrapped
}

TEST(FontImagesTest, GlyphsStayInsideTheirCellsAndNoneIsEmpty) {
  Fonts fonts;
  ASSERT_TRUE(fonts.Ok());
  const Canvas sys = SystemFontImage(fonts);
  struct Style {
    int h, originY, pitch;
  } styles[] = {{32, 1, 33}, {24, 108, 25}};
  std::vector<bool> inCell(static_cast<size_t>(sys.Width() * sys.Height()), false);
  for (const Style& s : styles)
    for (int ch = 32; ch < 128; ++ch) {
      const int x0 = (ch % 32) * 17 + 1, y0 = (ch / 32) * s.pitch + s.originY;
      int ink = 0;
      for (int y = y0; y < y0 + s.h; ++y)
        for (int x = x0; x < x0 + 16; ++x) {
          inCell[static_cast<size_t>(y * sys.Width() + x)] = true;
          ink += sys.Get(x, y) != Rgb{};
        }
      if (ch != 32) {
        EXPECT_GT(ink, 6) << "style " << s.h << " code " << ch;
      } else {
        EXPECT_EQ(ink, 0);
      }
    }
  for (int y = 0; y < sys.Height(); ++y)
    for (int x = 0; x < sys.Width(); ++x)
      if (!inCell[static_cast<size_t>(y * sys.Width() + x)]) {
        ASSERT_EQ(sys.Get(x, y), Rgb{}) << x << "," << y;
      }

  const Canvas big = BigFontImage(fonts);
  for (int j = 0; j < 52; ++j) {
    int ink = 0;
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 48; ++x) ink += big.Get(49 * (j % 13) + x, 49 * (j / 13) + y) != Rgb{};
    if (j == 48) {
      EXPECT_EQ(ink, 0) << "the space cell";
    } else {
      EXPECT_GT(ink, 20) << "cell " << j;
    }
  }
}

TEST(ChipSheetTest, ColourRowsHoldOneChipInTheirLaneAndTheCoverIsOpaque) {
  const Canvas sheet = ChipSheet(0);
  auto inkInQuarter = [&](int row, int quarter) {
    int ink = 0;
    for (int y = row * 11; y < row * 11 + 10; ++y)
      for (int x = quarter * 25; x < quarter * 25 + 25; ++x) ink += sheet.Get(x, y) != Rgb{};
    return ink;
  };
  for (int lane = 1; lane <= 4; ++lane)
    for (int row : {lane, lane + 4, lane + 9})
      for (int q = 0; q < 4; ++q) {
        if (q == lane - 1) {
          EXPECT_GT(inkInQuarter(row, q), 150) << row;
        } else {
          EXPECT_EQ(inkInQuarter(row, q), 0) << row << " " << q;
        }
      }
  for (int q = 0; q < 4; ++q) EXPECT_GT(inkInQuarter(9, q), 150);
  for (int q = 0; q < 4; ++q) EXPECT_EQ(inkInQuarter(15, q), 250) << "cover quarter " << q;
}

// The play screen cuts its sprites where layout/play_layout.h says: every cell of both
// sheets must hold a picture at both resolutions, and a lane's chip and marks nothing
// outside the lane's quarter.
TEST(ChipSheetTest, EveryCellTheScreenCutsIsDrawnAtBothResolutions) {
  Fonts fonts;
  ASSERT_TRUE(fonts.Ok());
  for (int16_t res : {int16_t{0}, kLowResolution}) {
    const Canvas chips = ChipSheet(0, res);
    const Canvas play = PlaySheet(fonts, res);
    ASSERT_EQ(chips.Width(), SheetWidth(res));
    ASSERT_EQ(play.Height(), SheetHeight(res));
    auto ink = [](const Canvas& c, const BltArea& a) {
      int n = 0;
      for (int y = a.Y; y < a.Y + a.H; ++y)
        for (int x = a.X; x < a.X + a.W; ++x) n += c.Get(x, y) != Rgb{};
      return n;
    };
    for (const auto& [sheet, cells] : {std::pair{&chips, ChipSheetCells(res)}, std::pair{&play, PlaySheetCells(res)}}) {
      for (const SheetCell& cell : cells) EXPECT_GT(ink(*sheet, cell.Area), 0) << cell.Name << " res " << res;
    }
    for (int16_t lane = 1; lane <= 4; ++lane) {
      for (int row : {ChipRowFor(0, lane), ChipRowFor(1, lane), ChipRowFor(2, lane), ChipMarkRow(kMarkJust, lane),
                      ChipMarkRow(kMarkNear, lane), ChipMarkRow(kMarkMissed, lane)}) {
        const BltArea r = ChipSheetRow(row, res);
        for (int16_t q = 1; q <= 4; ++q) {
          const BltArea quarter = LaneQuarter(q, res);
          const int n = ink(chips, {r.X + quarter.X, r.Y, quarter.W, r.H});
          if (q == lane) {
            EXPECT_GT(n, 0) << "row " << row << " res " << res;
          } else {
            EXPECT_EQ(n, 0) << "row " << row << " quarter " << q << " res " << res;
          }
        }
      }
    }
    // The empty steps and the cover are opaque: nothing behind them shows through.
    for (int row : {kChipRowEmpty, kChipRowBeat, kChipRowBar, kChipRowCover}) {
      const BltArea r = ChipSheetRow(row, res);
      EXPECT_EQ(ink(chips, r), r.W * r.H) << "row " << row << " res " << res;
    }
  }
}

PartMusic SixteenthLine() {
  PartMusic m;
  m.name = "TEST";
  for (int s = 0; s < 64; ++s) m.notes.push_back({s, 48 + (s * 5) % 24, 1, 0.8, Instrument::Bass, 0});
  return m;
}

TEST(ChartTest, DensityFollowsTheLevelAndEveryChipHasASound) {
  const TempoMap tempo({{0, 120}});
  struct Case {
    int level;
    int grid;
    int minGap;
  } cases[] = {{1, 4, 8}, {2, 4, 4}, {4, 2, 2}, {8, 1, 1}};
  for (const Case& c : cases) {
    SampleBank bank;
    ChartOptions o;
    o.level = c.level;
    const Chart chart = BuildChart(SixteenthLine(), 4, tempo, bank, o);
    ASSERT_FALSE(chart.chipSteps.empty());
    EXPECT_EQ(chart.record.ChipTotal, CountChipSteps(chart.record));
    EXPECT_EQ(static_cast<int>(chart.chipSteps.size()), 64 / std::max(c.grid, c.minGap)) << c.level;
    for (size_t i = 0; i < chart.chipSteps.size(); ++i) {
      const int s = chart.chipSteps[i];
      EXPECT_EQ(s % c.grid, 0);
      if (i > 0) {
        EXPECT_GE(s - chart.chipSteps[i - 1], c.minGap);
      }
      const int16_t lane = chart.record.StepWords[static_cast<size_t>(s)];
      EXPECT_TRUE(lane >= 1 && lane <= 4);
      const int16_t sound = chart.record.ChipSounds[static_cast<size_t>(s) * 4];
      EXPECT_TRUE(sound >= 0 && sound < chart.record.SoundCount);
    }
    const auto& words = chart.record.StepWords;
    EXPECT_EQ(std::count_if(words.begin(), words.end(), [](int16_t w) { return w != 0; }), chart.record.ChipTotal);
  }
}

TEST(ChartTest, EveryChipCarriesItsPartsPan) {
  // The stage applies the chip's own pan word as the chip starts, over the sound's.
  const TempoMap tempo({{0, 120}});
  for (const int pan : {-3000, 0, 2500, 10000}) {
    SampleBank bank;
    PartMusic music = SixteenthLine();
    music.pan = pan;
    const Chart chart = BuildChart(music, 4, tempo, bank, ChartOptions{});
    ASSERT_FALSE(chart.chipSteps.empty());
    for (const int s : chart.chipSteps) {
      EXPECT_EQ(chart.record.ChipWordsC[static_cast<size_t>(s) * 4], pan) << "step " << s;
    }
    for (const int32_t soundPan : chart.record.SoundPan) EXPECT_EQ(soundPan, pan);
  }
  // The band is spread across the field: parts on both sides.
  SongPlan plan = AllSongPlans().front();
  Compose(plan);
  int left = 0;
  int right = 0;
  for (const PartMusic& part : plan.parts) {
    left += part.pan < 0 ? 1 : 0;
    right += part.pan > 0 ? 1 : 0;
  }
  EXPECT_GE(left, 2);
  EXPECT_GE(right, 2);
}

TEST(ChartTest, SparseChartsStillSoundEveryNote) {
  // A level-1 chip carries the notes up to the next chip, so no note is lost.
  const TempoMap tempo({{0, 120}});
  SampleBank sparse, dense;
  ChartOptions low, high;
  low.level = 1;
  high.level = 8;
  const Chart a = BuildChart(SixteenthLine(), 4, tempo, sparse, low);
  const Chart b = BuildChart(SixteenthLine(), 4, tempo, dense, high);
  auto energy = [](const Chart& c, const SampleBank& bank) {
    double e = 0;
    for (int idx : c.chipSamples)
      for (float s : bank.Sample(idx)) e += static_cast<double>(s) * s;
    return e;
  };
  EXPECT_NEAR(energy(a, sparse) / energy(b, dense), 1.0, 0.25);
  EXPECT_GT(MeasureLevel(b, tempo, 4), MeasureLevel(a, tempo, 4));
}

TEST(ComposerTest, SongsAreDeterministicAndMelodiesStayInKey) {
  for (SongPlan plan : AllSongPlans()) {
    SongPlan again = plan;
    Compose(plan);
    Compose(again);
    const std::vector<int> scale = plan.minor ? std::vector<int>{0, 2, 3, 5, 7, 8, 10, 11}
                                              : std::vector<int>{0, 2, 4, 5, 7, 9, 11};
    for (size_t p = 0; p < 10; ++p) {
      ASSERT_EQ(plan.parts[p].notes.size(), again.parts[p].notes.size()) << plan.title;
      EXPECT_FALSE(plan.parts[p].notes.empty()) << plan.title << " part " << p;
      if (p != 5 && p != 7) continue;  // tunes: every note belongs to the key
      for (const NoteEvent& n : plan.parts[p].notes) {
        const int pc = ((n.midi - plan.keyRoot) % 12 + 12) % 12;
        EXPECT_TRUE(std::find(scale.begin(), scale.end(), pc) != scale.end()) << plan.title << " " << n.midi;
      }
      for (const NoteEvent& n : plan.parts[p].notes) EXPECT_LT(n.step, plan.bars * 16);
    }
  }
}

}  // namespace
}  // namespace tessaru::gen

namespace tessaru::gen {
namespace {

TEST(IconTest, EverySizeIsARoundedTileShowingTheFourLanesAndReadsBack) {
  for (const int size : kIconSizes) {
    const std::vector<uint8_t> rgba = DrawIcon(size);
    ASSERT_EQ(rgba.size(), static_cast<size_t>(size) * size * 4);
    const auto alpha = [&](int x, int y) { return rgba[(static_cast<size_t>(y) * size + x) * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0), 0) << size;
    EXPECT_EQ(alpha(size - 1, size - 1), 0) << size;
    EXPECT_EQ(alpha(size / 2, size / 2), 255) << size;
    EXPECT_EQ(alpha(size / 2, size / 20 + 1), 255) << size << ": the tile reaches near the edge";
    // Each lane colour is clearly there, even at the smallest size.
    for (int lane = 1; lane <= 4; ++lane) {
      const Rgb want = palette::kLanes[lane];
      bool seen = false;
      for (size_t i = 0; i < rgba.size() && !seen; i += 4) {
        seen = rgba[i + 3] == 255 && std::abs(rgba[i] - want.r) + std::abs(rgba[i + 1] - want.g) +
                                             std::abs(rgba[i + 2] - want.b) < 24;
      }
      EXPECT_TRUE(seen) << size << " lane " << lane;
    }
    const std::string path = std::string(TESSARU_SCRATCH) + "/icon" + std::to_string(size) + ".png";
    ASSERT_TRUE(WriteIconPng(path, size));
    const std::optional<platform::IconPixels> back = platform::ReadIconPng(path);
    ASSERT_TRUE(back.has_value()) << size;
    EXPECT_EQ(back->Size, size);
    EXPECT_EQ(back->Rgba, rgba) << size;
  }
}

}  // namespace
}  // namespace tessaru::gen
