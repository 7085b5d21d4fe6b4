#pragma once
// The timing panel of the free-mode results: F2 shows or hides it over the results, and
// while it is shown F3 sets JUDGEOFFSET to the suggested offset and saves it. Hidden, the
// panel changes nothing on the screen and takes no key but F2. Function keys, because
// the lanes, decide, Tab and F1 all mean something on the screens around a stage.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "flow/game.h"
#include "stage/hit_timing.h"

namespace tessaru {

struct TimingPanelState {
  bool Shown = false;
  // Per side: its presses' timing; empty for a computer or a replay.
  std::array<std::optional<HitTiming>, 2> Sides;
  // What F2 would set: both human sides' presses together, as one offset serves both.
  std::optional<int16_t> Suggestion;
  enum class Applied { No, Saved, NotSaved } Result = Applied::No;
};

enum class TimingPanelEvent { None, Apply };

// The panel for the last stage's presses of each human side.
TimingPanelState MakeTimingPanel(const StageOutcome& stage, const std::array<bool, 2>& humans);

// toggle: F2; apply: F3. Apply is asked for only while the panel is shown and has a
// suggestion.
TimingPanelEvent UpdateTimingPanel(TimingPanelState& state, bool toggle, bool apply);

// Sets JUDGEOFFSET and writes that key alone to "user.ini" when the player's folder can
// be saved to; a failed write is logged.
void ApplyTimingSuggestion(Game& game, TimingPanelState& state);

// "+12", "-3", "+0" ("+12.3" with tenths): a difference in ms as the panel shows it.
std::string SignedMs(double ms, bool tenths = false);

void DrawTimingPanel(Game& game, const TimingPanelState& state);

}  // namespace tessaru
