#include "flow/free_mode_setting.h"

#include <string>

#include "content/data_files.h"
#include "flow/flow_rules.h"
#include "flow/menu_sound.h"
#include "flow/screen_frame.h"
#include "layout/menu_screens.h"
#include "flow/screen_names.h"

namespace tessaru {
namespace {

bool Played(const SpecialPlayCounts& plays, int mode) { return plays[static_cast<size_t>(mode)] > 0; }

bool VanishOpen(const SpecialPlayCounts& p) { return Played(p, 25); }
bool HiSpeedOpen(const SpecialPlayCounts& p) { return Played(p, 24); }
bool DoubleOpen(const SpecialPlayCounts& p) { return Played(p, 6); }
bool RapidOpen(const SpecialPlayCounts& p) { return Played(p, 22); }

constexpr int16_t kHiSpeed = 5;
constexpr int16_t kMaxColor = 3;
constexpr int16_t kMaxLane = 7;

int16_t StepLane(int16_t value, const SpecialPlayCounts& plays) {
  ++value;
  if (value == kHiSpeed && !HiSpeedOpen(plays)) ++value;
  return value > kMaxLane ? int16_t{0} : value;
}

constexpr std::string_view kRowTitles[kFreeRows] = {"MODE",   "HANDICAP", "COLOR", "BRIND",
                                                    "RANDOM", "TIMING",   "STYLE", "START"};

}  // namespace

bool FreeRowShown(int row, const SpecialPlayCounts& plays) {
  switch (row) {
    case kRowColor: return Played(plays, 0) && Played(plays, 1);
    case kRowVisibility: return Played(plays, 4) && Played(plays, 5);
    case kRowLane: return Played(plays, 2);
    case kRowTiming: return Played(plays, 3);
    default: return row >= 0 && row < kFreeRows;
  }
}

int NextFreeRow(int row, int direction, const SpecialPlayCounts& plays) {
  for (int i = 0; i < kFreeRows; ++i) {
    row = (row + direction + kFreeRows) % kFreeRows;
    if (FreeRowShown(row, plays)) return row;
  }
  return row;
}

void ChangeFreeSetting(FreeSettings& s, int row, int column, const SpecialPlayCounts& plays) {
  if (row == kRowStyle) {
    if (column == 0) {
      int16_t& style = s[12];
      style = static_cast<int16_t>(style + 1);
      if (style == 1 && !DoubleOpen(plays)) style = 2;
      if (style > 2) style = 0;
    } else if (RapidOpen(plays)) {
      s[13] = s[13] == 0 ? int16_t{1} : int16_t{0};
    }
    return;
  }
  if (row < 0 || row >= kRowStyle || column < 0 || column > 1) return;
  int16_t& v = s[static_cast<size_t>(2 * row + column)];
  switch (row) {
    case kRowMode:
    case kRowTiming: v = v >= 1 ? int16_t{0} : int16_t{1}; break;
    case kRowHandicap: v = v >= kMaxHandicap ? int16_t{0} : static_cast<int16_t>(v + 1); break;
    case kRowColor: v = v >= kMaxColor ? int16_t{0} : static_cast<int16_t>(v + 1); break;
    case kRowVisibility: {
      const int16_t last = VanishOpen(plays) ? 4 : 3;
      v = v >= last ? int16_t{0} : static_cast<int16_t>(v + 1);
      break;
    }
    case kRowLane: {
      int16_t& other = s[static_cast<size_t>(2 * row + (1 - column))];
      const bool wasHiSpeed = v == kHiSpeed;
      v = StepLane(v, plays);
      // HI-SPEED changes the whole song's resolution, so it holds for both sides or none.
      if (v == kHiSpeed || (wasHiSpeed && other == kHiSpeed)) other = v;
      break;
    }
    default: break;
  }
}

FreeSettings FreeSettingsFromState(const StageSetup& st) {
  FreeSettings s{};
  for (int p = 0; p < 2; ++p) {
    const auto i = static_cast<size_t>(p);
    s[0 + i] = st.ComSkill[i] < 0 ? int16_t{0} : int16_t{1};
    s[2 + i] = st.HandicapOpt[i];
    s[4 + i] = st.ColorOpt[i];
    s[6 + i] = st.VisibilityOpt[i];
    s[8 + i] = st.LaneOpt[i];
    s[10 + i] = st.TimingOpt[i];
  }
  s[1] = 1;
  s[12] = st.PlayStyle;
  s[13] = st.RapidMode;
  return s;
}

void ApplyFreeSettings(const FreeSettings& s, StageSetup& st, int16_t difficulty) {
  const int16_t skill = ComSkillForStage(difficulty, 0);
  st.PlayStyle = s[12];
  st.RapidMode = s[13];
  if (st.PlayStyle > 0) st.ComSkill[2] = skill;
  for (size_t p = 0; p < 2; ++p) {
    st.ComSkill[p] = s[0 + p] == 1 ? skill : int16_t{-1};
    st.HandicapOpt[p] = s[2 + p];
    st.ColorOpt[p] = s[4 + p];
    st.VisibilityOpt[p] = s[6 + p];
    st.LaneOpt[p] = s[8 + p];
    st.TimingOpt[p] = s[10 + p];
    st.AssistFlag[p] = 0;
  }
}

std::string FreeSettingLabel(int row, int16_t v) {
  static constexpr std::string_view kColor[] = {"", "COLOR", "GRAY", "SILVER"};
  static constexpr std::string_view kVisibility[] = {"", "SUDDEN", "HIDDEN", "BRIND", "VANISH"};
  static constexpr std::string_view kLane[] = {"",         "MIRROR", "RANDOM", "SCRAMBLE",
                                               "2COLORS", "HI-SPEED", "PANIC", "SCRATCH"};
  static constexpr std::string_view kStyle[] = {"VERSUS", "DOUBLE", "SESSION"};
  const auto pick = [v](const auto& table) -> std::string {
    const size_t n = std::size(table);
    return v >= 0 && static_cast<size_t>(v) < n ? std::string(table[static_cast<size_t>(v)]) : std::string();
  };
  switch (row) {
    case kRowMode: return v == 0 ? "HUMAN" : "COMPUTER";
    case kRowHandicap: return v <= 0 ? "NONE" : std::string(static_cast<size_t>(v), '*');
    case kRowColor: return pick(kColor);
    case kRowVisibility: return pick(kVisibility);
    case kRowLane: return pick(kLane);
    case kRowTiming: return v == 1 ? "TIMING" : "";
    case kRowStyle: return pick(kStyle);
    default: return "";
  }
}

ScreenEvent Update(FreeSettingScreen& s, const MenuButtons& b, uint32_t /*now*/) {
  const ScreenEvent leave = LeaveEvent(b);
  if (leave != ScreenEvent::None) return leave;
  ScreenEvent e = ScreenEvent::None;
  if (b.AnyUp() || b.AnyDown()) {
    s.Row = NextFreeRow(s.Row, b.AnyUp() ? -1 : 1, s.Plays);
    if (s.Row == kRowStyle && s.Column == 1 && !RapidOpen(s.Plays)) s.Column = 0;
    e = ScreenEvent::Moved;
  } else if (b.AnyLeft() || b.AnyRight()) {
    const int columns = s.Row < kRowStyle ? 2 : (s.Row == kRowStyle && RapidOpen(s.Plays) ? 2 : 1);
    s.Column = columns > 1 ? 1 - s.Column : 0;
    e = ScreenEvent::Moved;
  }
  if (b.AnyDecide()) {
    if (s.Row == kRowStart) return ScreenEvent::Decided;
    ChangeFreeSetting(s.Values, s.Row, s.Column, s.Plays);
    e = ScreenEvent::Changed;
  }
  return e;
}

void Draw(const FreeSettingScreen& s, GraphLib& g, int16_t blink) {
  namespace at = menu_layout::free_setting;
  g.DrawSystemText(BackIndex, "FREE MODE SETTING", at::kHeading.X, at::kHeading.Y, 0);
  g.DrawSystemText(BackIndex, "CURSOR KEY:MOVE CURSOR  ENTER:CHANGE", at::kHelp.X, at::kHelp.Y, 1);
  g.DrawSystemText(BackIndex, "F1 : EXIT", at::kExitHelp.X, at::kExitHelp.Y, 1);
  g.DrawSystemText(BackIndex, "PLAYER 1", at::kSideX[0], at::kHeadY, 1);
  g.DrawSystemText(BackIndex, "PLAYER 2", at::kSideX[1], at::kHeadY, 1);
  int y = at::kFirstRowY;
  for (int r = 0; r < kFreeRows; ++r) {
    if (!FreeRowShown(r, s.Plays)) continue;
    const bool here = r == s.Row;
    const bool cursorShown = here && blink == 0;
    g.DrawSystemText(BackIndex, kRowTitles[r], at::kTitleX + at::kLabelIndent, y, 0);
    if (r < kRowStyle) {
      for (int p = 0; p < 2; ++p) {
        const std::string label = FreeSettingLabel(r, s.Values[static_cast<size_t>(2 * r + p)]);
        g.DrawSystemText(BackIndex, label.empty() ? "-" : label, at::kSideX[p] + at::kLabelIndent, y, 0);
        if (cursorShown && s.Column == p) g.DrawSystemText(BackIndex, ">", at::kSideX[p], y, 0);
      }
    } else if (r == kRowStyle) {
      g.DrawSystemText(BackIndex, FreeSettingLabel(r, s.Values[12]), at::kSideX[0] + at::kLabelIndent, y, 0);
      if (s.Values[13] == 1) g.DrawSystemText(BackIndex, "RAPID", at::kSideX[1] + at::kLabelIndent, y, 0);
      if (cursorShown) g.DrawSystemText(BackIndex, ">", at::kSideX[s.Column], y, 0);
    } else if (cursorShown) {
      g.DrawSystemText(BackIndex, ">", at::kTitleX, y, 0);
    }
    y += r == kRowStyle ? at::kRowHeight + at::kStyleGap : at::kRowHeight;
  }
}

int16_t FreeModeSetting(Game& game, int16_t keep) {
  ScreenPages pages(game);
  const SurfaceIndex back = game.Settings.DRAWING < 3 ? pages.Load(data_files::kMenuBack) : -1;
  FreeSettingScreen s;
  s.Plays = game.Records.SpecialPlays;
  if (keep == 1) {
    s.Values = FreeSettingsFromState(game.State.Setup);
  } else {
    s.Values[1] = 1;
  }

  ScreenFrame frame(game, screen_name::kFreeModeSetting);
  for (;;) {
    const MenuButtons& b = frame.Poll();  // before Now(): the poll lets time pass
    const ScreenEvent e = Update(s, b, frame.Now());
    PlayEventSound(game, e);
    if (e == ScreenEvent::Decided) {
      ApplyFreeSettings(s.Values, game.State.Setup, game.Settings.DIFFICULTY);
      return 1;
    }
    if (frame.DrawDue()) {
      frame.DrawBackground(back);
      Draw(s, game.Graph, frame.Blink());
      frame.Show();
    }
    if (IsLeaving(e)) return frame.Leave(e);
  }
}

}  // namespace tessaru
