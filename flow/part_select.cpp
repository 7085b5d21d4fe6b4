#include "flow/part_select.h"

#include <algorithm>
#include <string>

#include "core/numbers.h"
#include "core/paths.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"

namespace tessaru {
namespace {

constexpr const int (&kPanelX)[2] = menu_layout::kPanelX;
constexpr int kListY = 176;
constexpr int kListRow = 28;
constexpr uint32_t kHoldMs = 700;

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

std::string PartName(const Game& game, int part) {
  if (part < 0 || static_cast<size_t>(part) >= game.Parts.size()) return "-";
  const std::string& name = game.Parts[static_cast<size_t>(part)].Name;
  return name.empty() ? "PART " + NumberText(int64_t{part + 1}) : name.substr(0, 11);
}

int16_t PartLevel(const Game& game, int part) {
  if (part < 0 || static_cast<size_t>(part) >= game.Parts.size()) return 0;
  return std::clamp<int16_t>(game.Parts[static_cast<size_t>(part)].PartLevel, 0, 8);
}

}  // namespace

int16_t ComputerPart(int16_t confirmedPart, int16_t otherSidePart, Random& rng) {
  const int group = confirmedPart >= 4 && confirmedPart < kSelectableParts ? 1 : 0;
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
  if (game.Settings.SELCOM == 0 && computer[0] && computer[1]) {
    st.PlayerPart[0] = static_cast<int16_t>(game.Rng.Draw(kSelectableParts));
    st.PlayerPart[1] = static_cast<int16_t>(game.Rng.Draw(kSelectableParts));
    return 1;
  }

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

  // Who picks: the humans, each with their own buttons (a lone human with either side's);
  // with SELCOM the computer sides are then picked by hand too.
  std::array<bool, 2> picking{!computer[0], !computer[1]};
  std::array<bool, 2> settled{false, false};
  std::array<int, 2> cursor{std::clamp<int>(st.PlayerPart[0], 0, 7), std::clamp<int>(st.PlayerPart[1], 0, 7)};
  int16_t result = 0;
  uint32_t doneAt = 0;

  ScreenFrame frame(game);
  for (;;) {
    if (result == 1 && frame.Now() - doneAt >= kHoldMs) break;
    const MenuButtons& b = frame.Poll();
    const bool lone = picking[0] != picking[1];
    for (int p = 0; p < 2; ++p) {
      const size_t i = static_cast<size_t>(p);
      if (!picking[i] || settled[i]) continue;
      const SideButtons in = lone ? Merge(b.Side[0], b.Side[1]) : b.Side[i];
      if (in.Up || in.Left) {
        cursor[i] = (cursor[i] + kSelectableParts - 1) % kSelectableParts;
        PlayMenuSound(game, kCursorSound);
      } else if (in.Down || in.Right) {
        cursor[i] = (cursor[i] + 1) % kSelectableParts;
        PlayMenuSound(game, kCursorSound);
      }
      if (in.Decide && !frame.Leaving()) {
        settled[i] = true;
        st.PlayerPart[i] = static_cast<int16_t>(cursor[i]);
        PlayMenuSound(game, kDecideSound);
        const std::string voice = "\\sound\\voice" + NumberText(int64_t{cursor[i]}) + "-1.wav";
        voices[i] = LoadScreenSound(game, voice);
        if (voices[i] >= 0) game.Sound.PlaySound(voices[i], true, false);
      }
    }
    const bool humansDone = (!picking[0] || settled[0]) && (!picking[1] || settled[1]);
    if (result == 1) {
      // Held on the final choice for a moment, so the character's voice is heard.
    } else if (humansDone && game.Settings.SELCOM != 0 && !(picking[0] && picking[1])) {
      // The computer sides, one at a time, by hand.
      for (int p = 0; p < 2; ++p) {
        if (!picking[static_cast<size_t>(p)]) {
          picking[static_cast<size_t>(p)] = true;
          break;
        }
      }
    } else if (humansDone) {
      const int16_t confirmed = settled[0] ? st.PlayerPart[0] : st.PlayerPart[1];
      for (int p = 0; p < 2; ++p) {
        const size_t i = static_cast<size_t>(p);
        if (!settled[i]) st.PlayerPart[i] = ComputerPart(confirmed, st.PlayerPart[1 - i], game.Rng);
      }
      result = 1;
      doneAt = frame.Now();
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
        const int part = settled[i] || result == 1 ? st.PlayerPart[i] : cursor[i];
        const std::string head = std::string(p == 0 ? "1P " : "2P ") + (computer[i] ? "COM" : "PLAYER");
        g.DrawSystemText(BackIndex, head, x + 16, 72, 1);
        const bool undecided = !picking[i] && result == 0;
        if (undecided) {
          // A computer side chooses once the humans have.
          g.DrawSystemText(BackIndex, "WAITING", x + 32, kListY, 1);
          continue;
        }
        const BltArea strip = menu_layout::NameStrip(part);
        if (tags >= 0) g.BltStretchClip(BackIndex, tags, x + 6, 100, 288, 29, strip.X, strip.Y, strip.W, strip.H, 1);
        if (instruments >= 0) {
          g.BltStretchClip(BackIndex, instruments, x + 6, 132, 288, 29, strip.X, strip.Y, strip.W, strip.H, 1);
        }
        if (settled[i] || result == 1) {
          g.DrawSystemText(BackIndex, PartName(game, part), x + 32, kListY, 1);
          g.DrawSystemText(BackIndex, "OK!", x + 32, kListY + 2 * kListRow, 1);
          continue;
        }
        for (int k = 0; k < kSelectableParts; ++k) {
          const int y = kListY + k * kListRow;
          g.DrawSystemText(BackIndex, PartName(game, k), x + 32, y, 1);
          g.DrawSystemText(BackIndex, "LV" + NumberText(int64_t{PartLevel(game, k)}), x + 232, y, 1);
          if (k == cursor[i] && frame.Blink() == 0) g.DrawSystemText(BackIndex, ">", x + 12, y, 1);
        }
      }
      g.DrawSystemText(BackIndex, "ENTER:DECIDE  F1:BACK", 152, 440, 1);
      frame.Show();
    }
    if (result == 0 && frame.Leaving()) {
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
