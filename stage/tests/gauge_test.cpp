#include "stage/gauge.h"

#include <gtest/gtest.h>

#include <vector>

#include "stage/judgement.h"
#include "stage/tests/stage_fixtures.h"

namespace tessaru {
namespace {

TEST(ApplyGauge, RulesPerStyle) {
  // Block 0 holds 10 chips for player 0 and 4 for player 1; block 1 none for player 1.
  ChipDensityTable density{std::vector<int16_t>{10, 8}, std::vector<int16_t>{4, 0}};
  GaugeRules versus;
  GaugeRules handicap;
  handicap.HandicapOpt = {2, 0};  // m = 2
  GaugeRules pair;
  pair.PlayStyle = 1;
  pair.PartnerSkill = 50;
  pair.ChipTotal = {200, 0};
  GaugeRules pairNoSkill = pair;
  pairNoSkill.PartnerSkill = 0;
  GaugeRules survival;
  survival.PlayStyle = 3;
  survival.PartnerSkill = 10;
  survival.MenuSub = 1;
  GaugeRules survivalOne;  // side 0 counts
  survivalOne.PlayStyle = 3;
  survivalOne.PartnerSkill = 1;
  struct Case { const char* name; GaugeRules rules; std::array<int16_t, 2> before; int p; GaugeEvent kind;
                std::array<int16_t, 2> after; };
  const std::vector<Case> cases = {
      {"just gains 100/N, the rival loses 75/N", versus, {500, 500}, 0, GaugeJust, {510, 493}},
      {"near below 250 gains 100/N", versus, {200, 500}, 0, GaugeNear, {210, 500}},
      {"near below 750 gains 50/N", versus, {500, 500}, 0, GaugeNear, {505, 500}},
      {"near at 900 gains nothing", versus, {900, 500}, 0, GaugeNear, {900, 500}},
      {"far changes nothing", versus, {500, 500}, 0, GaugeFar, {500, 500}},
      {"blank costs 5", versus, {500, 500}, 0, GaugeBlank, {495, 500}},
      {"miss costs 13", versus, {500, 500}, 1, GaugeMiss, {500, 487}},
      {"bonus fills a quarter of the rest", versus, {600, 800}, 0, GaugeBonus, {700, 760}},
      {"gauges clamp at 1000", versus, {995, 5}, 0, GaugeJust, {1000, 0}},
      {"gauges clamp at 0", versus, {10, 500}, 0, GaugeMiss, {0, 500}},
      {"handicap doubles the gain", handicap, {500, 500}, 0, GaugeJust, {520, 485}},
      {"handicap deepens the bonus damage", handicap, {600, 800}, 0, GaugeBonus, {700, 720}},
      {"player 1 uses its own density", versus, {500, 500}, 1, GaugeJust, {482, 525}},
      {"pair: just", pair, {0, 0}, 0, GaugeJust, {6, 0}},
      {"pair: near", pair, {0, 0}, 0, GaugeNear, {2, 0}},
      {"pair: far", pair, {0, 0}, 0, GaugeFar, {1, 0}},
      {"pair: bonus", pair, {0, 0}, 0, GaugeBonus, {11, 0}},
      {"pair: miss changes nothing", pair, {300, 0}, 0, GaugeMiss, {300, 0}},
      {"pair: caps at 1000", pair, {998, 0}, 0, GaugeJust, {1000, 0}},
      {"pair: no chip total gains nothing", pair, {300, 0}, 1, GaugeJust, {300, 0}},
      {"pair: no rival skill fills at once", pairNoSkill, {0, 0}, 0, GaugeNear, {1000, 0}},
      {"survival: other side ignored", survival, {500, 1000}, 0, GaugeMiss, {500, 1000}},
      {"survival: miss costs the skill", survival, {500, 1000}, 1, GaugeMiss, {490, 1000}},
      {"survival: far costs skill/4 rounded", survival, {500, 1000}, 1, GaugeFar, {498, 1000}},
      {"survival: bonus gives 1", survival, {500, 1000}, 1, GaugeBonus, {501, 1000}},
      {"survival: just gives nothing", survival, {500, 1000}, 1, GaugeJust, {500, 1000}},
      {"survival: far costs at least 1", survivalOne, {500, 1000}, 0, GaugeFar, {499, 1000}},
  };
  for (const auto& c : cases) {
    auto gauge = c.before;
    ApplyGauge(gauge, c.rules, density, c.p, c.kind, 0);
    EXPECT_EQ(gauge, c.after) << c.name;
  }
  // A block where either player has no chips changes nothing in style 0.
  std::array<int16_t, 2> gauge{500, 500};
  ApplyGauge(gauge, versus, density, 0, GaugeMiss, 1);
  ApplyGauge(gauge, versus, density, 0, GaugeMiss, 99);
  EXPECT_EQ(gauge, (std::array<int16_t, 2>{500, 500}));
}

TEST(ChipDensity, CountsChipStepsPerBlock) {
  const PartRecord part = testing::MakePart(6, {{0, 1}, {31, 2}, {32, 3}, {95, 4}});
  const auto density = BuildChipDensity(part.StepWords, 6);
  EXPECT_EQ(density, (std::vector<int16_t>{2, 1, 1, 0, 0}));  // blocks 0..6/2+1
  EXPECT_EQ(BuildChipDensity(part.StepWords, 1).size(), 2u);   // a shorter song cuts the chart
  EXPECT_EQ(BuildChipDensity(part.StepWords, -3).size(), 2u);
}

TEST(DamageBlockTarget, OneBlockPer25PointsMissing) {
  for (auto [gauge, blocks] : {std::pair{1000, 0}, {976, 0}, {975, 1}, {0, 40}}) {
    EXPECT_EQ(DamageBlockTarget(static_cast<int16_t>(gauge)), blocks) << gauge;
  }
}

}  // namespace
}  // namespace tessaru
