#include "stage/play/play_view.h"

#include <algorithm>
#include <string>

#include "core/numbers.h"
#include "layout/play_layout.h"
#include "stage/play/background_view.h"
#include "stage/tempo_map.h"

namespace tessaru {
namespace {

constexpr int32_t kMoodMs = 500;  // a hit or a miss colours the dance for this long

int16_t WordAt(const PartRecord& chart, int32_t step, int32_t limit) {
  if (step < 0 || step >= limit || static_cast<size_t>(step) >= chart.StepWords.size()) return 0;
  const int16_t w = chart.StepWords[static_cast<size_t>(step)];
  return w >= 1 && w <= 4 ? w : 0;
}

}  // namespace

PlayView::PlayView(GraphLib& graph, const PlayAssets& assets, Stage& stage, PlayViewOptions options)
    : graph_(graph), assets_(assets), stage_(stage), o_(options) {}

void PlayView::Begin() {
  for (int p = 0; p < 2; ++p) {
    RefreshRow(p, 0, true);
    RefreshRow(p, 1, true);
    lastRow_[p] = std::max(stage_.CurStep(), 0) / kRowSlots;
  }
}

void PlayView::RefreshRow(int p, int row, bool whole) {
  auto& effects = stage_.ChipEffects();
  const int32_t now = stage_.SongTime();
  for (int i = 0; i < kRowSlots; ++i) {
    const int slot = row * kRowSlots + i;
    // The slot now shows another step: the old chip's hit or miss marks go with it.
    effects.At(p, slot) = {};
    effects.Set(p, slot, whole ? 5 : 1, now);
    effects.At(p, slot).FirstWord = WordAt(stage_.Chart(p), SlotStep(stage_.CurStep(), slot), stage_.StepLimit());
  }
}

void PlayView::AfterUpdate() {
  for (int p = 0; p < 2; ++p) {
    const auto i = static_cast<size_t>(p);
    const int32_t row = std::max(stage_.CurStep(), 0) / kRowSlots;
    if (row != lastRow_[i] && stage_.EndState() == 0) {
      const int cursorRow = row % 2;
      RefreshRow(p, 1 - cursorRow, false);
      // A jump of more than one row leaves the cursor's own row stale as well.
      if (row > lastRow_[i] + 1 || row < lastRow_[i]) RefreshRow(p, cursorRow, false);
      lastRow_[i] = row;
    }
    const StagePlayer& player = stage_.Player(p);
    const int32_t justs = player.JudgeCount[JudgeJust];
    const int32_t faults = player.JudgeCount[JudgeMiss] + player.JudgeCount[JudgeFar];
    if (justs != lastJust_[i]) lastHitTime_[i] = stage_.SongTime();
    if (faults != lastFaults_[i]) lastMissTime_[i] = stage_.SongTime();
    lastJust_[i] = justs;
    lastFaults_[i] = faults;
  }
}

int PlayView::DanceMood(int p) const {
  const auto i = static_cast<size_t>(p);
  const int32_t now = stage_.SongTime();
  if (now - lastMissTime_[i] < kMoodMs) return kDanceMiss;
  if (now - lastHitTime_[i] < kMoodMs) return kDanceHit;
  const bool playing = stage_.EndState() == 0 && stage_.CurStep() >= int32_t{stage_.Song().IntroBars} * kStepsPerBar;
  return playing ? kDanceGroove : kDanceIdle;
}

void PlayView::Sheet(SurfaceIndex page, const BltArea& cell, int32_t x, int32_t y, bool keyed) {
  if (page < 0 || cell.W <= 0 || cell.H <= 0) return;
  graph_.BltClip(BackIndex, page, x, y, cell.W, cell.H, cell.X, cell.Y, keyed ? 1 : 0);
}

void PlayView::Draw() {
  DrawBackground();
  if (o_.DrawDance) {
    for (int p = 0; p < 2; ++p) {
      // The special value 6 keeps its player's dance off the screen.
      if (o_.VisibilityOpt[p] == 6) continue;
      const ScreenPoint a = DanceAnchor(o_.PlayStyle, p, o_.Resolution);
      DrawDance(graph_, assets_.DanceViews[p], DanceMood(p), stage_.SongTime(), o_.DanceScale,
                a.X, a.Y);
    }
  }
  const bool playing = stage_.EndState() == 0;
  for (int p = 0; p < 2; ++p) {
    const int16_t visibility = o_.VisibilityOpt[p];
    const bool vanished = playing && visibility == 4;
    if (!vanished) DrawPage(p);
    DrawKnockOut(p);
    if (!vanished && !(playing && visibility == 6)) DrawJudgePictures(p);
    // The judgement line goes over the pictures: where to hit matters most. A player
    // who is out has no line.
    const StagePlayer& player = stage_.Player(p);
    const bool out = player.KnockedOut != 0 && player.DangerTime < 0;
    if (!vanished && playing && !out) DrawCursor(p);
    DrawGauge(p);
    DrawDamage(p);
    DrawNumbers(p);
  }
}

void PlayView::DrawBackground() {
  lastBgaSprites_ = 0;
  if (assets_.HasBga) {
    graph_.ClearSurface(BackIndex);
    lastBgaSprites_ = DrawBga(graph_, assets_, stage_.SongTime());
  } else if (assets_.Wallpaper >= 0) {
    graph_.BltPage(BackIndex, assets_.Wallpaper);
  } else {
    graph_.ClearSurface(BackIndex);
  }
}

void PlayView::DrawPage(int p) {
  const int16_t res = o_.Resolution;
  const SurfaceIndex chips = assets_.ChipSheet;
  const auto& chart = stage_.Chart(p);
  const int32_t cur = std::max(stage_.CurStep(), 0);
  const int cursor = static_cast<int>(cur % kPageSlots);
  const int sign = EffectShiftSign(o_.PlayStyle, p);
  const int16_t colour = o_.ColorOpt[p];
  const ScreenPoint panel = PagePanelPosition(o_.PlayStyle, p, res);
  Sheet(chips, PagePanelCell(res), panel.X, panel.Y, true);
  for (int slot = 0; slot < kPageSlots; ++slot) {
    const ScreenPoint at = SlotPosition(o_.PlayStyle, p, slot, res);
    Sheet(chips, ChipSheetRow(EmptyRowFor(slot), res), at.X, at.Y, false);
  }
  for (int slot = 0; slot < kPageSlots; ++slot) {
    const ScreenPoint at = SlotPosition(o_.PlayStyle, p, slot, res);
    const ChipEffect& e = stage_.ChipEffects().At(p, slot);
    const int32_t x = at.X + (e.State != 0 ? sign * e.Counter : 0);
    const int16_t lane = WordAt(chart, SlotStep(cur, slot), stage_.StepLimit());
    if (lane == 0) continue;
    Sheet(chips, ChipSheetRow(ChipRowFor(colour, lane), res), x, at.Y, true);
    // A judged chip shows how it went: lit when just, ringed when near, broken when missed.
    if (e.Flag != 0) {
      Sheet(chips, ChipSheetRow(ChipMarkRow(kMarkMissed, lane), res), x, at.Y, true);
    } else if (e.State == 4) {
      Sheet(chips, ChipSheetRow(ChipMarkRow(kMarkJust, lane), res), x, at.Y, true);
    } else if (e.State == 2) {
      Sheet(chips, ChipSheetRow(ChipMarkRow(kMarkNear, lane), res), x, at.Y, true);
    }
  }
  const auto covered = CoveredSlots(o_.VisibilityOpt[p], cursor);
  for (int slot = 0; slot < kPageSlots; ++slot) {
    if (!covered.test(static_cast<size_t>(slot))) continue;
    const ScreenPoint at = SlotPosition(o_.PlayStyle, p, slot, res);
    Sheet(chips, ChipSheetRow(kChipRowCover, res), at.X, at.Y, true);
  }
}

void PlayView::DrawCursor(int p) {
  const int16_t res = o_.Resolution;
  const int cursor = static_cast<int>(std::max(stage_.CurStep(), 0) % kPageSlots);
  const ScreenPoint at = SlotPosition(o_.PlayStyle, p, cursor, res);
  Sheet(assets_.ChipSheet, ChipSheetRow(kChipRowCursor, res), at.X, at.Y, true);
  Sheet(assets_.ChipSheet, CursorArrowsCell(res), at.X + CursorArrowsOffset(res), at.Y, true);
}

void PlayView::DrawJudgePictures(int p) {
  const auto& ring = stage_.JudgeDisplay();
  const auto& entries = ring.Entries(p);
  const int32_t now = stage_.SongTime();
  if (assets_.PlaySheet < 0) return;
  // Oldest first, so the latest lands on top; only the latest is shown big.
  int latest = -1;
  for (int k = 0; k < kJudgeRingSize; ++k) {
    if (entries[static_cast<size_t>((ring.WriteIndex(p) + k) % kJudgeRingSize)].Code != DisplayDone) latest = k;
  }
  auto frameOf = [&](int k) -> JudgePictureDraw {
    const auto& e = entries[static_cast<size_t>((ring.WriteIndex(p) + k) % kJudgeRingSize)];
    if (e.Code == DisplayDone || e.Slot < 0 || e.Slot >= kPageSlots) return {};
    const ScreenPoint at = SlotPosition(o_.PlayStyle, p, e.Slot, o_.Resolution);
    return JudgePictureFrame(e.ImageIndex, at.X, at.Y, now - e.StartTime, ring.OpeningMs(), ring.HoldMs(),
                             k == latest, o_.Resolution);
  };
  // While the latest stands big, the labels it would overlap wait under it unseen, so
  // the big picture never reads as a jumble of two.
  BltArea big{};
  if (latest >= 0) {
    const JudgePictureDraw d = frameOf(latest);
    if (d.Cell.H > StepHeight(o_.Resolution)) big = d.Place;
  }
  auto overlaps = [](const BltArea& a, const BltArea& b) {
    return a.X < b.X + b.W && b.X < a.X + a.W && a.Y < b.Y + b.H && b.Y < a.Y + a.H;
  };
  for (int k = 0; k < kJudgeRingSize; ++k) {
    const JudgePictureDraw d = frameOf(k);
    if (d.Place.H <= 0 || d.Cell.W <= 0) continue;
    if (k != latest && big.H > 0 && overlaps(d.Place, big)) continue;
    graph_.BltStretchClip(BackIndex, assets_.PlaySheet, d.Place.X, d.Place.Y, d.Place.W, d.Place.H, d.Cell.X,
                          d.Cell.Y, d.Cell.W, d.Cell.H, 1);
  }
}

void PlayView::DrawGauge(int p) {
  const int16_t res = o_.Resolution;
  // The pair styles and the special style keep one gauge, shown on both pages.
  const int16_t gauge = o_.PlayStyle == 0 ? stage_.Gauge(p) : stage_.Gauge(0);
  const ScreenPoint at = GaugePosition(o_.PlayStyle, p, res);
  Sheet(assets_.PlaySheet, GaugeFrameCell(res), at.X, at.Y, true);
  const int kind = gauge >= 1000 ? kGaugeFull : (o_.PlayStyle == 0 && gauge < kDangerGauge ? kGaugeDanger : kGaugeNormal);
  BltArea fill = GaugeFillCell(kind, res);
  fill.W = fill.W * std::clamp<int32_t>(gauge, 0, 1000) / 1000;
  const BltArea frame = GaugeFrameCell(res);
  Sheet(assets_.PlaySheet, fill, at.X + (frame.W - GaugeFillCell(kind, res).W) / 2, at.Y + (frame.H - fill.H) / 2, false);
}

void PlayView::DrawDamage(int p) {
  if (o_.PlayStyle != 0) return;
  const int16_t res = o_.Resolution;
  const DamageBlocks& d = stage_.Damage(p);
  const ScreenPoint base = DamageColumnBase(o_.PlayStyle, p, res);
  const int32_t pitch = Scaled(kDamageBlockPitch, res);
  const int count = std::clamp<int>(d.Count(), 0, kMaxDamageBlocks);
  for (int i = 0; i < count; ++i) {
    const bool top = i == count - 1;
    const int16_t flag = top ? d.TopFlag() : 0;
    // The block just added blinks until the next one may follow.
    if (top && d.State() == 1 && (stage_.SongTime() - d.LastChange()) % 50 >= 25) continue;
    Sheet(assets_.PlaySheet, DamageBlockCell(d.Lanes()[static_cast<size_t>(i)], flag, res), base.X,
          base.Y - (i + 1) * pitch, true);
  }
}

void PlayView::DrawNumber(int64_t value, int32_t right, int32_t y, bool big) {
  const std::string text = NumberText(std::max<int64_t>(value, 0));
  int32_t x = right;
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    const BltArea cell = big ? BigDigitCell(*it - '0', o_.Resolution) : SmallDigitCell(*it - '0', o_.Resolution);
    x -= cell.W + (o_.Resolution == kLowResolution ? 0 : 1);  // the glyphs carry their own margin
    Sheet(assets_.PlaySheet, cell, x, y, true);
  }
}

