#include "flow/song_select.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "content/song_file.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "flow/jackets.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"

namespace tessaru {
namespace {

constexpr int kJacket = menu_layout::kJacketSize;
constexpr int kThumb = 64;
constexpr int kThumbGap = 80;
constexpr int kBigX = 240;
constexpr int kBigY = 84;
constexpr int kThumbY = 336;
constexpr size_t kMaxNameChars = 22;

// What the screen shows of one offered song.
struct SongCard {
  int16_t Index = 0;
  std::string Name;
  std::string Composer;
  std::string Genre;
  std::string Tempo;
  int16_t Level = 0;
  JacketCell Jacket;
};

std::string TempoText(const SongRecord& song, double listed) {
  double low = listed;
  double high = listed;
  for (int16_t i = 0; i < song.TempoCount && static_cast<size_t>(i) < song.TempoBpms.size(); ++i) {
    low = std::min(low, song.TempoBpms[static_cast<size_t>(i)]);
    high = std::max(high, song.TempoBpms[static_cast<size_t>(i)]);
  }
  const auto text = [](double bpm) { return NumberText(std::round(bpm * 10.0) / 10.0); };
  return low == high ? text(listed) : text(low) + "/" + text(high);
}

std::vector<SongCard> LoadCards(Game& game, JacketAtlas& jackets, const std::vector<int16_t>& offered) {
  std::vector<SongCard> cards;
  SongRecord header;
  std::vector<PartRecord> noParts;
  for (size_t i = 0; i < offered.size(); ++i) {
    SongCard card;
    card.Index = offered[i];
    const SongList& list = game.Songs;
    if (card.Index < 0 || card.Index >= list.SongCount) continue;
    const size_t s = static_cast<size_t>(card.Index);
    card.Name = list.SongNames[s].substr(0, kMaxNameChars);
    card.Level = list.SongLevels[s];
    if (LoadSongFile(header, noParts, list.SongPaths[s], true)) {
      card.Composer = header.Artist;
      card.Genre = header.Genre;
      card.Tempo = TempoText(header, list.SongBpms[s]);
    } else {
      card.Tempo = NumberText(list.SongBpms[s]);
    }
    card.Jacket = jackets.Add(card.Index);
    cards.push_back(std::move(card));
  }
  return cards;
}

int CenteredX(std::string_view text) { return 320 - static_cast<int>(text.size()) * 8; }

}  // namespace

int16_t SelectSong(Game& game, const std::vector<int16_t>& offered, int stage, int previousCursor,
                   int16_t rapidMode) {
  GraphLib& g = game.Graph;
  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING < 3 ? pages.Load("\\image\\selback.bmp") : -1;
  const SurfaceIndex banner = pages.Load("\\image\\seltop0.bmp");
  const SoundSlot what = LoadScreenSound(game, "\\sound\\what.wav");
  if (what >= 0) game.Sound.PlaySound(what, true, false);
  JacketAtlas jackets(game, pages);
  const std::vector<SongCard> cards = LoadCards(game, jackets, offered);
  const int count = static_cast<int>(cards.size());

  SongCarousel carousel(count, InitialSongCursor(count, previousCursor, game.State.MenuChoice));
  int16_t result = -2;
  ScreenFrame frame(game);
  for (;;) {
    const MenuButtons& b = frame.Poll();
    const bool leftHeld = b.Side[0].LeftHeld || b.Side[1].LeftHeld;
    const bool rightHeld = b.Side[0].RightHeld || b.Side[1].RightHeld;
    if (carousel.Step(frame.Now(), b.AnyLeft(), b.AnyRight(), leftHeld, rightHeld) != 0) {
      PlayMenuSound(game, kCursorSound);
    }
    const bool decide = count > 0 && b.AnyDecide() && !frame.Leaving();
    if (frame.DrawDue() || decide) {
      frame.DrawBackground(back);
      if (banner >= 0) Cut(g, banner, menu_layout::kBanner);
      g.DrawSystemText(BackIndex, "WHAT's YOUR FAVORITE SONG ?", 104, 12, 0);
      if (count > 0) {
        const uint32_t now = frame.Now();
        const int dir = carousel.ScrollDirection(now);
        const int shift = dir == 0 ? 0 : static_cast<int>((1.0 - carousel.ScrollProgress(now)) * kThumbGap) * dir;
        const int cursor = carousel.Cursor();
        // Each song once: a short list shows fewer neighbours rather than repeats.
        const int reach = std::min(4, (count - 1) / 2);
        for (int k = -reach; k <= reach + (count % 2 == 0 && count <= 8 ? 1 : 0); ++k) {
          const SongCard& c = cards[static_cast<size_t>(((cursor + k) % count + count) % count)];
          jackets.Draw(c.Jacket, 320 - kThumb / 2 + k * kThumbGap + shift, kThumbY, kThumb);
        }
        g.DrawSystemText(BackIndex, "^", 312, kThumbY + kThumb + 4, 1);
        const SongCard& c = cards[static_cast<size_t>(cursor)];
        jackets.Draw(c.Jacket, kBigX, kBigY, kJacket);
        g.DrawSystemText(BackIndex, c.Name, CenteredX(c.Name), kBigY + kJacket + 12, 1);
        g.DrawSystemText(BackIndex, "COMPOSER", 16, 176, 1);
        g.DrawSystemText(BackIndex, c.Composer.substr(0, 13), 16, 204, 1);
        g.DrawSystemText(BackIndex, "LEVEL", 514, 176, 1);
        g.DrawSystemText(BackIndex, std::string(static_cast<size_t>(std::clamp<int16_t>(c.Level, 0, 7)), '#'), 514, 204, 1);
        g.DrawSystemText(BackIndex, "GENRE", 40, 278, 1);
        g.DrawSystemText(BackIndex, c.Genre.substr(0, 12), 40, 304, 1);
        g.DrawSystemText(BackIndex, " BPM ", 514, 278, 1);
        g.DrawSystemText(BackIndex, c.Tempo, 514, 304, 1);
      }
      std::string footer = stage < 1 ? "FREE MODE" : "STAGE " + NumberText(int64_t{stage});
      if (rapidMode == 1) footer += "  RAPID";
      g.DrawSystemText(BackIndex, footer, CenteredX(footer), 432, 0);
      if (decide) {
        const SongCard& c = cards[static_cast<size_t>(carousel.Cursor())];
        PlayMenuSound(game, kDecideSound);
        game.State.SongPath = game.Songs.SongPaths[static_cast<size_t>(c.Index)];
        game.State.SongIndex = c.Index;
        if (game.Settings.DRAWING <= 1) g.DrawSystemText(BackIndex, "NOW LOADING", 232, 224, 0);
        g.FlipScreen();
        result = static_cast<int16_t>(carousel.Cursor());
        break;
      }
      frame.Show();
    }
    if (frame.Leaving()) {
      result = frame.LeaveCode(-2);
      break;
    }
  }
  if (what >= 0) game.Sound.ReleaseSound(what);
  return result;
}

}  // namespace tessaru
