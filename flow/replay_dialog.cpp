#include "flow/replay_dialog.h"

#include <algorithm>

#include "core/paths.h"
#include "layout/menu_layout.h"

namespace tessaru {
namespace {

namespace dialog = menu_layout::replay_dialog;

// A sixteenth of the brightness over a night blue: the part select barely shows through.
void Dim(GraphLib& g, const BltArea& area) {
  const std::span<uint16_t> pixels = g.Pixels(BackIndex);
  const int32_t width = g.ScreenWidth();
  for (int32_t y = std::max(0, area.Y); y < std::min(g.ScreenHeight(), area.Y + area.H); ++y) {
    for (int32_t x = std::max(0, area.X); x < std::min(width, area.X + area.W); ++x) {
      uint16_t& p = pixels[static_cast<size_t>(y * width + x)];
      p = static_cast<uint16_t>(((p >> 4) & 0x0861) + 0x1085);
    }
  }
}

void Frame(GraphLib& g, const BltArea& area, uint16_t colour) {
  const std::span<uint16_t> pixels = g.Pixels(BackIndex);
  const int32_t width = g.ScreenWidth();
  const auto put = [&](int32_t x, int32_t y) {
    if (x >= 0 && y >= 0 && x < width && y < g.ScreenHeight()) pixels[static_cast<size_t>(y * width + x)] = colour;
  };
  for (int32_t x = area.X; x < area.X + area.W; ++x) {
    put(x, area.Y);
    put(x, area.Y + area.H - 1);
  }
  for (int32_t y = area.Y; y < area.Y + area.H; ++y) {
    put(area.X, y);
    put(area.X + area.W - 1, y);
  }
}

}  // namespace

ReplayDialogResult UpdateReplayDialog(ReplayDialogState& s, const MenuButtons& b) {
  if (!s.Open) return {};
  if (b.Tab || b.F1) {
    s.Open = false;
    return {ReplayDialogEvent::Closed};
  }
  const int count = static_cast<int>(s.Entries.size());
  ReplayDialogResult r;
  if (b.AnyLeft() || b.AnyRight()) {
    s.Column = 1 - s.Column;
    r.Event = ReplayDialogEvent::Moved;
  } else if (count > 0 && (b.AnyUp() || b.AnyDown())) {
    s.Cursor = (s.Cursor + (b.AnyUp() ? count - 1 : 1)) % count;
    r.Event = ReplayDialogEvent::Moved;
  } else if (count > 0 && b.AnyDecide()) {
    s.Open = false;
    return {ReplayDialogEvent::Chosen, s.Column, s.Cursor};
  }
  // The shown rows follow the cursor.
  if (s.Cursor < s.Top) s.Top = s.Cursor;
  if (s.Cursor >= s.Top + kReplayDialogRows) s.Top = s.Cursor - kReplayDialogRows + 1;
  return r;
}

void DrawReplayDialog(const ReplayDialogState& s, GraphLib& g, int16_t blink) {
  if (!s.Open) return;
  Dim(g, dialog::kBox);
  Frame(g, dialog::kBox, 0xFFFF);
  g.DrawSystemText(BackIndex, "SELECT REPLAY DATA", dialog::kTitleX, dialog::kTitleY, 1);
  for (int side = 0; side < 2; ++side) {
    const int32_t x = dialog::kColumnX[side];
    g.DrawSystemText(BackIndex, side == 0 ? "1P" : "2P", x + dialog::kTextInset, dialog::kHeadY, 1);
    Frame(g, {x, dialog::kListY - 4, dialog::kColumnW, kReplayDialogRows * dialog::kRow + 8},
          side == s.Column ? uint16_t{0xFFE0} : uint16_t{0x8410});
  }
  if (s.Entries.empty()) {
    g.DrawSystemText(BackIndex, "NO REPLAY DATA", dialog::kEmptyX, dialog::kListY + 4 * dialog::kRow, 1);
  }
  const int last = std::min(static_cast<int>(s.Entries.size()), s.Top + kReplayDialogRows);
  for (int i = s.Top; i < last; ++i) {
    const int32_t y = dialog::kListY + (i - s.Top) * dialog::kRow;
    const std::string name = StripExtension(s.Entries[static_cast<size_t>(i)].Name).substr(0, dialog::kNameChars);
    for (int side = 0; side < 2; ++side) {
      const int32_t x = dialog::kColumnX[side] + dialog::kTextInset;
      g.DrawSystemText(BackIndex, name, x + 16, y, 1);
      if (side == s.Column && i == s.Cursor && blink == 0) g.DrawSystemText(BackIndex, ">", x, y, 1);
    }
  }
  if (s.Top > 0) g.DrawSystemText(BackIndex, "^", dialog::kMoreX, dialog::kListY - 24, 1);
  if (last < static_cast<int>(s.Entries.size())) {
    g.DrawSystemText(BackIndex, "v", dialog::kMoreX, dialog::kListY + kReplayDialogRows * dialog::kRow, 1);
  }
  g.DrawSystemText(BackIndex, "ENTER:PLAY BACK  TAB:CLOSE", dialog::kHintX, dialog::kHintY, 1);
}

}  // namespace tessaru
