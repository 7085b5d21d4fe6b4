#pragma once
// The play screen: each frame it draws the background, the dances, and for each player
// the lane page with its chips, effects, covers and judgement pictures, the gauge, the
// damage blocks, the numbers and the knock-out display. Between frames it keeps the
// page's rows filled as the current step moves down the page.
#include <array>
#include <cstdint>

#include "core/indexed_array.h"
#include "stage/play/play_assets.h"
#include "stage/stage.h"

namespace tessaru {

struct PlayViewOptions {
  int16_t PlayStyle = 0;
  int16_t Resolution = 0;
  std::array<int16_t, 2> ColorOpt{0, 0};
  std::array<int16_t, 2> VisibilityOpt{0, 0};
  bool DrawDance = true;
  // How much of the dance's 120-BPM timing one song millisecond is.
  double DanceScale = 1.0;
};

class PlayView {
 public:
  PlayView(GraphLib& graph, const PlayAssets& assets, Stage& stage, PlayViewOptions options);

  // Fills both rows of the page for the stage's first block.
  void Begin();
  // After each engine update: refills the row the cursor has left, and notes the moods
  // of the dances.
  void AfterUpdate();
  // The whole frame into the back buffer (no flip).
  void Draw();
  // Draws a result caption in the middle of the screen and, when number >= 0, that
  // number under it (a score, or the seconds left to continue).
  void DrawCaption(int caption, int32_t number);

  int DanceMood(int p) const;
  int LastBgaSprites() const { return lastBgaSprites_; }

 private:
  void RefreshRow(int p, int row, bool whole);
  void DrawBackground();
  void DrawPage(int p);
  void DrawCursor(int p);
  void DrawJudgePictures(int p);
  void DrawGauge(int p);
  void DrawDamage(int p);
  void DrawNumbers(int p);
  void DrawKnockOut(int p);
  void DrawNumber(int64_t value, int32_t right, int32_t y, bool big);
  void Sheet(SurfaceIndex page, const BltArea& cell, int32_t x, int32_t y, bool keyed);

  GraphLib& graph_;
  const PlayAssets& assets_;
  Stage& stage_;
  PlayViewOptions o_;
  PerPlayer<int32_t> lastRow_{-1, -1};
  std::array<int32_t, 2> lastHitTime_{-100000, -100000};
  std::array<int32_t, 2> lastMissTime_{-100000, -100000};
  std::array<int32_t, 2> lastJust_{};
  std::array<int32_t, 2> lastFaults_{};
  int lastBgaSprites_ = 0;
};

}  // namespace tessaru
