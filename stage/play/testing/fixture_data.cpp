#include "stage/play/testing/fixture_data.h"

#include <cmath>
#include <filesystem>

#include "content/bga_file.h"
#include "content/dance_file.h"
#include "content/packed.h"
#include "core/file_access.h"
#include "core/paths.h"
#include "graphics/pixel_ops.h"
#include "layout/play_layout.h"
#include "platform/frame_image.h"
#include "sound/wave_file.h"
#include "stage/play/testing/fixture_art.h"

namespace tessaru::playtest {
namespace {

void MakeFolderFor(const std::string& path) {
  std::filesystem::create_directories(std::filesystem::path(ResolvePath(path)).parent_path());
}

void Image(const std::string& path, const Picture& p) { WritePackedImage(path, p.Width, p.Height, p.Pixels); }

void WriteText(const std::string& path, const std::vector<TextValue>& values) {
  MakeFolderFor(path);
  const auto bytes = PackText(values);
  WriteWholeFileAtomic(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

void WritePackedImage(const std::string& bmpPath, int width, int height, const std::vector<uint16_t>& pixels) {
  MakeFolderFor(bmpPath);
  const std::string plain = ResolvePath(bmpPath) + ".plain.bmp";
  platform::WriteRgb565Bmp(plain, pixels.data(), width, height);
  auto bytes = ReadWholeFile(plain);
  std::filesystem::remove(plain);
  if (bytes) WritePackedFile(ReplaceExtension(bmpPath, ".zxg"), std::move(*bytes));
}

void WriteWave(const std::string& path, int32_t ms, int hz, int rate) {
  MakeFolderFor(path);
  std::vector<int16_t> samples(static_cast<size_t>(int64_t{ms} * rate / 1000));
  for (size_t i = 0; i < samples.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    samples[i] = hz == 0 ? 0 : static_cast<int16_t>(1500 * std::sin(2 * 3.14159265 * hz * t) * std::exp(-t * 8));
  }
  const auto bytes = BuildWave(samples, 1, rate, 16);
  WriteWholeFileAtomic(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void WriteFixtureData(const std::string& data, const FixtureOptions& o) {
  if (o.ChipSheets) {
    for (const char* name : {"chip.bmp", "chip_ao.bmp", "chip_2c.bmp"}) Image(data + "/image/" + name, ChipSheetArt(0));
    Image(data + "/image/chips.bmp", ChipSheetArt(kLowResolution));
  }
  if (o.PlaySheets) {
    Image(data + "/image/chip2a.bmp", PlaySheetArt(0));
    Image(data + "/image/chip2as.bmp", PlaySheetArt(kLowResolution));
  }
  Image(data + "/image/sysfont.bmp", Picture{});
  if (o.Wallpaper) Image(data + "/image/selback.bmp", BackdropArt(640, 480, Rgb565(30, 20, 70), Rgb565(90, 40, 110)));
  if (o.Dances) {
    // One character: two frames of a box figure, idle and groove.
    DanceRecord dance;
    dance.PictureCount = 1;
    dance.Pictures = {"kit.bmp"};
    dance.PatternCount = 2;
    dance.PatternLengths = {1, 2};
    dance.PatternFirst = {0, 1};
    auto frame = [](int32_t duration, int32_t sx, int32_t sy, int32_t dx) {
      DanceFrame f;
      f.Duration = duration;
      f.V1 = sx;
      f.V2 = sy;
      f.V3 = 120;
      f.V4 = 200;
      f.V5 = dx;
      f.V6 = 20;
      return f;
    };
    dance.Frames = {frame(500, 0, 0, 20), frame(250, 120, 0, 10), frame(250, 240, 0, 30)};
    WriteText(data + "/dance/kit.zxd", EncodeDanceFile(dance));
    WriteText(data + "/dance/kits.zxd", EncodeDanceFile(dance));
    WriteText(data + "/dancefn.zxt", EncodeDanceList({"kit.z4d"}));
    const auto boxes = std::vector<std::array<int, 4>>{{0, 0, 120, 200}, {120, 0, 120, 200}, {240, 0, 120, 200}};
    Image(data + "/dance/kit.bmp", SpriteArt(640, 480, boxes, Rgb565(255, 120, 90)));
  }
  if (o.StageSounds) {
    for (const char* name : {"ruready", "okay", "pcount", "continue", "gameover", "goodbye"}) {
      WriteWave(data + "/sound/" + name + ".wav", 200, 660);
    }
    for (int part = 0; part < 3; ++part)
      for (int n = 3; n <= 5; ++n)
        WriteWave(data + "/sound/voice" + std::to_string(part) + "-" + std::to_string(n) + ".wav", 200, 440);
  }
}

FixtureSong WriteFixtureSong(const std::string& data, const SongOptions& o) {
  FixtureSong f;
  const std::string folder = data + "/songs/test";
  f.SongPath = data + "\\songs\\test\\test.z4s";
  SongRecord& s = f.Song;
  s.Title = "TEST";
  s.Bpm = o.Bpm;
  s.Bars = o.Bars;
  s.IntroBars = 0;
  s.TempoCount = 1;
  s.TempoTicks = {0};
  s.TempoBpms = {o.Bpm};
  s.PartCount = 3;
  const int32_t steps = int32_t{o.Bars} * kStepsPerBar;
  const double stepMs = 15000.0 / o.Bpm;
  if (o.TrackMs >= 0) {
    s.Bgm = "bgm.wav";
    WriteWave(folder + "/bgm.wav", o.TrackMs > 0 ? o.TrackMs : static_cast<int32_t>(steps * stepMs) + 1000, 0);
  }
  if (o.Keysounds) {
    WriteWave(folder + "/snd/hit.wav", 120, 880);
    WriteWave(folder + "/snd/bass.wav", 120, 220);
  }
  for (int i = 0; i < 3; ++i) {
    PartRecord p;
    p.Name = "PART" + std::to_string(i);
    p.Bars = o.Bars;
    p.SoundCount = 1;
    p.SoundFiles = {i == 2 ? "snd\\bass.wav" : "snd\\hit.wav"};
    p.SoundPan = {0};
    p.SoundVolume = {0};
    p.StepWords.assign(static_cast<size_t>(steps), 0);
    p.ChipTicks.assign(static_cast<size_t>(steps) * kSlotsPerStep, 0);
    p.ChipSounds.assign(static_cast<size_t>(steps) * kSlotsPerStep, -1);
    p.ChipWordsB.assign(static_cast<size_t>(steps) * kSlotsPerStep, 0);
    p.ChipWordsC.assign(static_cast<size_t>(steps) * kSlotsPerStep, 0);
    auto put = [&](int32_t step, int16_t lane) {
      if (step < 0 || step >= steps) return;
      p.StepWords[static_cast<size_t>(step)] = lane;
      p.ChipSounds[static_cast<size_t>(step) * kSlotsPerStep] = 0;
      ++p.ChipTotal;
    };
    if (i < 2) {
      for (const auto& [step, lane] : o.Chips) put(step, lane);
    } else {
      for (int32_t step = 0; step < steps; step += 4) put(step, static_cast<int16_t>(1 + (step / 4) % 4));
    }
    f.Parts.push_back(std::move(p));
  }
  if (o.Bga) {
    BgaRecord b;
    b.Pictures = {"back.bmp", "sprites.bmp"};
    b.Objs = {{"BACK", 0, 0, 0, 640, 480, 0}, {"STAR", 1, 0, 0, 40, 40, 1}, {"STAR2", 1, 40, 0, 40, 40, 1}};
    BgaAObj twinkle;
    twinkle.Name = "TWINKLE";
    twinkle.AnimType = 1;
    twinkle.A = {2, 250, 1, 2, 0, 0, 0, 0, 0, 0};
    b.AObjs = {twinkle};
    BgaProg back;
    back.Name = "BACK";
    back.Q = {0, 0, 0, 0, 0, 1000, 1000, 0, 0, 0};
    BgaProg star;
    star.Name = "STAR";
    star.ProgB = 0;
    star.ProgC = 1;
    star.Q = {1, 200, 100, 400, 140, 4000, 2000, 30, 0, 0};
    b.Progs = {back, star};
    b.PictureCount = 2;
    b.ObjCount = 3;
    b.AObjCount = 1;
    b.ProgCount = 2;
    WriteText(folder + "/test.zxb", EncodeBgaFile(b));
    Image(folder + "/back.bmp", BackdropArt(640, 480, Rgb565(20, 24, 70), Rgb565(110, 50, 120)));
    Image(folder + "/sprites.bmp", SpriteArt(640, 480, {{0, 0, 40, 40}, {40, 0, 40, 40}}, Rgb565(255, 230, 120)));
  }
  return f;
}

}  // namespace tessaru::playtest
