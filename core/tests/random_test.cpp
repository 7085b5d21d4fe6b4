#include "core/random.h"

#include <gtest/gtest.h>

#include <array>

namespace tessaru {
namespace {

TEST(Random, SeededSequencesRepeat) {
  Random a(42), b(42), c(43);
  bool differs = false;
  for (int i = 0; i < 100; ++i) {
    const double x = a.Uniform();
    EXPECT_EQ(x, b.Uniform());
    differs |= (x != c.Uniform());
  }
  EXPECT_TRUE(differs);
}

TEST(Random, DrawsStayInRangeAndCoverIt) {
  Random r(7);
  std::array<int, 4> seen{};
  for (int i = 0; i < 4000; ++i) {
    const int d = r.Draw(4);
    ASSERT_TRUE(d >= 0 && d < 4) << d;
    ++seen[static_cast<size_t>(d)];
    const double u = r.Uniform();
    ASSERT_TRUE(u >= 0.0 && u < 1.0) << u;
  }
  for (int count : seen) EXPECT_GT(count, 800);
  EXPECT_EQ(r.Draw(0), 0);
  EXPECT_EQ(r.Draw(-3), 0);
}

}  // namespace
}  // namespace tessaru
