#include "flow/timing_panel.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/numbers.h"
#include "flow/menu_palette.h"
#include "graphics/pixel_ops.h"
#include "layout/timing_panel_layout.h"
#include "persist/user_settings.h"
#include "stage/judge_windows.h"

namespace tessaru {
namespace {

namespace tl = timing_layout;

constexpr uint16_t kPanelEdge = menu_palette::kEdge;
constexpr uint16_t kPanelGround = Rgb565(18, 14, 48);
constexpr uint16_t kGraphGround = menu_palette::kGround;
constexpr uint16_t kBarFill = menu_palette::kFill;
constexpr uint16_t kBarTop = menu_palette::kTop;
constexpr uint16_t kZeroLine = Rgb565(110, 104, 160);
constexpr uint16_t kMedianLine = Rgb565(255, 255, 255);
// JUST, NEAR and FAR window edges.
constexpr uint16_t kEdgeColours[3] = {Rgb565(255, 236, 96), Rgb565(96, 224, 150), Rgb565(96, 164, 255)};
// The legend: the three window edges and the median.
constexpr uint16_t kLegendColours[4] = {kEdgeColours[0], kEdgeColours[1], kEdgeColours[2], kMedianLine};
constexpr const char* kLegendNames[4] = {"JUST", "NEAR", "FAR", "MEDIAN"};

constexpr int kGraphWidth = kHitBins * tl::kBinWidth;

// The x of a time difference on the histogram; nothing beyond its span.
std::optional<int> GraphX(int column, double ms) {
  if (ms < -kHitHistogramMs || ms > kHitHistogramMs) return std::nullopt;
  const double x = (ms + kHitHistogramMs) * tl::kBinWidth / kHitBinMs;
  return tl::kColumnX[column] + std::min(static_cast<int>(x), kGraphWidth - 1);
}

void VerticalLine(GraphLib& g, int column, double ms, uint16_t colour) {
  if (const auto x = GraphX(column, ms)) g.FillArea(BackIndex, {*x, tl::kGraphY, 1, tl::kGraphHeight}, colour);
}

void DrawHistogram(GraphLib& g, int column, const HitTiming& t, const JudgeWindows& w) {
  const int x0 = tl::kColumnX[column];
  g.FillArea(BackIndex, {x0 - 1, tl::kGraphY - 1, kGraphWidth + 2, tl::kGraphHeight + 2}, kPanelEdge);
  g.FillArea(BackIndex, {x0, tl::kGraphY, kGraphWidth, tl::kGraphHeight}, kGraphGround);
  VerticalLine(g, column, 0, kZeroLine);
  const int tallest = *std::max_element(t.Bins.begin(), t.Bins.end());
  for (int i = 0; i < kHitBins && tallest > 0; ++i) {
    const int n = t.Bins[static_cast<size_t>(i)];
    if (n == 0) continue;
    const int h = std::max(2, n * (tl::kGraphHeight - 4) / tallest);
    const int x = x0 + i * tl::kBinWidth;
    g.FillArea(BackIndex, {x, tl::kGraphY + tl::kGraphHeight - h, tl::kBinWidth - 1, h}, kBarFill);
    g.FillArea(BackIndex, {x, tl::kGraphY + tl::kGraphHeight - h, tl::kBinWidth - 1, 2}, kBarTop);
  }
  const std::array<std::pair<int32_t, int32_t>, 3> edges{{{w.WinJustEarly, w.WinJustLate},
                                                          {w.WinNearEarly, w.WinNearLate},
                                                          {w.WinFarEarly, w.WinFarLate}}};
  for (size_t k = 0; k < edges.size(); ++k) {
    VerticalLine(g, column, -edges[k].first, kEdgeColours[k]);
    VerticalLine(g, column, edges[k].second, kEdgeColours[k]);
  }
  // The median as notches above and below the box, so the bars under it stay visible.
  const auto median = t.Count > 0 ? GraphX(column, t.Median) : std::nullopt;
  if (median) {
    g.FillArea(BackIndex, {*median - 1, tl::kGraphY - 8, 3, 6}, kMedianLine);
    g.FillArea(BackIndex, {*median - 1, tl::kGraphY + tl::kGraphHeight + 2, 3, 6}, kMedianLine);
  }
  g.DrawSystemText(BackIndex, "-150", x0, tl::kAxisY, 1);
  g.DrawSystemText(BackIndex, "0", x0 + kGraphWidth / 2 - 8, tl::kAxisY, 1);
  g.DrawSystemText(BackIndex, "+150", x0 + kGraphWidth - 64, tl::kAxisY, 1);
}

void DrawSide(GraphLib& g, int column, const std::optional<HitTiming>& side, const JudgeWindows& w) {
  const int x = tl::kColumnX[column];
  const std::string who = column == 0 ? "1P " : "2P ";
  if (!side) {
    g.DrawSystemText(BackIndex, who + "COM", x, tl::kSideY, 1);
    return;
  }
  g.DrawSystemText(BackIndex, who + "PLAYER", x, tl::kSideY, 1);
  const HitTiming& t = *side;
  DrawHistogram(g, column, t, w);
  std::vector<std::string> lines{"PRESSES " + NumberText(int64_t{t.Count})};
  if (t.Count > 0) {
    lines.push_back("MEDIAN " + SignedMs(t.Median, true));
    lines.push_back("SPREAD " + SignedMs(t.SpreadLow) + ".." + SignedMs(t.SpreadHigh));
  }
  lines.push_back(t.Suggested ? "OFFSET " + SignedMs(*t.Suggested)
                              : "OFFSET NEEDS " + NumberText(int64_t{kSuggestMinPresses}));
  for (size_t k = 0; k < lines.size(); ++k) {
    g.DrawSystemText(BackIndex, lines[k], x, tl::kLinesY + static_cast<int>(k) * tl::kLineHeight, 1);
  }
}

std::string KeyLine(const TimingPanelState& s, int16_t offset) {
  using Applied = TimingPanelState::Applied;
  if (s.Result == Applied::Saved) return "OFFSET " + SignedMs(offset) + " APPLIED";
  if (s.Result == Applied::NotSaved) return "OFFSET " + SignedMs(offset) + " SET, NOT SAVED";
  if (!s.Suggestion) return "F2:CLOSE";
  if (*s.Suggestion == offset) return "F2:CLOSE  OFFSET " + SignedMs(offset) + " IS SET";
  return "F2:CLOSE  F3:SET OFFSET " + SignedMs(*s.Suggestion);
}

}  // namespace

TimingPanelState MakeTimingPanel(const StageOutcome& stage, const std::array<bool, 2>& humans) {
  TimingPanelState state;
  std::vector<double> together;
  for (int p = 0; p < 2; ++p) {
    if (!humans[static_cast<size_t>(p)]) continue;
    const std::vector<double>& deltas = stage.Players[p].PressDeltas;
    state.Sides[static_cast<size_t>(p)] = SummarizeHitTiming(deltas);
    together.insert(together.end(), deltas.begin(), deltas.end());
  }
  state.Suggestion = SummarizeHitTiming(together).Suggested;
  return state;
}

TimingPanelEvent UpdateTimingPanel(TimingPanelState& state, bool toggle, bool apply) {
  if (toggle) {
    state.Shown = !state.Shown;
    return TimingPanelEvent::None;
  }
  return state.Shown && apply && state.Suggestion ? TimingPanelEvent::Apply : TimingPanelEvent::None;
}

void ApplyTimingSuggestion(Game& game, TimingPanelState& state) {
  if (!state.Suggestion) return;
  const int16_t offset = *state.Suggestion;
  game.Settings.JUDGEOFFSET = offset;
  if (CanSaveUserFiles(game) && SaveJudgeOffset(offset, game.ProgramFolder)) {
    // The file now holds it, so nothing later takes it for an unsaved change.
    game.LoadedSettings.JUDGEOFFSET = offset;
    state.Result = TimingPanelState::Applied::Saved;
    return;
  }
  if (CanSaveUserFiles(game)) {
    game.Errors.Add(game.ProgramFolder + "\\" + std::string(kUserSettingsFile) + "の保存に失敗しました");
  }
  state.Result = TimingPanelState::Applied::NotSaved;
}

std::string SignedMs(double ms, bool tenths) {
  const int64_t units = RoundHalfEven(tenths ? ms * 10 : ms);
  const int64_t size = units < 0 ? -units : units;
  std::string text = (units < 0 ? "-" : "+") + NumberText(tenths ? size / 10 : size);
  if (tenths) text += "." + NumberText(size % 10);
  return text;
}

void DrawTimingPanel(Game& game, const TimingPanelState& state) {
  GraphLib& g = game.Graph;
  const BltArea& box = tl::kPanel;
  g.FillArea(BackIndex, {box.X - 1, box.Y - 1, box.W + 2, box.H + 2}, kPanelEdge);
  g.FillArea(BackIndex, box, kPanelGround);
  g.DrawSystemText(BackIndex, "TIMING", tl::kTitleX, tl::kTitleY, 0);
  g.DrawSystemText(BackIndex, "(MS, EARLY < 0 < LATE)", tl::kTitleX + 7 * 16, tl::kTitleY + 6, 1);
  const UserSettings& s = game.Settings;
  const JudgeWindows windows =
      SetJudgeWindows(game.Song.Bpm, s.JUDGEMODE, s.JUDGEOFFSET, game.State.Setup.SpecialFlag);
  for (int p = 0; p < 2; ++p) DrawSide(g, p, state.Sides[static_cast<size_t>(p)], windows);
  for (int k = 0; k < 4; ++k) {
    const int x = tl::kLegendX[k];
    g.FillArea(BackIndex, {x, tl::kLegendY + 6, tl::kLegendSwatch, tl::kLegendSwatch}, kLegendColours[k]);
    g.DrawSystemText(BackIndex, kLegendNames[k], x + 20, tl::kLegendY, 1);
  }
  g.DrawSystemText(BackIndex, KeyLine(state, s.JUDGEOFFSET), tl::kTitleX, tl::kKeysY, 1);
}

}  // namespace tessaru
