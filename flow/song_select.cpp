#include "flow/song_select.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "content/data_files.h"
#include "content/song_file.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "flow/jackets.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"
#include "layout/menu_screens.h"
#include "flow/screen_names.h"

namespace tessaru {
namespace {

constexpr int kJacket = menu_layout::kJacketSize;
constexpr int kJacketsPerPage = 12;  // 4 x 3 cells of a screen page
constexpr size_t kMaxNameChars = 22;

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

std::vector<SongCard> LoadCards(Game& game, ScreenPages& pages, const std::vector<int16_t>& offered) {
  std::vector<SongCard> cards;
  SongRecord header;
  std::vector<PartRecord> noParts;
  SurfaceIndex atlas = -1;
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
    const int slot = static_cast<int>(cards.size()) % kJacketsPerPage;
    if (slot == 0) atlas = game.Graph.NewSurface(0, 0);
    const std::string jacket = StripExtension(list.SongPaths[s]);
    const SurfaceIndex loaded = pages.LoadFull(jacket + ".bmp", false);
    if (loaded >= 0 && atlas >= 0) {
      card.Page = atlas;
      card.X = (slot % 4) * kJacket;
      card.Y = (slot / 4) * kJacket;
      game.Graph.BltClip(atlas, loaded, card.X, card.Y, kJacket, kJacket, 0, 0, 0);
      game.Graph.ReleaseLastSurface();
    } else if (loaded < 0) {
      game.Errors.Add(jacket + ".bmpが見つかりませんでした。");
    }
    cards.push_back(std::move(card));
  }
  return cards;
}

void DrawJacket(GraphLib& g, const SongCard& card, int x, int y, int size) {
  DrawJacketCell(g, JacketCell{card.Page, card.X, card.Y}, x, y, size);
}

int CenteredX(std::string_view text) { return menu_layout::CentredX(static_cast<int>(text.size())); }

}  // namespace

ScreenEvent Update(SongSelectScreen& s, const MenuButtons& b, uint32_t now) {
  const ScreenEvent leave = LeaveEvent(b);
  if (leave != ScreenEvent::None) return leave;
  const bool leftHeld = b.Side[0].LeftHeld || b.Side[1].LeftHeld;
  const bool rightHeld = b.Side[0].RightHeld || b.Side[1].RightHeld;
  const bool moved = s.Carousel.Step(now, b.AnyLeft(), b.AnyRight(), leftHeld, rightHeld) != 0;
  if (!s.Cards.empty() && b.AnyDecide()) return ScreenEvent::Decided;
  return moved ? ScreenEvent::Moved : ScreenEvent::None;
}

