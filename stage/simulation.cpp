#include "stage/simulation.h"

#include <algorithm>
#include <cmath>

#include "stage/song_clock.h"
#include "stage/tempo_map.h"

namespace tessaru {
namespace {

class VirtualTicks final : public TickSource {
 public:
  uint32_t NowMs() override { return now; }
  uint32_t now = 0;
};

constexpr double kGraceMs = 60000;

}  // namespace

bool RunSimulation(Stage& stage, std::span<const ScriptedPress> presses, int32_t maxMs) {
  VirtualTicks ticks;
  SongClock clock(nullptr, ticks, stage.Song().BgmOffset);
  clock.Start(stage.SongTime());
  const double limit = std::min<double>(StepToTime(stage.Song(), stage.StepLimit()) + kGraceMs, maxMs);
  size_t next = 0;
  while (stage.EndState() == 0) {
    const int32_t now = clock.Read();
    if (now > limit) return false;
    // Each press is judged before the steps after it are scheduled.
    for (; next < presses.size() && presses[next].TimeMs <= now; ++next) {
      const ScriptedPress& press = presses[next];
      stage.Update(static_cast<int32_t>(std::floor(press.TimeMs)));
      stage.Press(press.Player, press.Lane, press.TimeMs);
    }
    stage.Update(now);
    ++ticks.now;
  }
  return true;
}

}  // namespace tessaru
