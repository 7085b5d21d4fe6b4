#pragma once
// PlayStage: one stage on the real devices, from the loading screen to the result and
// the continue / game-over sequence.
//
// Result codes: -1 Esc (QuitRequested set) or a stage that could not be set up; -2 a
// player pressed to continue while the continue prompt was up; -3 pressed during the
// game-over screen's window (3 to 8 s); otherwise 0.
//
// A stage is lost, and leads into the continue prompt, when in style 0 every human
// player was knocked out, in styles 1 and 2 the shared gauge never reached 1000, and in
// style 3 the gauge ran out.
#include <cstdint>

#include "stage/play/stage_context.h"

namespace tessaru {

inline constexpr int32_t kContinueWindowMs = 11000;
inline constexpr int32_t kGameOverOpensMs = 3000;
inline constexpr int32_t kGameOverClosesMs = 8000;

int16_t PlayStage(StageContext& context);

// Whether a finished stage counts as lost (see above); humans[p] says which players are
// human.
bool StageLost(int16_t playStyle, int16_t endState, const std::array<bool, 2>& humans,
               const std::array<int16_t, 2>& knockedOut, int16_t gauge0);

}  // namespace tessaru
