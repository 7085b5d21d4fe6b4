#include "flow/part_select.h"

#include <algorithm>
#include <map>
#include <string>

#include "content/extension_parts.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"

namespace tessaru {
namespace {

constexpr const int (&kPanelX)[2] = menu_layout::kPanelX;
constexpr int kListY = 136;
constexpr int kListRow = 26;
constexpr int kDetailY = 404;
constexpr uint32_t kHoldMs = 700;
// A settled side's portrait, scaled to fit under its name strips.
constexpr int kPortraitW = 176;
constexpr int kPortraitH = 264;
constexpr int kPortraitY = 166;

bool IsComputer(const FlowState& s, int side) {
  const int16_t skill = s.ComSkill[static_cast<size_t>(side)];
  return skill >= 0 && skill <= 100;
}

SideButtons Merge(const SideButtons& a, const SideButtons& b) {
  SideButtons m = a;
  m.Up = a.Up || b.Up;
  m.Down = a.Down || b.Down;
  m.Left = a.Left || b.Left;
  m.Right = a.Right || b.Right;
  m.Decide = a.Decide || b.Decide;
  return m;
}

const PartRecord* PartAt(const std::vector<PartRecord>& parts, int part) {
  if (part < 0 || static_cast<size_t>(part) >= parts.size()) return nullptr;
  return &parts[static_cast<size_t>(part)];
}

std::string PartName(const std::vector<PartRecord>& parts, int part) {
  const PartRecord* r = PartAt(parts, part);
  if (r == nullptr) return "-";
  return r->Name.empty() ? "PART " + NumberText(int64_t{part + 1}) : r->Name.substr(0, 11);
}

int16_t PartLevel(const std::vector<PartRecord>& parts, int part) {
  const PartRecord* r = PartAt(parts, part);
  return r == nullptr ? int16_t{0} : std::clamp<int16_t>(r->PartLevel, 0, 8);
}

// Only the low two bits name the kind; the rest marks background and extension parts.
char KindLetter(const std::vector<PartRecord>& parts, int part) {
  const PartRecord* r = PartAt(parts, part);
  return static_cast<char>('A' + (r == nullptr ? 0 : (r->Kind & 3)));
}

int CursorOf(const std::vector<int16_t>& offered, int16_t part) {
  const auto it = std::find(offered.begin(), offered.end(), part);
  return it == offered.end() ? 0 : static_cast<int>(it - offered.begin());
}

}  // namespace

std::vector<int16_t> OfferedParts(const PartOffer& offer) {
  std::vector<int16_t> parts;
  for (int16_t p = 0; p < kSelectableParts; ++p) parts.push_back(p);
  const bool open = offer.ExtensionFlag == kExtensionFlagValue && offer.SongIndex >= 0 &&
                    offer.SongIndex < offer.FirstExtraSong;
  if (!open) return parts;
  const int count = std::min<int>(offer.SongFlag, offer.ExtensionCount);
  for (int k = 0; k < count; ++k) parts.push_back(static_cast<int16_t>(offer.FirstExtension + k));
  return parts;
}

int16_t ComputerPart(int16_t confirmedPart, int16_t otherSidePart, Random& rng) {
  // Without the upper bound an extension part (10, 11) would make group 2 and hand the
  // computer a background part or one that is not loaded.
  const int group = confirmedPart >= 4 ? 1 : 0;
  for (;;) {
    const auto part = static_cast<int16_t>(rng.Draw(4) + 4 * group);
    if (part != otherSidePart) return part;
  }
}

int16_t SelectParts(Game& game) {
  FlowState& st = game.State;
  GraphLib& g = game.Graph;
  st.ReplayPlayback = {false, false};
  const std::array<bool, 2> computer{IsComputer(st, 0), IsComputer(st, 1)};
  const bool comByHand = game.Settings.SELCOM != 0;
  if (!comByHand && computer[0] && computer[1]) {
    st.PlayerPart[0] = static_cast<int16_t>(game.Rng.Draw(kSelectableParts));
    st.PlayerPart[1] = static_cast<int16_t>(game.Rng.Draw(kSelectableParts));
    return 1;
  }

  // The extension parts are read into a copy: the song itself is only extended before
  // play, and only when a side takes one of them.
  PartOffer offer;
  offer.ExtensionFlag = game.Records.GameFlags[kExtensionFlag];
  offer.SongIndex = st.SongIndex;
  offer.FirstExtraSong = game.Songs.FirstExtraSong;
  const auto songRow = static_cast<size_t>(st.SongIndex);
  if (st.SongIndex >= 0 && songRow < game.Songs.SongFlags.size()) offer.SongFlag = game.Songs.SongFlags[songRow];
  std::vector<PartRecord> extended;
  if (offer.ExtensionFlag == kExtensionFlagValue && offer.SongFlag > 0 && st.SongIndex < offer.FirstExtraSong) {
    SongRecord song = game.Song;
    extended = game.Parts;
    LoadExtensionParts(song, extended, st.SongPath);
    offer.FirstExtension = game.Song.PartCount;
    offer.ExtensionCount = static_cast<int16_t>(std::max(0, song.PartCount - game.Song.PartCount));
  }
  const std::vector<PartRecord>& parts = offer.ExtensionCount > 0 ? extended : game.Parts;
  const std::vector<int16_t> offered = OfferedParts(offer);
  const int rows = static_cast<int>(offered.size());

  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING < 3 ? pages.Load("\\image\\selback.bmp") : -1;
  const SurfaceIndex banner = pages.Load("\\image\\seltop1.bmp");
  const SurfaceIndex panels = pages.Load("\\image\\seltop2.bmp");
  const SurfaceIndex tags = pages.Load("\\image\\chartag.bmp");
  const SurfaceIndex instruments = pages.Load("\\image\\instname.bmp");
  const std::string jacketPath = StripExtension(st.SongPath) + ".bmp";
  const SurfaceIndex jacket = pages.LoadFull(jacketPath, false);
  const SoundSlot now = LoadScreenSound(game, "\\sound\\now.wav");
  if (now >= 0) game.Sound.PlaySound(now, true, false);
  std::array<SoundSlot, 2> voices{-1, -1};
  // Portraits are loaded the first time a side settles on that character.
  std::map<int, SurfaceIndex> portraits;
  const auto portraitOf = [&](int part) {
    const auto it = portraits.find(part);
    if (it != portraits.end()) return it->second;
    const SurfaceIndex s = pages.Load("\\image\\vschar" + NumberText(int64_t{part}) + ".bmp");
    portraits.emplace(part, s);
    return s;
  };

  // Who picks now: the humans first; on SELECT the computer sides follow, one at a time.
  std::array<bool, 2> picking{!computer[0], !computer[1]};
  std::array<bool, 2> settled{false, false};
  std::array<int, 2> cursor{CursorOf(offered, st.PlayerPart[0]), CursorOf(offered, st.PlayerPart[1])};
  int16_t result = 0;
  uint32_t doneAt = 0;

  const auto settle = [&](size_t i, int16_t part) {
    settled[i] = true;
    st.PlayerPart[i] = part;
    const std::string voice = "\\sound\\voice" + NumberText(int64_t{part}) + "-1.wav";
    if (voices[i] >= 0) game.Sound.ReleaseSound(voices[i]);
    voices[i] = LoadScreenSound(game, voice);
    if (voices[i] >= 0) game.Sound.PlaySound(voices[i], true, false);
    portraitOf(part);
  };

  ScreenFrame frame(game);
  for (;;) {
    if (result == 1 && frame.Now() - doneAt >= kHoldMs) break;
    const MenuButtons& b = frame.Poll();
    const bool bothHuman = !computer[0] && !computer[1];
    for (int p = 0; p < 2; ++p) {
      const size_t i = static_cast<size_t>(p);
      if (!picking[i] || settled[i] || result != 0) continue;
      // Two humans each use their own buttons; otherwise one person picks, with either.
      const SideButtons in = bothHuman ? b.Side[i] : Merge(b.Side[0], b.Side[1]);
      if (in.Up || in.Left) {
        cursor[i] = (cursor[i] + rows - 1) % rows;
        PlayMenuSound(game, kCursorSound);
      } else if (in.Down || in.Right) {
        cursor[i] = (cursor[i] + 1) % rows;
        PlayMenuSound(game, kCursorSound);
      }
      if (in.Decide && !frame.Leaving()) {
        PlayMenuSound(game, kDecideSound);
        settle(i, offered[static_cast<size_t>(cursor[i])]);
      }
    }
    const bool pickersDone = (!picking[0] || settled[0]) && (!picking[1] || settled[1]);
    if (result == 0 && pickersDone) {
      const int waiting = !settled[0] ? 0 : (!settled[1] ? 1 : -1);
      if (waiting >= 0 && comByHand) {
        // The next computer side is picked by hand, from the next pass on, so the press
        // that settled the last side does not settle this one too.
        picking[static_cast<size_t>(waiting)] = true;
      } else {
        const int16_t confirmed = settled[0] ? st.PlayerPart[0] : st.PlayerPart[1];
        for (size_t i = 0; i < 2; ++i) {
          if (!settled[i]) st.PlayerPart[i] = ComputerPart(confirmed, st.PlayerPart[1 - i], game.Rng);
        }
        for (size_t i = 0; i < 2; ++i) portraitOf(st.PlayerPart[i]);
        // Held on the final choice for a moment, so the character's voice is heard.
        result = 1;
        doneAt = frame.Now();
      }
    }

    if (frame.DrawDue()) {
      frame.DrawBackground(back);
      if (panels >= 0) Cut(g, panels, menu_layout::kSidePanels);
      if (banner >= 0) Cut(g, banner, menu_layout::kBanner);
      if (jacket >= 0) {
        const int j = menu_layout::kJacketSize;
        g.BltStretchClip(BackIndex, jacket, 584, 4, 48, 48, 0, 0, j, j, 0);
      }
      for (int p = 0; p < 2; ++p) {
        const size_t i = static_cast<size_t>(p);
        const int x = kPanelX[p];
        const bool done = settled[i] || result == 1;
        const int part = done ? st.PlayerPart[i] : offered[static_cast<size_t>(cursor[i])];
        const std::string head = std::string(p == 0 ? "1P " : "2P ") + (computer[i] ? "COM" : "PLAYER");
        g.DrawSystemText(BackIndex, head, x + 16, 72, 1);
        if (!picking[i] && !done) {
          // A computer side chooses once the humans have.
          g.DrawSystemText(BackIndex, "WAITING", x + 32, kListY + kListRow, 1);
          continue;
        }
        const BltArea strip = menu_layout::NameStrip(part);
        if (tags >= 0) g.BltStretchClip(BackIndex, tags, x + 6, 100, 288, 29, strip.X, strip.Y, strip.W, strip.H, 1);
        if (done) {
          g.DrawSystemText(BackIndex, "OK!", x + 236, 72, 1);
          if (instruments >= 0) {
            g.BltStretchClip(BackIndex, instruments, x + 6, 132, 288, 29, strip.X, strip.Y, strip.W, strip.H, 1);
          }
          const SurfaceIndex face = portraitOf(part);
          if (face >= 0) {
            const BltArea& a = menu_layout::kPortrait;
            g.BltStretchClip(BackIndex, face, x + (menu_layout::kPanelWidth - kPortraitW) / 2, kPortraitY,
                             kPortraitW, kPortraitH, a.X, a.Y, a.W, a.H, 1);
          }
          continue;
        }
        for (int k = 0; k < rows; ++k) {
          const int y = kListY + k * kListRow;
          const int16_t row = offered[static_cast<size_t>(k)];
          g.DrawSystemText(BackIndex, PartName(parts, row), x + 32, y, 1);
          g.DrawSystemText(BackIndex, "LV" + NumberText(int64_t{PartLevel(parts, row)}), x + 232, y, 1);
          if (k == cursor[i] && frame.Blink() == 0) g.DrawSystemText(BackIndex, ">", x + 12, y, 1);
        }
        const std::string kind = std::string("TYPE ") + KindLetter(parts, part);
        g.DrawSystemText(BackIndex, kind, x + 16, kDetailY, 1);
        g.DrawSystemText(BackIndex, std::string(static_cast<size_t>(PartLevel(parts, part)), '#'), x + 136, kDetailY, 1);
      }
      g.DrawSystemText(BackIndex, "ENTER:DECIDE  F1:BACK", 152, 440, 1);
      frame.Show();
    }
    // Also during the hold on the final choice: Esc must end the game from any moment.
    if (frame.Leaving()) {
      result = frame.LeaveCode();
      break;
    }
  }
  for (SoundSlot v : voices) {
    if (v >= 0) game.Sound.ReleaseSound(v);
  }
  if (now >= 0) game.Sound.ReleaseSound(now);
  return result;
}

}  // namespace tessaru
