#include "gen/data_sets.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "content/dance_file.h"
#include "core/file_access.h"
#include "gen/art.h"
#include "gen/characters.h"
#include "gen/palette.h"
#include "gen/roster.h"
#include "gen/sheets.h"
#include "gen/song_writer.h"
#include "gen/sounds.h"
#include "layout/config_layout.h"
#include "layout/launcher_layout.h"
#include "layout/menu_layout.h"
#include "layout/play_layout.h"
#include "layout/results_layout.h"

namespace tessaru::gen {

using namespace palette;

namespace {

Canvas TitleBack(int n) {
  Canvas c(640, 480);
  DuskSky(c, 0, 0, 640, 480, 1.0 + 0.15 * n);
  Stars(c, 0, 0, 640, 320, 260, 10u + static_cast<uint32_t>(n));
  if (n == 0) Skyline(c, 430, 150, kSilhouette, 21, true);
  if (n == 1) {
    Glow(c, 470, 330, 110, kHorizon, 1.0);
    Hills(c, 420, 30, kSilhouette, 22);
  }
  if (n == 2) {
    Glow(c, 320, 360, 120, kCoral, 0.8);
    Water(c, 360, 480, kViolet, 23);
  }
  return c;
}

// The logo stays inside the band the title screen cuts from it.
Canvas Logo(Fonts& fonts) {
  Canvas c(640, 480);
  for (int l = 1; l <= 4; ++l) c.RoundRect(150 + (l - 1) * 88, 70, 76, 12, 5, kLanes[l]);
  TextStyle t{96, kWhite, kAmber, kInk, 4, 4};
  fonts.bold.DrawCentered(c, "TESSARU", 320, 150, t);
  TextStyle sub{18, kMint, kMint, kInk, 1, 0};
  fonts.bold.DrawCentered(c, "FOUR LANES  -  TWO PLAYERS  -  ONE SONG", 320, 222, sub);
  return c;
}

// The prompt blinks and the credit stays: each lies inside its own band.
Canvas TitleLayer2(Fonts& fonts) {
  using namespace menu_layout;
  Canvas c(640, 480);
  TextStyle t{22, kWhite, kPaleText, kInk, 2, 0};
  fonts.bold.DrawCentered(c, "PRESS ENTER", 320, kTitlePrompt.Y + kTitlePrompt.H / 3, t);
  TextStyle small{12, kPaleText, kPaleText, kInk, 1, 0};
  fonts.plain.DrawCentered(c, "TESSARU SOUND TEAM", 320, kTitleCredit.Y + kTitleCredit.H * 2 / 5, small);
  return c;
}

Canvas Wallpaper(bool versus) {
  Canvas c(640, 480);
  c.VerticalGradient(0, 0, 640, 480, kNight, kIndigo);
  for (int x = 0; x < 640; x += 32) c.FillRect(x, 0, 1, 480, Rgb{30, 26, 74});
  for (int y = 0; y < 480; y += 32) c.FillRect(0, y, 640, 1, Rgb{30, 26, 74});
  Stars(c, 0, 0, 640, 480, 120, versus ? 31u : 32u);
  if (versus) {
    c.FillPolygon({{0, 0}, {360, 0}, {280, 480}, {0, 480}}, Shade(kCoral, 0.35));
    c.FillPolygon({{360, 0}, {640, 0}, {640, 480}, {280, 480}}, Shade(kSky, 0.3));
    c.Line(360, 0, 280, 480, 6, kAmber);
  } else {
    for (int i = 0; i < 10; ++i) NoteGlyph(c, 40 + i * 62, 60 + (i * 97) % 360, 26, Rgb{52, 44, 112});
  }
  return c;
}

Canvas Banner(Fonts& fonts, const char* text, Rgb accent) {
  Canvas c(menu_layout::kBanner.W, menu_layout::kBanner.H);
  c.FillRect(0, 0, 640, 48, Rgb{24, 20, 62});
  c.FillRect(0, 48, 640, 3, accent);
  TextStyle t{26, kWhite, accent, kInk, 2, 0};
  if (text[0]) fonts.bold.Draw(c, text, 20, 34, t);
  return c;
}

Canvas SidePanels() {
  using namespace menu_layout;
  Canvas c(640, 480);
  const int height = kSidePanels.H - 8;
  Panel(c, kPanelX[0], kSidePanels.Y, kPanelWidth, height, kNight, kCoral, 0.9);
  Panel(c, kPanelX[1], kSidePanels.Y, kPanelWidth, height, kNight, kSky, 0.9);
  return c;
}

// The records screens scroll this sideways, so its left and right edges join up.
Canvas RankBack() {
  Canvas c(640, 480);
  c.VerticalGradient(0, 0, 640, 480, kNight, Shade(kViolet, 0.55));
  for (int x = -480; x < 640; x += 80) {
    c.FillPolygon({{x, 480}, {x + 36, 480}, {x + 516, 0}, {x + 480, 0}}, Rgb{30, 24, 80});
  }
  Stars(c, 8, 0, 624, 480, 150, 71u);
  for (int i = 0; i < 8; ++i) NoteGlyph(c, 24 + i * 80, 40 + (i * 131) % 400, 24, Rgb{62, 50, 134});
  return c;
}

// The title band, then the pieces the records screens cut from the same picture.
Canvas RankingSheet(Fonts& fonts) {
  using namespace results_layout;
  Canvas c(640, kAccentLine.Y + kAccentLine.H);
  TextStyle t{60, kWhite, kAmber, kInk, 3, 3};
  fonts.bold.DrawCentered(c, "RANKING", 320, kTitle.H / 2, t);
  c.FillRect(120, 86, 400, 3, kCoral);
  const Rgb sides[2] = {kCoral, kSky};
  for (int p = 0; p < 2; ++p) {
    const BltArea& a = kCursor[p];
    c.FrameRect(a.X, a.Y, a.W, a.H, kInk, 5);
    c.FrameRect(a.X + 1, a.Y + 1, a.W - 2, a.H - 2, sides[p], 3);
    c.FrameRect(a.X + 2, a.Y + 2, a.W - 4, a.H - 4, Mix(sides[p], kWhite, 0.5), 1);
  }
  c.FillRect(kSlotBar.X, kSlotBar.Y, kSlotBar.W, kSlotBar.H, kInk);
  c.FillRect(kSlotBar.X + 1, kSlotBar.Y + 1, kSlotBar.W - 2, kSlotBar.H - 2, kPaleText);
  c.FillRect(kSlotBarLit.X, kSlotBarLit.Y, kSlotBarLit.W, kSlotBarLit.H, kInk);
  c.FillRect(kSlotBarLit.X + 1, kSlotBarLit.Y + 1, kSlotBarLit.W - 2, kSlotBarLit.H - 2, kAmber);
  const std::pair<BltArea, const char*> keys[2] = {{kDeleteKey, "DEL"}, {kEndKey, "END"}};
  for (const auto& [a, label] : keys) {
    c.RoundRect(a.X + 2, a.Y + 6, a.W - 4, a.H - 12, 6, kInk);
    c.RoundRect(a.X + 3, a.Y + 7, a.W - 6, a.H - 14, 5, Rgb{60, 52, 120});
    TextStyle k{15, kWhite, kAmber, kInk, 1, 0};
    fonts.bold.DrawCentered(c, label, a.X + a.W / 2, a.Y + a.H / 2, k);
  }
  c.VerticalGradient(kRowGround.X, kRowGround.Y, kRowGround.W, kRowGround.H, kNight, Shade(kIndigo, 0.7));
  c.HorizontalGradient(kAccentLine.X, kAccentLine.Y, kAccentLine.W, kAccentLine.H, kCoral, kAmber);
  return c;
}

const char* kRankNames[29] = {
    "NEWCOMER", "LISTENER", "HUMMER",   "TAPPER",    "CLAPPER",   "STOMPER",  "BUSKER",   "ROOKIE",
    "PLAYER",   "GROOVER",  "JAMMER",   "RHYTHMIST", "SIDEMAN",   "SESSION",  "BANDMATE", "SOLOIST",
    "HEADLINER","VIRTUOSO", "MAESTRO",  "STAR",      "SUPERSTAR", "ICON",     "LEGEND",   "MYTH",
    "AURORA",   "COMET",    "NOVA",     "GALAXY",    "TESSARU"};

Canvas RankPicture(int i, Fonts& fonts) {
  Canvas c(200, 120);
  const Rgb medal = i < 10 ? Rgb{190, 120, 80} : i < 20 ? Rgb{200, 200, 220} : kAmber;
  c.FillCircle(100, 50, 42, kInk);
  c.FillCircle(100, 50, 39, medal);
  c.FillCircle(100, 50, 30, Shade(medal, 0.75));
  TextStyle n{30, kWhite, kWhite, kInk, 2, 0};
  fonts.bold.DrawCentered(c, std::to_string(i + 1), 100, 50, n);
  TextStyle t{fonts.bold.FitSize(kRankNames[i], 190, 20, 18), kWhite, kAmber, kInk, 1, 0};
  fonts.bold.DrawCentered(c, kRankNames[i], 100, 106, t);
  return c;
}

// The keyboard picture: a US layout; positions of the key caps go to keyboard.zxt.
struct KeyCap {
  int vk;
  const char* label;
  double x, y, w;
};

std::vector<KeyCap> KeyboardLayout() {
  std::vector<KeyCap> keys;
  auto row = [&](double x, double y, const char* labels, const std::vector<int>& vks) {
    for (size_t i = 0; i < vks.size(); ++i) keys.push_back({vks[i], "", x + static_cast<double>(i), y, 1});
    (void)labels;
  };
  row(0, 0, "", {0x1B});
  for (int f = 0; f < 12; ++f) keys.push_back({0x70 + f, "", 2.0 + f + f / 4 * 0.5, 0, 1});
  row(0, 1.3, "", {0xC0, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x30, 0xBD, 0xBB});
  keys.push_back({0x08, "", 13, 1.3, 2});
  keys.push_back({0x09, "", 0, 2.3, 1.5});
  row(1.5, 2.3, "", {0x51, 0x57, 0x45, 0x52, 0x54, 0x59, 0x55, 0x49, 0x4F, 0x50, 0xDB, 0xDD, 0xDC});
  keys.push_back({0x14, "", 0, 3.3, 1.75});
  row(1.75, 3.3, "", {0x41, 0x53, 0x44, 0x46, 0x47, 0x48, 0x4A, 0x4B, 0x4C, 0xBA, 0xDE});
  keys.push_back({0x0D, "", 12.75, 3.3, 2.25});
  keys.push_back({0xA0, "", 0, 4.3, 2.25});
  row(2.25, 4.3, "", {0x5A, 0x58, 0x43, 0x56, 0x42, 0x4E, 0x4D, 0xBC, 0xBE, 0xBF});
  keys.push_back({0xA1, "", 12.25, 4.3, 2.75});
  keys.push_back({0xA2, "", 0, 5.3, 1.5});
  keys.push_back({0xA4, "", 2.5, 5.3, 1.5});
  keys.push_back({0x20, "", 4, 5.3, 6});
  keys.push_back({0xA5, "", 10, 5.3, 1.5});
  keys.push_back({0xA3, "", 13.5, 5.3, 1.5});
  row(15.5, 1.3, "", {0x2D, 0x24, 0x21});
  row(15.5, 2.3, "", {0x2E, 0x23, 0x22});
  keys.push_back({0x26, "", 16.5, 4.3, 1});
  row(15.5, 5.3, "", {0x25, 0x28, 0x27});
  return keys;
}

std::string KeyLabel(int vk) {
  if ((vk >= 0x30 && vk <= 0x39) || (vk >= 0x41 && vk <= 0x5A)) return std::string(1, static_cast<char>(vk));
  if (vk >= 0x70 && vk <= 0x7B) return "F" + std::to_string(vk - 0x6F);
  switch (vk) {
    case 0x1B: return "ESC"; case 0x08: return "BS"; case 0x09: return "TAB"; case 0x14: return "CAPS";
    case 0x0D: return "ENTER"; case 0xA0: case 0xA1: return "SHIFT"; case 0xA2: case 0xA3: return "CTRL";
    case 0xA4: case 0xA5: return "ALT"; case 0x20: return "SPACE"; case 0xC0: return "`"; case 0xBD: return "-";
    case 0xBB: return "="; case 0xDB: return "["; case 0xDD: return "]"; case 0xDC: return "\\";
    case 0xBA: return ";"; case 0xDE: return "'"; case 0xBC: return ","; case 0xBE: return "."; case 0xBF: return "/";
    case 0x2D: return "INS"; case 0x24: return "HOME"; case 0x21: return "PGUP"; case 0x2E: return "DEL";
    case 0x23: return "END"; case 0x22: return "PGDN"; case 0x26: return "UP"; case 0x25: return "LT";
    case 0x28: return "DN"; case 0x27: return "RT";
    default: return "";
  }
}

constexpr int kKeyUnit = 34;
constexpr int kKeyLeft = 14;
constexpr int kKeyTop = 40;

// Under the keys: the frames KEY CONFIG lays over a key cap (1P, 2P, the key waiting for
// ENTER), black inside so the cap shows through.
void KeyMarkers(Canvas& c) {
  const Rgb colours[3] = {kCoral, kSky, kAmber};
  for (int i = 0; i < 3; ++i) {
    const BltArea& m = config_layout::kKeyMarker[i];
    c.FillRect(m.X, m.Y, m.W, m.H, Rgb{0, 0, 0});
    c.FrameRect(m.X, m.Y, m.W, m.H, colours[i], 3);
    c.FrameRect(m.X + 3, m.Y + 3, m.W - 6, m.H - 6, Shade(colours[i], 0.55), 1);
  }
}

Canvas KeyboardPicture(Fonts& fonts) {
  Canvas c(640, config_layout::kKeyboardImageHeight);
  c.FillRect(0, 0, 640, config_layout::kKeyboardImageHeight, Rgb{0, 0, 0});
  c.FillRect(0, 0, 640, config_layout::kKeyboardPicture.H, Rgb{20, 16, 52});
  KeyMarkers(c);
  for (const KeyCap& k : KeyboardLayout()) {
    const int x = kKeyLeft + static_cast<int>(k.x * kKeyUnit), y = kKeyTop + static_cast<int>(k.y * kKeyUnit);
    const int w = static_cast<int>(k.w * kKeyUnit) - 3;
    c.RoundRect(x, y, w, kKeyUnit - 3, 4, Rgb{60, 52, 120});
    c.FillRect(x + 2, y + kKeyUnit - 7, w - 4, 3, Rgb{40, 34, 90});
    const std::string label = KeyLabel(k.vk);
    TextStyle t{fonts.mono.FitSize(label, w - 4, 14, 13), kWhite, kPaleText, kInk, 1, 0};
    fonts.mono.DrawCentered(c, label, x + w / 2, y + (kKeyUnit - 3) / 2, t);
  }
  return c;
}

std::vector<TextValue> KeyboardTable() {
  std::vector<std::pair<int, int>> pos(257, {-1, -1});
  for (const KeyCap& k : KeyboardLayout()) {
    pos[static_cast<size_t>(k.vk)] = {kKeyLeft + static_cast<int>(k.x * kKeyUnit), kKeyTop + static_cast<int>(k.y * kKeyUnit)};
    // The generic Shift, Ctrl and Alt codes point at the left-hand keys.
    if (k.vk == 0xA0) pos[0x10] = pos[0xA0];
    if (k.vk == 0xA2) pos[0x11] = pos[0xA2];
    if (k.vk == 0xA4) pos[0x12] = pos[0xA4];
  }
  std::vector<TextValue> v;
  for (const auto& [x, y] : pos) {
    v.emplace_back(static_cast<int16_t>(x));
    v.emplace_back(static_cast<int16_t>(y));
  }
  return v;
}

// The boot menu's picture, at the menu's client size: the notice frame covers the top,
// the buttons and their labels sit over the middle, so the scene keeps its detail low.
Canvas BootBack() {
  const auto size = launcher_layout::kBootClient;
  Canvas c(size.Width, size.Height);
  DuskSky(c, 0, 0, size.Width, size.Height, 1.1);
  Stars(c, 0, 0, size.Width, size.Height * 2 / 3, 90, 41);
  Glow(c, size.Width * 0.86, size.Height - 24, 80, kHorizon, 0.8);
  Hills(c, size.Height - 18, 10, kViolet, 43);
  Skyline(c, size.Height, 24, kSilhouette, 42, true);
  return c;
}

}  // namespace

bool WriteGameData(DataWriter& out, const std::vector<SongPlan>& plans) {
  Fonts fonts;
  if (!fonts.Ok()) {
    std::fprintf(stderr, "tessaru-gen: %s %s %s (install fonts-dejavu-core)\n", fonts.mono.Error().c_str(),
                 fonts.bold.Error().c_str(), fonts.plain.Error().c_str());
    return false;
  }
  // Fonts and play sheets.
  out.Image("image/sysfont.bmp", SystemFontImage(fonts));
  out.Image("image/bigfont.bmp", BigFontImage(fonts));
  out.Image("image/chip.bmp", ChipSheet(0));
  out.Image("image/chip_ao.bmp", ChipSheet(1));
  out.Image("image/chip_2c.bmp", ChipSheet(2));
  out.Image("image/chips.bmp", ChipSheet(0, kLowResolution));
  out.Image("image/chip2a.bmp", PlaySheet(fonts));
  out.Image("image/chip2as.bmp", PlaySheet(fonts, kLowResolution));
  const Canvas menu = MenuSheet(fonts);
  out.Image("image/chip2.bmp", menu);
  out.Image("image/chip2s.bmp", menu.Half());
  // Screens.
  for (int n = 0; n < 3; ++n) out.Image("image/titback" + std::to_string(n) + ".bmp", TitleBack(n));
  out.Image("image/tittop1.bmp", Logo(fonts));
  out.Image("image/tittop2.bmp", TitleLayer2(fonts));
  out.Image("image/selback.bmp", Wallpaper(false));
  out.Image("image/selback2.bmp", Wallpaper(true));
  out.Image("image/seltop0.bmp", Banner(fonts, "", kAmber));
  out.Image("image/seltop1.bmp", Banner(fonts, "CHOOSE YOUR PART", kCoral));
  out.Image("image/seltop2.bmp", SidePanels());
  out.Image("image/ranking.bmp", RankingSheet(fonts));
  out.Image("image/rankbg.bmp", RankBack());
  for (int i = 0; i < 29; ++i) out.Image("image/rank" + std::to_string(i) + ".bmp", RankPicture(i, fonts));
  out.Image("image/keyboard.bmp", KeyboardPicture(fonts));
  out.Text("keyboard.zxt", KeyboardTable());
  out.Image("image/bootback.bmp", BootBack());
  // Characters.
  for (int part = 0; part < kShownParts; ++part) out.Image("image/vschar" + std::to_string(part) + ".bmp", Portrait(part, fonts));
  out.Image("image/chartag.bmp", TagStrips(fonts, false));
  out.Image("image/instname.bmp", TagStrips(fonts, true));
  for (int kind = 0; kind < 10; ++kind) out.Image("image/ed" + std::to_string(kind) + ".bmp", EndingPicture(kind, fonts));
  out.Image("image/tryto.bmp", EndingPicture(-1, fonts));
  std::vector<std::string> dances;
  for (int part = 0; part < kShownParts; ++part) {
    const std::string base = "dance" + std::to_string(part);
    const Canvas sheet = DanceSheet(part);
    out.Image("dance/" + base + ".bmp", sheet);
    out.Image("dance/" + base + "s.bmp", sheet.Half());
    out.Text("dance/" + base + ".zxd", DanceValues(base + ".bmp", 1.0));
    out.Text("dance/" + base + "s.zxd", DanceValues(base + "s.bmp", 0.5));
    dances.push_back(base + ".z4d");
  }
  out.Text("dancefn.zxt", EncodeDanceList(dances));
  // Tables.
  std::vector<TextValue> songList{std::string("<KWSONGFILENAME>")};
  for (const SongPlan& p : plans) {
    if (p.index > 10) continue;  // the hidden song is found only by the folder scan
    songList.insert(songList.end(), {SongListPath(p), p.title, p.flag});
  }
  songList.emplace_back(std::string("<EOF>"));
  out.Text("songfn.zxt", songList);
  // Character tours: four songs (numbered from 1) for each of the eight characters.
  std::vector<TextValue> charTours;
  for (int c = 0; c < 8; ++c)
    for (int stage = 0; stage < 4; ++stage)
      charTours.emplace_back(static_cast<int16_t>(stage == 3 ? 9 : stage * 3 + (c + stage) % 3 + 1));
  out.Text("char.zxt", charTours);
  std::vector<TextValue> ranks;
  for (int i = 0; i < 29; ++i) ranks.emplace_back(static_cast<int32_t>(std::lround(60 + 10200.0 * std::pow((i + 1) / 29.0, 1.6))));
  out.Text("rank.zxt", ranks);
  out.Text("ed.zxt", {std::string("THE LAST LANTERN IS LIT."), std::string("THE CITY HUMS YOUR SONG."),
                      std::string(""), std::string("MUSIC, ART AND CODE"), std::string("TESSARU SOUND TEAM"),
                      std::string(""), std::string("THANK YOU FOR PLAYING!"), std::string("<EOF>")});
  WriteSounds(out);
  return true;
}

}  // namespace tessaru::gen