void PlayView::DrawNumbers(int p) {
  const int16_t res = o_.Resolution;
  const StagePlayer& player = stage_.Player(p);
  const ScreenPoint at = NumbersPosition(o_.PlayStyle, p, res);
  const int32_t right = at.X + Scaled(kPageWidth, res);
  if (player.ComboCount >= 2) {
    const BltArea label = ComboLabelCell(res);
    Sheet(assets_.PlaySheet, label, at.X, at.Y + BigDigitCell(0, res).H - label.H, true);
    DrawNumber(player.ComboCount, right, at.Y, true);
  }
  Sheet(assets_.PlaySheet, PointsLabelCell(res), at.X, at.Y + PointsRowOffset(res), true);
  DrawNumber(player.StagePoints, right, at.Y + PointsRowOffset(res), false);
  for (int row = 0; row < kJudgeCategories; ++row) {
    const int32_t y = at.Y + CountRowOffset(row, res);
    Sheet(assets_.PlaySheet, CountLabelCell(row, res), at.X, y, true);
    DrawNumber(player.JudgeCount[static_cast<size_t>(row)], right, y, false);
  }
}

void PlayView::DrawKnockOut(int p) {
  const StagePlayer& player = stage_.Player(p);
  if (player.KnockedOut == 0) return;
  const int16_t res = o_.Resolution;
  if (player.DangerTime < 0) {
    // After the knock-out display the page stays covered: this player is out.
    for (int slot = 0; slot < kPageSlots; ++slot) {
      const ScreenPoint at = SlotPosition(o_.PlayStyle, p, slot, res);
      Sheet(assets_.ChipSheet, ChipSheetRow(kChipRowCover, res), at.X, at.Y, true);
    }
  }
  const BltArea cell = KnockOutCell(res);
  const ScreenPoint mid = SlotPosition(o_.PlayStyle, p, kRowSlots, res);
  // While the display runs the picture blinks with the beat.
  if (player.DangerTime > 0 && (stage_.CurTick() / 240) % 2 == 1) return;
  Sheet(assets_.PlaySheet, cell, mid.X + (Scaled(kPageWidth, res) - cell.W) / 2, mid.Y - cell.H / 2, true);
}

void PlayView::DrawCaption(int caption, int32_t number) {
  const int16_t res = o_.Resolution;
  const BltArea cell = CaptionCell(caption, res);
  const int32_t x = (graph_.ScreenWidth() - cell.W) / 2;
  const int32_t y = Scaled(150, res);
  Sheet(assets_.PlaySheet, cell, x, y, true);
  if (number >= 0) DrawNumber(number, x + cell.W / 2 + Scaled(8, res), y + cell.H + Scaled(8, res), true);
}

}  // namespace tessaru
