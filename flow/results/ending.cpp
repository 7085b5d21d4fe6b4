#include "flow/results/ending.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "content/packed.h"
#include "core/numbers.h"
#include "flow/menu_sound.h"
#include "flow/results/records_frame.h"
#include "flow/results/results_screens.h"
#include "flow/screen_names.h"

namespace tessaru {

using namespace results_layout;

uint32_t EndingDurationMs(size_t lines) {
  const uint64_t scrolled = (static_cast<uint64_t>(lines) + kEndingWindowLines) * kEndingLineMs;
  return static_cast<uint32_t>(std::clamp<uint64_t>(scrolled, kEndingMinMs, UINT32_MAX));
}

int EndingTopLine(uint32_t now) { return static_cast<int>(now / kEndingLineMs) - (kEndingWindowLines - 1); }

std::vector<std::string> ReadEndingText(std::string_view path, bool& found) {
  std::vector<std::string> lines;
  std::optional<FieldReader> reader = OpenPackedText(path);
  found = reader.has_value();
  std::string line;
  while (reader && reader->Read(line) && line != "<EOF>") lines.push_back(line);
  return lines;
}

namespace {

std::string Printable(std::string_view text) {
  std::string out;
  for (char c : text) out += c >= 32 && c < 127 ? c : '?';
  return out.substr(0, 40);
}

}  // namespace

void ShowEnding(Game& game, int16_t kind) {
  ScreenPages pages(game);
  const RecordsLook look(game, pages, false);
  const bool generic = kind < 0;
  const std::string kindText = NumberText(int64_t{kind});
  const SurfaceIndex picture = pages.Load(generic ? "\\image\\tryto.bmp" : "\\image\\ed" + kindText + ".bmp");
  const std::string textPath = DataFile(game, "\\ed.zxt");
  bool found = false;
  const std::vector<std::string> text = ReadEndingText(textPath, found);
  if (!found) game.Errors.AddLoadFailure(textPath);

  // The ending brings its own music; the menu music would only clash with it.
  StopMenuBgm(game);
  SoundSlot voice = -1;
  SoundSlot music = -1;
  if (game.Settings.SOUNDING < 2) {
    voice = LoadScreenSound(game, generic ? "\\sound\\tryto.wav" : "\\sound\\voice" + kindText + "-2.wav");
    if (!generic) music = LoadScreenSound(game, "\\sound\\ending.wav");
  }
  bool started = false;
  const uint32_t duration = EndingDurationMs(text.size());
  ScreenFrame frame(game, screen_name::kEnding, false);
  for (;;) {
    const MenuButtons& b = frame.Poll();
    const uint32_t now = frame.FirstFrameShown() ? frame.Now() : 0;
    if (frame.FirstFrameShown() && !started) {
      started = true;
      if (voice >= 0) game.Sound.PlaySound(voice, true, false);
      if (music >= 0) game.Sound.PlaySound(music, true, false);
    }
    if (frame.DrawDue()) {
      look.DrawBackground(now);
      if (picture >= 0) Cut(game.Graph, picture, kEndingPicture, kEndingPictureX, kEndingPictureY);
      look.DrawRowGround(kEndingPictureX, kEndingTextTop, kEndingPicture.W, kEndingTextBottom - kEndingTextTop);
      const int top = EndingTopLine(now);
      for (int row = 0; row < kEndingWindowLines; ++row) {
        const int line = top + row;
        if (line < 0 || line >= static_cast<int>(text.size())) continue;
        const std::string shown = Printable(text[static_cast<size_t>(line)]);
        game.Graph.DrawSystemText(BackIndex, shown, CenteredX(shown), kEndingTextTop + 4 + row * kEndingLinePitch, 1);
      }
      frame.Show();
    }
    if (frame.Leaving()) {
      frame.LeaveCode();
      break;
    }
    if (started && (now >= duration || (b.AnyDecide() && now >= kEndingSkipAfterMs))) break;
  }
  if (voice >= 0) game.Sound.ReleaseSound(voice);
  if (music >= 0) game.Sound.ReleaseSound(music);
}

}  // namespace tessaru
