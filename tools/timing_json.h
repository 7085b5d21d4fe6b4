#pragma once
// A side's hit timing as the stage commands print it: {"Median", "Spread", "Suggested"},
// each null when there is too little to say it.
#include <nlohmann/json.hpp>
#include <span>

namespace tessaru {

nlohmann::ordered_json TimingJson(std::span<const double> deltas);

}  // namespace tessaru
