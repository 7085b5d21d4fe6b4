#include "stage/gauge.h"

#include <algorithm>
#include <cmath>

#include "content/song_record.h"
#include "core/numbers.h"
#include "stage/judgement.h"

namespace tessaru {
namespace {

constexpr int kStepsPerBlock = 32;

int16_t Clamp1000(int32_t x) { return static_cast<int16_t>(std::clamp(x, 0, 1000)); }

int32_t FloorInt(double x) { return static_cast<int32_t>(std::floor(x)); }

int16_t DensityAt(const std::vector<int16_t>& table, int32_t block) {
  if (block < 0 || static_cast<size_t>(block) >= table.size()) return 0;
  return table[static_cast<size_t>(block)];
}

void VersusGauge(std::array<int16_t, 2>& gauge, const GaugeRules& rules,
                 const ChipDensityTable& density, int p, GaugeEvent kind, int32_t block) {
  const int q = (p + 1) % 2;
  const int16_t np = DensityAt(density[p], block);
  const int16_t nq = DensityAt(density[q], block);
  if (np == 0 || nq == 0) return;
  const double m = rules.HandicapOpt[p] / 2.0 + 1.0;
  int32_t mine = gauge[p];
  int32_t theirs = gauge[q];
  switch (kind) {
    case GaugeJust:
      mine += FloorInt(100.0 / np * m);
      theirs -= FloorInt(75.0 / np * m);
      break;
    case GaugeNear:
      if (mine < 250) {
        mine += FloorInt(100.0 / np * m);
      } else if (mine < 750) {
        mine += FloorInt(50.0 / np * m);
      }
      break;
    case GaugeBlank:
      mine -= 5;
      break;
    case GaugeMiss:
      mine -= 13;
      break;
    case GaugeBonus:
      mine += (1000 - mine) / 4;
      theirs = static_cast<int32_t>(std::trunc(theirs * (1.0 - 0.05 * m)));
      break;
    default:
      break;
  }
  gauge[p] = Clamp1000(mine);
  gauge[q] = Clamp1000(theirs);
}

// One shared gauge that fills up; the gain scales with the part's chip total and
// shrinks as the computer rival gets stronger.
void PairGauge(std::array<int16_t, 2>& gauge, const GaugeRules& rules, int p, GaugeEvent kind) {
  const double t = rules.ChipTotal[p];
  const double k = rules.PartnerSkill;
  auto gain = [&](double base, bool plusOne) -> int32_t {
    if (k <= 0) return plusOne ? 1001 : 1000;
    // A part without a chip total has nothing to scale by: it gains nothing.
    if (t <= 0) return 0;
    const int32_t g = FloorInt(base / t * 100.0 / k);
    return plusOne ? std::max(1, g + 1) : std::max(0, g);
  };
  int32_t g0 = gauge[0];
  switch (kind) {
    case GaugeJust: g0 += gain(500, true); break;
    case GaugeNear: g0 += gain(250, false); break;
    case GaugeFar: g0 += gain(125, false); break;
    case GaugeBonus: g0 += gain(1000, true); break;
    default: break;
  }
  gauge[0] = static_cast<int16_t>(std::min(g0, 1000));
}

void SurvivalGauge(std::array<int16_t, 2>& gauge, const GaugeRules& rules, int p, GaugeEvent kind) {
  if (p != rules.MenuSub) return;
  int32_t g0 = gauge[0];
  switch (kind) {
    case GaugeFar:
      g0 -= std::max<int32_t>(1, static_cast<int32_t>(RoundHalfUp(rules.PartnerSkill / 4.0)));
      break;
    case GaugeMiss: g0 -= rules.PartnerSkill; break;
    case GaugeBonus: g0 += 1; break;
    default: break;
  }
  gauge[0] = Clamp1000(g0);
}

}  // namespace

std::vector<int16_t> BuildChipDensity(std::span<const int16_t> stepWords, int16_t bars) {
  const int32_t blocks = std::max<int32_t>(0, bars) / 2 + 2;
  std::vector<int16_t> density(static_cast<size_t>(blocks), 0);
  for (size_t s = 0; s < stepWords.size(); ++s) {
    const size_t b = s / kStepsPerBlock;
    if (b >= density.size()) break;
    if (stepWords[s] >= 1 && stepWords[s] <= 4) ++density[b];
  }
  return density;
}

void ApplyGauge(std::array<int16_t, 2>& gauge, const GaugeRules& rules,
                const ChipDensityTable& density, int p, GaugeEvent kind, int32_t block) {
  if (p < 0 || p > 1) return;
  switch (rules.PlayStyle) {
    case 0: VersusGauge(gauge, rules, density, p, kind, block); break;
    case 1:
    case 2: PairGauge(gauge, rules, p, kind); break;
    case 3: SurvivalGauge(gauge, rules, p, kind); break;
    default: break;
  }
}

PerPlayer<int16_t> InitialGauges(int16_t playStyle, int32_t runLife0) {
  switch (playStyle) {
    case 1:
    case 2: return {0, 0};
    case 3: return {runLife0 > 0 ? Clamp1000(runLife0) : int16_t{1000}, 1000};
    default: return {1000, 1000};
  }
}

int16_t DamageBlockTarget(int16_t gauge) {
  return static_cast<int16_t>(std::clamp((1000 - gauge) / 25, 0, 40));
}

}  // namespace tessaru
