#include "flow/part_select.h"

#include <algorithm>
#include <map>
#include <string>

#include "content/data_files.h"
#include "content/extension_parts.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"
#include "layout/menu_screens.h"
#include "flow/screen_names.h"

namespace tessaru {
namespace {

bool IsComputer(const StageSetup& s, int side) {
  const int16_t skill = s.ComSkill[side];
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

PartOffer SongPartOffer(const Game& game, SongWithParts& extended) {
  const StageSetup& setup = game.State.Setup;
  PartOffer offer;
  offer.ExtensionFlag = game.Records.GameFlags[kExtensionFlag];
  offer.SongIndex = setup.SongIndex;
  offer.FirstExtraSong = game.Songs.FirstExtraSong;
  const auto songRow = static_cast<size_t>(setup.SongIndex);
  if (setup.SongIndex >= 0 && songRow < game.Songs.SongFlags.size()) offer.SongFlag = game.Songs.SongFlags[songRow];
  if (offer.ExtensionFlag == kExtensionFlagValue && offer.SongFlag > 0 && setup.SongIndex < offer.FirstExtraSong) {
    extended = ExtendedSong(game.Song, game.Parts, game.State.SongPath);
    offer.FirstExtension = game.Song.PartCount;
    offer.ExtensionCount = static_cast<int16_t>(std::max(0, extended.Song.PartCount - game.Song.PartCount));
  }
  return offer;
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

PartSelectScreen MakePartSelectScreen(std::vector<int16_t> offered, PerPlayer<bool> computer, bool comByHand,
                                      PerPlayer<int16_t> previous) {
  PartSelectScreen s;
  s.Offered = std::move(offered);
  s.Computer = computer;
  s.ComByHand = comByHand;
  s.Picking = {!computer[0], !computer[1]};
  s.Part = previous;
  for (int p = 0; p < 2; ++p) s.Cursor[p] = CursorOf(s.Offered, previous[p]);
  return s;
}

PartSelectStep Update(PartSelectScreen& s, const MenuButtons& b, uint32_t now) {
  PartSelectStep step;
  // Also during the hold on the final choice: Esc must end the game from any moment.
  const ScreenEvent leave = LeaveEvent(b);
  if (leave == ScreenEvent::Quit || (leave == ScreenEvent::Back && !s.Dialog.Open)) {
    step.Event = leave;
    return step;
  }
  if (s.Done) {
    if (now - s.DoneAt >= kPartHoldMs) step.Event = ScreenEvent::Decided;
    return step;
  }
  const bool inDialog = s.Dialog.Open;
  if (inDialog) {
    const ReplayDialogResult r = UpdateReplayDialog(s.Dialog, b);
    step.Moved = r.Event == ReplayDialogEvent::Moved;
    if (r.Event == ReplayDialogEvent::Chosen) {
      const int p = r.Side;
      s.ReplayEntry[p] = r.Entry;
      s.Settled[p] = true;
      s.Part[p] = s.Dialog.Entries[static_cast<size_t>(r.Entry)].Part;
      step.SettledNow[p] = true;
    }
  } else if (s.ReplaysOffered && b.Tab) {
    s.Dialog.Open = true;
    step.DialogOpened = true;
    return step;
  }
  const int rows = static_cast<int>(s.Offered.size());
  const bool bothHuman = !s.Computer[0] && !s.Computer[1];
  for (int p = 0; p < 2; ++p) {
    if (inDialog || !s.Picking[p] || s.Settled[p] || rows == 0) continue;
    // Two humans each use their own buttons; otherwise one person picks, with either.
    const SideButtons in = bothHuman ? b.Side[p] : Merge(b.Side[0], b.Side[1]);
    if (in.Up || in.Left) {
      s.Cursor[p] = (s.Cursor[p] + rows - 1) % rows;
      step.Moved = true;
    } else if (in.Down || in.Right) {
      s.Cursor[p] = (s.Cursor[p] + 1) % rows;
      step.Moved = true;
    }
    if (in.Decide) {
      s.Settled[p] = true;
      s.Part[p] = s.Offered[static_cast<size_t>(s.Cursor[p])];
      step.SettledNow[p] = true;
    }
  }
  const bool pickersDone = (!s.Picking[0] || s.Settled[0]) && (!s.Picking[1] || s.Settled[1]);
  if (pickersDone) {
    const int waiting = !s.Settled[0] ? 0 : (!s.Settled[1] ? 1 : -1);
    if (waiting >= 0 && s.ComByHand) {
      // The next computer side is picked by hand, from the next pass on, so the press
      // that settled the last side does not settle this one too.
      s.Picking[waiting] = true;
    } else {
      // Held on the final choice for a moment, so the character's voice is heard.
      step.DrawComputers = true;
      s.Done = true;
      s.DoneAt = now;
    }
  }
  return step;
}

void DrawComputerParts(PartSelectScreen& s, Random& rng) {
  const int16_t confirmed = s.Settled[0] ? s.Part[0] : s.Part[1];
  for (int p = 0; p < 2; ++p) {
    if (!s.Settled[p]) s.Part[p] = ComputerPart(confirmed, s.Part[1 - p], rng);
  }
}

void Draw(const PartSelectScreen& s, const PartSelectPictures& pics, const std::vector<PartRecord>& parts,
          GraphLib& g, int16_t blink) {
  namespace at = menu_layout::part_select;
  if (pics.Panels >= 0) Cut(g, pics.Panels, menu_layout::kSidePanels);
  if (pics.Banner >= 0) Cut(g, pics.Banner, menu_layout::kBanner);
  if (pics.Jacket >= 0) {
    const int j = menu_layout::kJacketSize;
    g.BltStretchClip(BackIndex, pics.Jacket, at::kJacket.X, at::kJacket.Y, at::kJacket.W, at::kJacket.H, 0, 0, j, j, 0);
  }
  for (int p = 0; p < 2; ++p) {
    const int x = menu_layout::kPanelX[p];
    const bool done = s.Settled[p] || s.Done;
    const int part = done ? s.Part[p] : s.Offered[static_cast<size_t>(s.Cursor[p])];
    const char* const who = s.ReplayEntry[p] >= 0 ? "REPLAY" : s.Computer[p] ? "COM" : "PLAYER";
    const std::string head = std::string(p == 0 ? "1P " : "2P ") + who;
    g.DrawSystemText(BackIndex, head, x + at::kHeadX, at::kHeadY, 1);
    if (!s.Picking[p] && !done) {
      // A computer side chooses once the humans have.
      g.DrawSystemText(BackIndex, "WAITING", x + at::kListX, at::kListY + at::kListRow, 1);
      continue;
    }
    const BltArea strip = menu_layout::NameStrip(part);
    const auto stretch = [&](SurfaceIndex page, const BltArea& to) {
      g.BltStretchClip(BackIndex, page, x + to.X, to.Y, to.W, to.H, strip.X, strip.Y, strip.W, strip.H, 1);
    };
    if (pics.Tags >= 0) stretch(pics.Tags, at::kNameTag);
    if (done) {
      g.DrawSystemText(BackIndex, "OK!", x + at::kOkX, at::kHeadY, 1);
      if (pics.Instruments >= 0) stretch(pics.Instruments, at::kInstrument);
      const auto face = pics.Portraits.find(part);
      if (face != pics.Portraits.end() && face->second >= 0) {
        const BltArea& a = menu_layout::kPortrait;
        const BltArea& box = at::kPortraitBox;
        g.BltStretchClip(BackIndex, face->second, x + box.X, box.Y, box.W, box.H, a.X, a.Y, a.W, a.H, 1);
      }
      continue;
    }
    for (int k = 0; k < static_cast<int>(s.Offered.size()); ++k) {
      const int y = at::kListY + k * at::kListRow;
      const int16_t row = s.Offered[static_cast<size_t>(k)];
      g.DrawSystemText(BackIndex, PartName(parts, row), x + at::kListX, y, 1);
      g.DrawSystemText(BackIndex, "LV" + NumberText(int64_t{PartLevel(parts, row)}), x + at::kLevelX, y, 1);
      if (k == s.Cursor[p] && blink == 0) g.DrawSystemText(BackIndex, ">", x + at::kCursorX, y, 1);
    }
    const std::string kind = std::string("TYPE ") + KindLetter(parts, part);
    g.DrawSystemText(BackIndex, kind, x + at::kHeadX, at::kDetailY, 1);
    g.DrawSystemText(BackIndex, std::string(static_cast<size_t>(PartLevel(parts, part)), '#'), x + at::kStarsX,
                     at::kDetailY, 1);
  }
  if (s.ReplaysOffered) {
    g.DrawSystemText(BackIndex, "ENTER:DECIDE  TAB:REPLAY  F1:BACK", at::kHelpWithReplays.X, at::kHelpWithReplays.Y, 1);
  } else {
    g.DrawSystemText(BackIndex, "ENTER:DECIDE  F1:BACK", at::kHelp.X, at::kHelp.Y, 1);
  }
  DrawReplayDialog(s.Dialog, g, blink);
}

int16_t SelectParts(Game& game) {
  StageSetup& setup = game.State.Setup;
  setup.ReplayPlayback = {false, false};
  game.State.ReplayFiles = {};
  const PerPlayer<bool> computer{IsComputer(setup, 0), IsComputer(setup, 1)};
  const bool comByHand = game.Settings.SELCOM != 0;
  if (!comByHand && computer[0] && computer[1]) {
    setup.PlayerPart[0] = static_cast<int16_t>(game.Rng.Draw(kSelectableParts));
    setup.PlayerPart[1] = static_cast<int16_t>(game.Rng.Draw(kSelectableParts));
    return 1;
  }

  // The extension parts are read into a copy: the loaded song is never extended here.
  SongWithParts extended;
  const PartOffer offer = SongPartOffer(game, extended);
  const std::vector<PartRecord>& parts = offer.ExtensionCount > 0 ? extended.Parts : game.Parts;
  PartSelectScreen s = MakePartSelectScreen(OfferedParts(offer), computer, comByHand, setup.PlayerPart);
  // Free mode offers the song's stored replays, those recorded on a part this list has.
  s.ReplaysOffered = setup.MenuChoice == TitleCode::FreeMode;
  if (s.ReplaysOffered) {
    for (ReplayEntry& e : FindReplays(game.ProgramFolder, game.DataPath, game.State.SongPath)) {
      if (std::find(s.Offered.begin(), s.Offered.end(), e.Part) != s.Offered.end()) {
        s.Dialog.Entries.push_back(std::move(e));
      }
    }
  }

  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING < 3 ? pages.Load(data_files::kMenuBack) : -1;
  PartSelectPictures pics;
  pics.Banner = pages.Load(data_files::kPartSelectBanner);
  pics.Panels = pages.Load(data_files::kPartSelectPanels);
  pics.Tags = pages.Load(data_files::kNameTags);
  pics.Instruments = pages.Load(data_files::kInstrumentNames);
  pics.Jacket = pages.LoadFull(StripExtension(game.State.SongPath) + ".bmp", false);
  const SoundSlot now = LoadScreenSound(game, data_files::kPartSelectCall);
  if (now >= 0) game.Sound.PlaySound(now, true, false);
  PerPlayer<SoundSlot> voices{-1, -1};
  // Portraits are loaded the first time a side settles on that character.
  const auto loadPortrait = [&](int part) {
    if (pics.Portraits.count(part) == 0) {
      pics.Portraits.emplace(part, pages.Load(data_files::Portrait(part)));
    }
  };

  int16_t result = 0;
  ScreenFrame frame(game, screen_name::kPartSelect);
  for (;;) {
    // The hold ends on the clock before the next poll.
    if (s.Done && frame.Now() - s.DoneAt >= kPartHoldMs) {
      result = 1;
      break;
    }
    const MenuButtons& b = frame.Poll();  // before Now(): the poll lets time pass
    const PartSelectStep step = Update(s, b, frame.Now());
    if (step.Moved) PlayEventSound(game, ScreenEvent::Moved);
    if (step.DialogOpened) PlayEventSound(game, ScreenEvent::Decided);
    for (int p = 0; p < 2; ++p) {
      if (!step.SettledNow[p]) continue;
      PlayEventSound(game, ScreenEvent::Decided);
      const int16_t part = s.Part[p];
      if (voices[p] >= 0) game.Sound.ReleaseSound(voices[p]);
      voices[p] = LoadScreenSound(game, data_files::Voice(part, data_files::kPartSelectVoice));
      if (voices[p] >= 0) game.Sound.PlaySound(voices[p], true, false);
      loadPortrait(part);
    }
    if (step.DrawComputers) {
      DrawComputerParts(s, game.Rng);
      for (int p = 0; p < 2; ++p) loadPortrait(s.Part[p]);
    }
    if (frame.DrawDue()) {
      frame.DrawBackground(back);
      Draw(s, pics, parts, game.Graph, frame.Blink());
      frame.Show();
    }
    if (IsLeaving(step.Event)) {
      result = frame.Leave(step.Event);
      break;
    }
  }
  // A side that settled keeps its part even when the screen is left: the next visit
  // starts there.
  for (int p = 0; p < 2; ++p) {
    if (result == 1 || s.Done || s.Settled[p]) setup.PlayerPart[p] = s.Part[p];
    if (result == 1 && s.ReplayEntry[p] >= 0) {
      setup.ReplayPlayback[p] = true;
      game.State.ReplayFiles[p] = ReplayPath(game.ProgramFolder, s.Dialog.Entries[static_cast<size_t>(s.ReplayEntry[p])].Name);
    }
  }
  for (SoundSlot v : voices) {
    if (v >= 0) game.Sound.ReleaseSound(v);
  }
  if (now >= 0) game.Sound.ReleaseSound(now);
  return result;
}

}  // namespace tessaru
