#pragma once
// The gauge rules of the four play styles, as pure functions over the two gauges.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "stage/judgement.h"

namespace tessaru {

// Steps with a chip per 32-step block, for each player's chart (blocks 0..Bars/2+1).
using ChipDensityTable = PerPlayer<std::vector<int16_t>>;

// Counts, per block of 32 steps, the steps of the chart that carry a chip.
std::vector<int16_t> BuildChipDensity(std::span<const int16_t> stepWords, int16_t bars);

struct GaugeRules {
  int16_t PlayStyle = 0;
  PerPlayer<int16_t> HandicapOpt{0, 0};
  int16_t PartnerSkill = 99;                // ComSkill(2), the pair styles' partner
  PerPlayer<int16_t> ChipTotal{0, 0};   // of each player's part
  int16_t MenuSub = 0;                      // the side whose events count in style 3
};

// Applies one gauge event of player p in block `block` to both gauges (Gauge(0), Gauge(1)).
void ApplyGauge(std::array<int16_t, 2>& gauge, const GaugeRules& rules,
                const ChipDensityTable& density, int p, GaugeEvent kind, int32_t block);

// Gauges at the start of a stage. runLife0 is RunLife(0), the gauge carried by style 3.
PerPlayer<int16_t> InitialGauges(int16_t playStyle, int32_t runLife0);

// Damage blocks shown for a gauge: one per 25 points missing from 1000.
int16_t DamageBlockTarget(int16_t gauge);

}  // namespace tessaru
