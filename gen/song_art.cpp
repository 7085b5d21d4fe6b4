#include "gen/song_art.h"

#include <cmath>

#include "content/bga_file.h"
#include "gen/art.h"
#include "gen/palette.h"
#include "layout/menu_layout.h"

namespace tessaru::gen {
namespace {

using namespace palette;

// The one thing each scene is about, drawn in the middle distance.
void Motif(Canvas& c, Style style, double s, uint32_t seed) {
  const int w = c.Width(), h = c.Height();
  switch (style) {
    case Style::Pop: Glow(c, w * 0.5, h * 0.72, 90 * s, kAmber, 1.0); c.FillCircle(w * 0.5, h * 0.72, 40 * s, kAmber); break;
    case Style::Funk:
      for (int i = 0; i < 3; ++i) {
        const double x = w * (0.25 + 0.25 * i), y = h * (0.3 + 0.1 * (i % 2));
        c.FillPolygon({{x - 30 * s, y}, {x + 30 * s, y - 8 * s}, {x - 10 * s, y + 12 * s}}, kWhite);
        c.FillPolygon({{x - 10 * s, y + 12 * s}, {x + 30 * s, y - 8 * s}, {x - 4 * s, y + 20 * s}}, kPaleText);
      }
      break;
    case Style::Synthwave:
      c.FillCircle(w * 0.5, h * 0.6, 70 * s, kCoral);
      for (int i = 0; i < 6; ++i) c.FillRect(0, static_cast<int>(h * 0.6 + i * 9 * s), w, static_cast<int>(3 + i * s), kDusk);
      for (int i = -10; i <= 10; ++i) c.Line(w * 0.5, h * 0.7, w * 0.5 + i * 60 * s, h, 1.5, kMint);
      for (int i = 0; i < 6; ++i) c.FillRect(0, static_cast<int>(h * 0.7 + std::pow(i / 6.0, 2) * h * 0.3), w, 1, kMint);
      break;
    case Style::Ska: Water(c, static_cast<int>(h * 0.68), h, kViolet, seed); Glow(c, w * 0.7, h * 0.6, 60 * s, kHorizon, 1); break;
    case Style::Swing:
      for (int i = 0; i < 5; ++i) {
        c.FillCircle(w * (0.15 + 0.18 * i), h * (0.35 + 0.05 * std::sin(i)), 14 * s, Mix(kCoral, kAmber, i / 4.0));
        c.FillCircle(w * (0.15 + 0.18 * i) - 4 * s, h * (0.35 + 0.05 * std::sin(i)) - 4 * s, 4 * s, kWhite);
      }
      break;
    case Style::Chiptune:
      for (int i = 0; i < 3; ++i) {
        const double cx = w * (0.3 + 0.2 * i), cy = h * (0.45 + 0.08 * (i % 2)), r = (30 + 10 * i) * s;
        for (int t = 0; t < 8; ++t) {
          const double a = t * 3.14159 / 4;
          c.FillRect(static_cast<int>(cx + std::cos(a) * r - 5 * s), static_cast<int>(cy + std::sin(a) * r - 5 * s),
                     static_cast<int>(10 * s), static_cast<int>(10 * s), kMint);
        }
        c.FillCircle(cx, cy, r * 0.9, kMint);
        c.FillCircle(cx, cy, r * 0.4, kIndigo);
      }
      break;
    case Style::Rock:
      for (int i = 0; i < 7; ++i) {
        const double x = w * (0.2 + 0.1 * i);
        c.FillPolygon({{x - 18 * s, h * 0.8}, {x, h * (0.55 - 0.05 * (i % 3))}, {x + 18 * s, h * 0.8}}, Mix(kCoral, kAmber, (i % 3) / 2.0));
      }
      break;
    case Style::DrumAndBass:
      for (int b = 0; b < 4; ++b)
        for (int x = 0; x < w; ++x) {
          const double y = h * (0.2 + 0.08 * b) + 20 * s * std::sin(x * 0.02 / s + b);
          c.FillRect(x, static_cast<int>(y), 1, static_cast<int>(10 * s), Mix(kMint, kSky, b / 3.0));
        }
      break;
    case Style::Epic:
      for (int i = 0; i < 9; ++i) {
        const double x = w * (0.1 + 0.1 * i), y = h * (0.25 + 0.2 * std::fabs(std::sin(i * 1.7)));
        Glow(c, x, y, 20 * s, kAmber, 1);
        c.FillRect(static_cast<int>(x - 6 * s), static_cast<int>(y - 8 * s), static_cast<int>(12 * s), static_cast<int>(16 * s), kAmber);
      }
      break;
    case Style::House:
      for (int i = 0; i < 12; ++i) c.Line(w * 0.5, -10, w * (i / 11.0), h * 0.8, 2 * s, Mix(kMint, kSky, i / 11.0));
      break;
    case Style::Ballad:
      c.FillRect(static_cast<int>(w * 0.3), static_cast<int>(h * 0.3), static_cast<int>(w * 0.4), static_cast<int>(h * 0.28), kPaleText);
      c.FrameRect(static_cast<int>(w * 0.3), static_cast<int>(h * 0.3), static_cast<int>(w * 0.4), static_cast<int>(h * 0.28), kCoral, std::max(1, static_cast<int>(3 * s)));
      c.FillRect(static_cast<int>(w * 0.62), static_cast<int>(h * 0.33), static_cast<int>(20 * s), static_cast<int>(24 * s), kCoral);
      break;
    case Style::Breakbeat:
      for (int i = 0; i < 5; ++i) c.FillRect(static_cast<int>(w * (0.1 + 0.18 * i)), static_cast<int>(h * (0.3 + 0.1 * (i % 2))),
                                            static_cast<int>(50 * s), static_cast<int>(50 * s), Mix(kCoral, kMint, i / 4.0));
      break;
  }
}

}  // namespace

Canvas SongScene(const SongPlan& plan, int width, int height) {
  Canvas c(width, height);
  const double s = width / 640.0;
  DuskSky(c, 0, 0, width, height, plan.style == Style::Ballad ? 1.3 : 1.0);
  Stars(c, 0, 0, width, height * 2 / 3, static_cast<int>(160 * s * s + 20), plan.seed);
  Motif(c, plan.style, s, plan.seed);
  if (plan.style == Style::Ska) return c;
  if (plan.index % 2 == 0) Skyline(c, static_cast<int>(height * 0.88), static_cast<int>(110 * s), kSilhouette, plan.seed + 1, s > 0.5);
  else Hills(c, static_cast<int>(height * 0.85), static_cast<int>(24 * s), kSilhouette, plan.seed + 1);
  return c;
}

namespace {

void SetCounts(BgaRecord& b) {
  b.PictureCount = static_cast<int16_t>(b.Pictures.size());
  b.ObjCount = static_cast<int16_t>(b.Objs.size());
  b.AObjCount = static_cast<int16_t>(b.AObjs.size());
  b.ProgCount = static_cast<int16_t>(b.Progs.size());
}

// Sprites of the animation: twinkles, notes, beat rings and the title card.
Canvas SpriteSheet(const SongPlan& plan, Fonts& fonts) {
  Canvas c(512, 256);
  for (int f = 0; f < 4; ++f) {
    const double r = 6 + 6 * std::sin((f + 1) * 3.14159 / 5);
    const int cx = f * 64 + 32;
    c.Line(cx - r * 2, 32, cx + r * 2, 32, 2, kPaleText);
    c.Line(cx, 32 - r * 2, cx, 32 + r * 2, 2, kPaleText);
    c.FillCircle(cx, 32, r * 0.6, kWhite);
  }
  for (int k = 0; k < 4; ++k) NoteGlyph(c, 256 + k * 64 + 16, 8, 44, kLanes[k + 1]);
  for (int f = 0; f < 4; ++f) c.Ring(f * 64 + 32, 96, 10 + f * 6, 5 - f, Mix(kAmber, kCoral, f / 3.0));
  Panel(c, 0, 192, 400, 64, kNight, kAmber, 1.0);
  TextStyle title{30, kWhite, kAmber, kInk, 2, 0};
  fonts.bold.DrawCentered(c, plan.title, 200, 214, title);
  TextStyle genre{14, kMint, kMint, kInk, 1, 0};
  fonts.bold.DrawCentered(c, plan.genre, 200, 242, genre);
  return c;
}

BgaRecord Animation(const SongPlan& plan, double scale, const std::string& back, const std::string& sprites) {
  BgaRecord b;
  b.Objs.clear();
  b.AObjs.clear();
  b.Progs.clear();
  auto S = [&](double v) { return static_cast<int32_t>(std::lround(v * scale)); };
  b.Pictures = {back, sprites};
  auto obj = [&](const char* name, int pic, int x, int y, int w, int h, int keyed) {
    b.Objs.push_back({name, static_cast<int16_t>(pic), S(x), S(y), S(w), S(h), static_cast<int16_t>(keyed)});
  };
  obj("BACK", 0, 0, 0, 640, 480, 0);
  for (int f = 0; f < 4; ++f) obj("TWINKLE", 1, f * 64, 0, 64, 64, 1);
  for (int k = 0; k < 4; ++k) obj("NOTE", 1, 256 + k * 64, 0, 64, 64, 1);
  for (int f = 0; f < 4; ++f) obj("RING", 1, f * 64, 64, 64, 64, 1);
  obj("TITLE", 1, 0, 192, 400, 64, 1);
  obj("TITLE1", 1, 0, 192, 134, 64, 1);
  obj("TITLE2", 1, 0, 192, 267, 64, 1);
  const double beatMs = 60000.0 / plan.tempo.front().bpm;
  // Animated objects: one of each type.
  b.AObjs.push_back({"STILL", 0, {0}});
  b.AObjs.push_back({"TWINKLE", 1, {4, 140, 1, 2, 3, 4, 3, 2}});
  b.AObjs.push_back({"REVEAL", 2, {3, 180, 14, 15, 13}});
  b.AObjs.push_back({"PULSE", 3, {4, static_cast<int32_t>(beatMs / 5), static_cast<int32_t>(beatMs), 9, 10, 11, 12}});
  const double introMs = plan.introBars * 4 * beatMs;
  auto prog = [&](const char* name, int start, int end, int index, int animated, int x1, int y1, int x2, int y2,
                  int line, int swing, int radius, int layer) {
    BgaProg p;
    p.Name = name;
    p.StartTime = start;
    p.ProgA = end;
    p.ProgB = static_cast<int16_t>(index);
    p.ProgC = static_cast<int16_t>(animated);
    p.Q = {layer, S(x1), S(y1), S(x2), S(y2), line, swing, S(radius), 0, 0};
    b.Progs.push_back(p);
  };
  prog("BACK", 0, 0, 0, 1, 0, 0, 0, 0, 1000, 1000, 0, 0);
  const int starSpots[6][2] = {{150, 60}, {300, 110}, {470, 40}, {220, 180}, {400, 150}, {560, 100}};
  for (int i = 0; i < 6; ++i)
    prog("STAR", i * 90, 0, 1, 1, starSpots[i][0], starSpots[i][1], starSpots[i][0], starSpots[i][1], 1000, 1000, 0, 1);
  for (int i = 0; i < 4; ++i) {
    const int x = 170 + i * 90;
    prog("NOTE", static_cast<int>(introMs) + i * 1300, 0, 5 + i, 0, x, 480, x + 20, -64, 7000 + i * 700,
         2600 + i * 300, 18, 2);
  }
  prog("PULSE", static_cast<int>(introMs), 0, 3, 1, 288, 300, 288, 300, 1000, 1000, 0, 1);
  prog("TITLE", 0, static_cast<int>(introMs + 2500), 2, 1, 120, 60, 120, 60, 1000, 2000, 6, 3);
  SetCounts(b);
  return b;
}

Canvas LessonSheet(Fonts& fonts) {
  Canvas c(640, 480);
  const char* lessons[7] = {"WELCOME! PLAY ON THE LINE", "LANE 1 : PRESS Z",      "LANES 1 AND 2 : Z  X",
                            "ALL FOUR LANES : Z X C V",  "NOW PLAY THE BASS LINE!", "FASTER! KEEP THE GROOVE",
                            "GREAT JOB!"};
  for (int i = 0; i < 7; ++i) {
    Panel(c, 0, i * 64, 400, 56, kNight, kCoral, 1.0);
    TextStyle t{24, kWhite, kAmber, kInk, 2, 0};
    fonts.bold.DrawCentered(c, lessons[i], 200, i * 64 + 28, t);
  }
  return c;
}

}  // namespace

void WriteSongArt(const SongPlan& plan, DataWriter& out, const std::string& folder) {
  Fonts fonts;
  // Jacket: the scene with the title over it.
  constexpr int kSize = menu_layout::kJacketSize;
  Canvas jacket = SongScene(plan, kSize, kSize);
  TextStyle t{fonts.bold.FitSize(plan.title, 148, 40, 24), kWhite, kAmber, kInk, 2, 0};
  fonts.bold.DrawCentered(jacket, plan.title, kSize / 2, kSize * 4 / 5, t);
  jacket.FrameRect(0, 0, kSize, kSize, kAmber, 2);
  out.Image(folder + plan.folder + ".bmp", jacket);

  const Canvas back = SongScene(plan, 640, 480);
  const Canvas sprites = SpriteSheet(plan, fonts);
  out.Image(folder + "back.bmp", back);
  out.Image(folder + "sprites.bmp", sprites);
  out.Image(folder + "backs.bmp", back.Half());
  out.Image(folder + "spritess.bmp", sprites.Half());
  out.Text(folder + plan.folder + ".zxb", EncodeBgaFile(Animation(plan, 1.0, "back.bmp", "sprites.bmp")));
  out.Text(folder + plan.folder + "s.zxb", EncodeBgaFile(Animation(plan, 0.5, "backs.bmp", "spritess.bmp")));

  if (plan.index == 0) {
    // The tutorial's animation shows each lesson while it is played.
    const Canvas lessons = LessonSheet(fonts);
    out.Image(folder + "lesson.bmp", lessons);
    BgaRecord b = Animation(plan, 1.0, "back.bmp", "sprites.bmp");
    b.Pictures.push_back("lesson.bmp");
    const int bounds[8] = {0, 2, 10, 18, 26, 42, 58, 62};
    const double barMs = 4 * 60000.0 / 140.0;
    for (int i = 0; i < 7; ++i) {
      b.Objs.push_back({"LESSON", 2, 0, i * 64, 400, 56, 1});
      BgaProg p;
      p.Name = "LESSON";
      p.StartTime = static_cast<int32_t>(bounds[i] * barMs);
      p.ProgA = static_cast<int32_t>(bounds[i + 1] * barMs);
      p.ProgB = static_cast<int16_t>(b.Objs.size() - 1);
      p.ProgC = 0;
      p.Q = {4, 120, 400, 120, 400, 1000, 1000, 0, 0, 0};
      b.Progs.push_back(p);
    }
    SetCounts(b);
    out.Text(folder + "tutorial.zxb", EncodeBgaFile(b));
  }
}

}  // namespace tessaru::gen
