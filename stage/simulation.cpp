#include "stage/simulation.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/text.h"
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

template <typename T>
bool ParseWhole(std::string_view text, T& value) {
  text = TrimBlanks(text, " \t\r");
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::vector<ScriptedPress> ParsePressScript(std::string_view text, std::string& error) {
  std::vector<ScriptedPress> presses;
  error.clear();
  int lineNumber = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = TrimBlanks(text.substr(0, end), " \t\r");
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (line.empty()) continue;
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    const size_t comma = line.find(',');
    ScriptedPress press;
    int lane = 0;
    if (comma == std::string_view::npos || !ParseWhole(line.substr(0, comma), press.TimeMs) ||
        !ParseWhole(line.substr(comma + 1), lane)) {
      error = where + "expected \"songTimeMs,lane\"";
      return {};
    }
    if (!std::isfinite(press.TimeMs) || press.TimeMs < 0 || press.TimeMs > kSimulationMaxMs) {
      error = where + "time out of range";
      return {};
    }
    if (lane < 1 || lane > 4) {
      error = where + "lane must be 1 to 4";
      return {};
    }
    if (!presses.empty() && press.TimeMs < presses.back().TimeMs) {
      error = where + "presses must be in time order";
      return {};
    }
    press.Lane = static_cast<int16_t>(lane);
    presses.push_back(press);
  }
  return presses;
}

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
