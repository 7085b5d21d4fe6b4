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
    ASSERT_GE(d, 0);
    ASSERT_LT(d, 4);
    ++seen[static_cast<size_t>(d)];
  }
  for (int count : seen) EXPECT_GT(count, 800);
  EXPECT_EQ(r.Draw(0), 0);
  EXPECT_EQ(r.Draw(-3), 0);
  for (int i = 0; i < 1000; ++i) {
    const double u = r.Uniform();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
}

}  // namespace
}  // namespace tessaru
