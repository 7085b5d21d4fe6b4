#include "flow/results/records_frame.h"

#include <algorithm>
#include <cstdio>

#include "flow/menu_sound.h"
#include "flow/screen_names.h"

namespace tessaru {

using namespace results_layout;

RecordsLook::RecordsLook(Game& game, ScreenPages& pages, bool fanfare) : game_(game) {
  title_ = pages.Load("\\image\\ranking.bmp");
  if (game.Settings.DRAWING <= 2) background_ = pages.Load("\\image\\rankbg.bmp");
  bigFont_ = pages.Load("\\image\\bigfont.bmp");
  if (fanfare && game.Settings.SOUNDING < 2) {
    fanfare_ = LoadScreenSound(game, "\\sound\\ranking.wav");
    if (fanfare_ >= 0) game.Sound.PlaySound(fanfare_, true, false);
  }
}

RecordsLook::~RecordsLook() {
  if (fanfare_ >= 0) game_.Sound.ReleaseSound(fanfare_);
}

void RecordsLook::DrawBackground(uint32_t now) const {
  GraphLib& g = game_.Graph;
  if (background_ < 0) {
    g.ClearSurface(BackIndex);
    return;
  }
  const int offset = BackgroundOffset(now);
  g.BltClip(BackIndex, background_, 0, 0, 640 - offset, 480, offset, 0, 0);
  if (offset > 0) g.BltClip(BackIndex, background_, 640 - offset, 0, offset, 480, 0, 0, 0);
}

void RecordsLook::DrawTitle() const {
  if (title_ >= 0) Cut(game_.Graph, title_, kTitle);
}

void RecordsLook::DrawBig(std::string_view text, int x, int y) const {
  game_.Graph.DrawBigText(BackIndex, bigFont_, text, x, y);
}

void RecordsLook::DrawBigCentered(std::string_view text, int y) const {
  DrawBig(text, 320 - static_cast<int>(text.size()) * kLetterCell / 2, y);
}

void RecordsLook::DrawRowGround(int x, int y, int w, int h) const {
  if (title_ < 0) return;
  game_.Graph.BltBlend(BackIndex, title_, x, y, std::min(w, kRowGround.W), std::min(h, kRowGround.H),
                       kRowGround.X, kRowGround.Y, kRowGroundOpacity, 0);
}

void RecordsLook::DrawAccentLine(int x, int y, int w) const {
  if (title_ >= 0) game_.Graph.BltClip(BackIndex, title_, x, y, std::min(w, kAccentLine.W), kAccentLine.H, kAccentLine.X, kAccentLine.Y, 0);
}

void RecordsLook::DrawCursor(int side, int x, int y) const { DrawPiece(kCursor[side == 1 ? 1 : 0], x, y); }

void RecordsLook::DrawSlotBar(bool lit, int x, int y) const { DrawPiece(lit ? kSlotBarLit : kSlotBar, x, y); }

void RecordsLook::DrawPiece(const BltArea& piece, int x, int y) const {
  if (title_ >= 0) Cut(game_.Graph, title_, piece, x, y);
}

int BackgroundOffset(uint32_t now) {
  return static_cast<int>(static_cast<uint64_t>(now % kBackgroundPeriodMs) * 640 / kBackgroundPeriodMs);
}

int CenteredX(std::string_view text, int centre) { return centre - static_cast<int>(text.size()) * 8; }

std::string PlaceText(int position) {
  const int n = position + 1;
  const char* const kFirstThree[3] = {"1ST", "2ND", "3RD"};
  if (n >= 1 && n <= 3) return kFirstThree[n - 1];
  return std::to_string(n) + "TH";
}

std::string RightAligned(std::string_view text, size_t width) {
  std::string out(text);
  if (out.size() < width) out.insert(0, width - out.size(), ' ');
  return out;
}

std::string DecimalText(double value, int places) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", places, value);
  return text;
}

std::string ShownName(std::string_view name) {
  std::string out;
  for (char c : name.substr(0, 3)) out += c >= 32 && c < 127 ? c : '?';
  out.resize(3, ' ');
  return out;
}

std::string StoredSongTitle(const SongList& list, int16_t storedSong, size_t maxChars) {
  if (storedSong == 0) return "-";
  const int index = storedSong - 1;
  if (index < 0 || index >= list.SongCount || static_cast<size_t>(index) >= list.SongNames.size()) return "?";
  std::string title;
  for (char c : list.SongNames[static_cast<size_t>(index)]) {
    if (title.size() >= maxChars) break;
    title += c >= 32 && c < 127 ? c : '?';
  }
  return title;
}

}  // namespace tessaru

namespace tessaru {

RecordsAction Update(RecordsPager& pager, const MenuButtons& b) {
  if (b.AnyDecide() || b.F1 || b.Escape) return RecordsAction::Close;
  const int step = b.AnyRight() ? 1 : b.AnyLeft() ? -1 : 0;
  if (step == 0 || pager.PageCount <= 1) return RecordsAction::None;
  pager.Page = ((pager.Page + step) % pager.PageCount + pager.PageCount) % pager.PageCount;
  return RecordsAction::Turned;
}

void RunRecordsScreen(Game& game, const RecordsLook& look, RecordsPager& pager,
                      const std::function<void(int page, uint32_t now)>& draw) {
  ScreenFrame frame(game, screen_name::kRecords);
  for (;;) {
    const MenuButtons& b = frame.Poll();
    const RecordsAction action = frame.FirstFrameShown() || frame.Leaving() ? Update(pager, b) : RecordsAction::None;
    if (action == RecordsAction::Turned) PlayMenuSound(game, kCursorSound);
    if (frame.DrawDue()) {
      look.DrawBackground(frame.Now());
      look.DrawTitle();
      draw(pager.Page, frame.Now());
      frame.Show();
    }
    if (frame.Leaving()) {
      frame.LeaveCode();
      return;
    }
    if (action == RecordsAction::Close) {
      PlayMenuSound(game, kDecideSound);
      return;
    }
  }
}

}  // namespace tessaru
