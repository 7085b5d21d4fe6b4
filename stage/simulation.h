#pragma once
// Plays a whole stage with no device and no real time: the tick clock advances 1 ms per
// iteration (there is no track), and scripted presses are judged at their own times.
// Used by the simulate command and the benchmarks.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stage/stage.h"

namespace tessaru {

struct ScriptedPress {
  double TimeMs = 0;
  int Player = 0;
  int16_t Lane = 1;
};

// Player 1's presses from a script of lines "songTimeMs,lane" in time order (blank lines
// allowed). On a bad line, error names the line and nothing is returned.
std::vector<ScriptedPress> ParsePressScript(std::string_view text, std::string& error);

// Twelve hours of song time: far beyond any real song, short enough to give up on a
// tempo map that would never finish.
inline constexpr int32_t kSimulationMaxMs = 12 * 3600 * 1000;

// Runs until the stage ends. Presses must be in time order. False when the stage had not
// ended a minute after its last step was due, or by maxMs.
bool RunSimulation(Stage& stage, std::span<const ScriptedPress> presses, int32_t maxMs = kSimulationMaxMs);

}  // namespace tessaru
