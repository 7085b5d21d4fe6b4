#include "core/numbers.h"

#include <gtest/gtest.h>

namespace tessaru {
namespace {

TEST(Numbers, NumberTextHasNoLeadingBlank) {
  EXPECT_EQ(NumberText(int64_t{0}) + " " + NumberText(int64_t{-42}) + " " + NumberText(int64_t{99999999}),
            "0 -42 99999999");
  const std::pair<double, const char*> cases[] = {{120.0, "120"}, {-0.0, "0"}, {137.5, "137.5"}, {0.1, "0.1"}};
  for (const auto& [x, text] : cases) EXPECT_EQ(NumberText(x), text) << x;
}

TEST(Numbers, ZeroPad) {
  struct Case { int64_t x; int width; const char* text; };
  const Case cases[] = {{7, 2, "07"}, {7, 1, "7"}, {123, 2, "123"}, {0, 3, "000"},
                        {-5, 3, "0-5"}, {42, 0, "42"}};
  for (const auto& c : cases) EXPECT_EQ(ZeroPadNumber(c.x, c.width), c.text) << c.x;
}

TEST(Numbers, RoundingHalfUpOnlyAboveHalfAndHalfToEven) {
  struct Case { double x; int64_t up, even; };
  const Case cases[] = {{2.5, 2, 2},   {2.5000001, 3, 3}, {2.4, 2, 2}, {3.5, 3, 4}, {-2.5, -3, -2},
                        {-2.6, -3, -3}, {-2.4, -2, -2},    {0.0, 0, 0}, {3.0, 3, 3}};
  for (const auto& c : cases) {
    EXPECT_EQ(RoundHalfUp(c.x), c.up) << c.x;
    EXPECT_EQ(RoundHalfEven(c.x), c.even) << c.x;
  }
}

TEST(Numbers, FloorModTakesTheDivisorsSign) {
  struct Case { int64_t a, b, want; };
  const Case cases[] = {{7, 3, 1}, {-7, 3, 2}, {7, -3, -2}, {-7, -3, -1},
                        {6, 3, 0}, {-6, 3, 0}, {5, 0, 0}};
  for (const auto& c : cases) EXPECT_EQ(FloorMod(c.a, c.b), c.want) << c.a << " " << c.b;
  EXPECT_DOUBLE_EQ(FloorMod(-1.5, 1.0), 0.5);
  EXPECT_DOUBLE_EQ(FloorMod(1.5, 0.0), 0.0);
}

TEST(Numbers, LeadingNumber) {
  const std::pair<const char*, double> cases[] = {{"  12abc", 12.0}, {"-3.5x", -3.5}, {"abc", 0.0}, {"", 0.0},
                                                  {"1.2.3", 1.2}};
  for (const auto& [text, want] : cases) EXPECT_DOUBLE_EQ(LeadingNumber(text), want) << text;
}

}  // namespace
}  // namespace tessaru