void Draw(const SongSelectScreen& s, GraphLib& g, uint32_t now) {
  namespace at = menu_layout::song_select;
  g.DrawSystemText(BackIndex, "WHAT's YOUR FAVORITE SONG ?", at::kHeading.X, at::kHeading.Y, 0);
  const int count = static_cast<int>(s.Cards.size());
  if (count > 0) {
    const int dir = s.Carousel.ScrollDirection(now);
    const int shift = dir == 0 ? 0 : static_cast<int>((1.0 - s.Carousel.ScrollProgress(now)) * at::kThumbGap) * dir;
    const int cursor = s.Carousel.Cursor();
    // Each song once: a short list shows fewer neighbours rather than repeats.
    const int reach = std::min(4, (count - 1) / 2);
    for (int k = -reach; k <= reach + (count % 2 == 0 && count <= 8 ? 1 : 0); ++k) {
      const SongCard& c = s.Cards[static_cast<size_t>(((cursor + k) % count + count) % count)];
      DrawJacket(g, c, 320 - at::kThumb / 2 + k * at::kThumbGap + shift, at::kThumbY, at::kThumb);
    }
    g.DrawSystemText(BackIndex, "^", at::kPointer.X, at::kPointer.Y, 1);
    const SongCard& c = s.Cards[static_cast<size_t>(cursor)];
    DrawJacket(g, c, at::kBig.X, at::kBig.Y, kJacket);
    g.DrawSystemText(BackIndex, c.Name, CenteredX(c.Name), at::kNameY, 1);
    g.DrawSystemText(BackIndex, "COMPOSER", at::kComposerLabel.X, at::kComposerLabel.Y, 1);
    g.DrawSystemText(BackIndex, c.Composer.substr(0, 13), at::kComposer.X, at::kComposer.Y, 1);
    g.DrawSystemText(BackIndex, "LEVEL", at::kLevelLabel.X, at::kLevelLabel.Y, 1);
    g.DrawSystemText(BackIndex, std::string(static_cast<size_t>(std::clamp<int16_t>(c.Level, 0, 7)), '#'),
                     at::kLevel.X, at::kLevel.Y, 1);
    g.DrawSystemText(BackIndex, "GENRE", at::kGenreLabel.X, at::kGenreLabel.Y, 1);
    g.DrawSystemText(BackIndex, c.Genre.substr(0, 12), at::kGenre.X, at::kGenre.Y, 1);
    g.DrawSystemText(BackIndex, " BPM ", at::kBpmLabel.X, at::kBpmLabel.Y, 1);
    g.DrawSystemText(BackIndex, c.Tempo, at::kBpm.X, at::kBpm.Y, 1);
  }
  std::string footer = s.Stage < 1 ? "FREE MODE" : "STAGE " + NumberText(int64_t{s.Stage});
  if (s.Rapid) footer += "  RAPID";
  g.DrawSystemText(BackIndex, footer, CenteredX(footer), at::kFooterY, 0);
}

int16_t SelectSong(Game& game, const std::vector<int16_t>& offered, int stage, int previousCursor,
                   int16_t rapidMode) {
  GraphLib& g = game.Graph;
  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING < 3 ? pages.Load(data_files::kMenuBack) : -1;
  const SurfaceIndex banner = pages.Load(data_files::kMenuBanner);
  const SoundSlot what = LoadScreenSound(game, data_files::kSongSelectCall);
  if (what >= 0) game.Sound.PlaySound(what, true, false);
  std::vector<SongCard> cards = LoadCards(game, pages, offered);
  const int count = static_cast<int>(cards.size());
  SongSelectScreen s{SongCarousel(count, InitialSongCursor(count, previousCursor, game.State.Setup.MenuChoice)),
                     std::move(cards), stage, rapidMode == 1};

  int16_t result = -2;
  ScreenFrame frame(game, screen_name::kSongSelect);
  for (;;) {
    const MenuButtons& b = frame.Poll();  // before Now(): the poll lets time pass
    const ScreenEvent e = Update(s, b, frame.Now());
    PlayEventSound(game, e == ScreenEvent::Decided ? ScreenEvent::None : e);
    // The frame limiter runs every pass; a decision is drawn whatever it says.
    const bool due = frame.DrawDue();
    if (due || e == ScreenEvent::Decided) {
      frame.DrawBackground(back);
      if (banner >= 0) Cut(g, banner, menu_layout::kBanner);
      Draw(s, g, frame.Now());
      if (e == ScreenEvent::Decided) {
        const SongCard& c = s.Cards[static_cast<size_t>(s.Carousel.Cursor())];
        PlayEventSound(game, e);
        game.State.SongPath = game.Songs.SongPaths[static_cast<size_t>(c.Index)];
        game.State.Setup.SongIndex = c.Index;
        namespace at = menu_layout::song_select;
        if (game.Settings.DRAWING <= 1) g.DrawSystemText(BackIndex, "NOW LOADING", at::kLoading.X, at::kLoading.Y, 0);
        g.FlipScreen();
        result = static_cast<int16_t>(s.Carousel.Cursor());
        break;
      }
      frame.Show();
    }
    if (IsLeaving(e)) {
      result = frame.Leave(e, -2);
      break;
    }
  }
  if (what >= 0) game.Sound.ReleaseSound(what);
  return result;
}

}  // namespace tessaru
