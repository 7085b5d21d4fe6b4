#include "flow/results/name_entry.h"

#include "flow/menu_sound.h"
#include "flow/results/records_frame.h"
#include "flow/results/results_screens.h"
#include "flow/screen_names.h"

namespace tessaru {
namespace {

using namespace results_layout;

int Wrapped(int cell) { return ((cell % kNameCells) + kNameCells) % kNameCells; }

// A row up or down, keeping the column; the short last row is skipped where it has no
// cell in that column.
int RowMove(int cursor, int rows) {
  const int column = cursor % kNameRowCells;
  const int rowCount = (kNameCells + kNameRowCells - 1) / kNameRowCells;
  int row = cursor / kNameRowCells;
  do {
    row = ((row + rows) % rowCount + rowCount) % rowCount;
  } while (row * kNameRowCells + column >= kNameCells);
  return row * kNameRowCells + column;
}

NameEntryEvent Decide(NameEntryState& s) {
  if (s.Cursor == kDeleteCell) {
    if (s.Letters.empty()) return NameEntryEvent::Ignored;
    s.Letters.pop_back();
    return NameEntryEvent::Deleted;
  }
  if (s.Cursor == kEndCell) {
    // An empty name is not a name: END waits for a letter first.
    if (s.Letters.empty()) return NameEntryEvent::Ignored;
    s.Done = true;
    return NameEntryEvent::Finished;
  }
  s.Letters += kNameAlphabet[static_cast<size_t>(s.Cursor)];
  if (static_cast<int>(s.Letters.size()) < kNameLength) return NameEntryEvent::Added;
  s.Done = true;
  return NameEntryEvent::Finished;
}

}  // namespace

NameEntryEvent Update(NameEntryState& s, const SideButtons& b, uint32_t now) {
  if (s.Done) return NameEntryEvent::None;
  if (b.Decide) return Decide(s);
  int move = 0;
  if (b.Right) move = 1;
  else if (b.Left) move = -1;
  if (move != 0) {
    s.HeldDirection = move;
    s.NextRepeat = now + kNameRepeatDelayMs;
  } else if (s.HeldDirection != 0) {
    const bool held = s.HeldDirection > 0 ? b.RightHeld : b.LeftHeld;
    if (!held) {
      s.HeldDirection = 0;
    } else if (static_cast<int32_t>(now - s.NextRepeat) >= 0) {
      move = s.HeldDirection;
      s.NextRepeat = now + kNameRepeatMs;
    }
  }
  if (move != 0) {
    s.Cursor = Wrapped(s.Cursor + move);
    return NameEntryEvent::Moved;
  }
  if (b.Up || b.Down) {
    s.Cursor = RowMove(s.Cursor, b.Down ? 1 : -1);
    return NameEntryEvent::Moved;
  }
  return NameEntryEvent::None;
}

std::string StoredName(const NameEntryState& state) {
  std::string name = state.Letters.substr(0, kNameLength);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  name.resize(kNameLength, ' ');
  return name;
}

namespace {

constexpr uint32_t kShowFinishedMs = 1200;

void DrawNameEntry(const RecordsLook& look, GraphLib& g, const NameEntryState& s, int side, int position,
                   uint32_t now, int16_t blink) {
  look.DrawBackground(now);
  look.DrawTitle();
  const std::string caption = std::string(side == 1 ? "2P" : "1P") + "  ENTER YOUR NAME";
  g.DrawSystemText(BackIndex, caption, CenteredX(caption), kEntryCaptionY, 0);
  look.DrawRowGround(kEntryPlaceX - 16, kEntryNameY - 8, 640 - 2 * (kEntryPlaceX - 16), kLetterCell + 24);
  look.DrawBig(PlaceText(position), kEntryPlaceX, kEntryNameY);
  for (int i = 0; i < kNameLength; ++i) {
    const int x = kEntryNameX + i * (kLetterCell + 8);
    if (i < static_cast<int>(s.Letters.size())) {
      if (!s.Done || blink == 0) look.DrawBig(std::string(1, s.Letters[static_cast<size_t>(i)]), x, kEntryNameY);
    }
    look.DrawSlotBar(!s.Done && i == static_cast<int>(s.Letters.size()) && blink == 0, x, kEntryNameY + kLetterCell + 4);
  }
  for (int cell = 0; cell < kNameCells; ++cell) {
    const int x = kAlphabetX + (cell % kNameRowCells) * kLetterCell;
    const int y = kAlphabetY + (cell / kNameRowCells) * kAlphabetPitchY;
    if (cell == kDeleteCell || cell == kEndCell) {
      look.DrawPiece(cell == kDeleteCell ? kDeleteKey : kEndKey, x, y);
    } else {
      look.DrawBig(std::string(1, kNameAlphabet[static_cast<size_t>(cell)]), x, y);
    }
  }
  if (!s.Done) {
    look.DrawCursor(side, kAlphabetX + (s.Cursor % kNameRowCells) * kLetterCell - 2,
                    kAlphabetY + (s.Cursor / kNameRowCells) * kAlphabetPitchY - 2);
  }
}

}  // namespace

std::string EnterName(Game& game, int16_t side, int16_t position) {
  const int p = side == 1 ? 1 : 0;
  ScreenPages pages(game);
  const RecordsLook look(game, pages);
  NameEntryState state;
  uint32_t finishedAt = 0;
  ScreenFrame frame(game, screen_name::kNameEntry);
  for (;;) {
    const MenuButtons& b = frame.Poll();
    const uint32_t now = frame.Now();
    if (!frame.Leaving() && frame.FirstFrameShown()) {
      switch (Update(state, b.Side[static_cast<size_t>(p)], now)) {
        case NameEntryEvent::Moved: PlayMenuSound(game, kCursorSound); break;
        case NameEntryEvent::Added:
        case NameEntryEvent::Deleted: PlayMenuSound(game, kDecideSound); break;
        case NameEntryEvent::Finished:
          PlayMenuSound(game, kDecideSound);
          finishedAt = now;
          break;
        default: break;
      }
    }
    if (frame.DrawDue()) {
      DrawNameEntry(look, game.Graph, state, p, position, now, frame.Blink());
      frame.Show();
    }
    if (frame.Leaving()) {
      if (b.Escape) {
        frame.LeaveCode();
        return "";
      }
      // F1 keeps what was entered; with nothing entered the place keeps its name.
      return state.Letters.empty() ? "" : StoredName(state);
    }
    if (state.Done && now - finishedAt >= kShowFinishedMs) return StoredName(state);
  }
}

}  // namespace tessaru
