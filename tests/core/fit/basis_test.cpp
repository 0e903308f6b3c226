#include "core/fit/basis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/fitted_model.h"

namespace quon {
namespace {

ProblemModel OneVariable(bool trig, double lower, double upper, double center, double period,
                         int32_t lastTerm) {
  return testing::SpecifiedModel({{"x", trig, lastTerm + 1, lower, upper, center, period}});
}

// Row j: 1, then the powers of node j's distance from the centre; a power variable's
// period plays no part.
TEST(BuildBasisMatrix, PowersAreRepeatedProductsWhateverThePeriod) {
  const BasisMatrix m = BuildBasisMatrix(OneVariable(false, -1.0, 1.7, 0.2, 7.0, 6), 0);
  ASSERT_EQ(m.size(), 7);
  for (int32_t j = 0; j <= 6; ++j) {
    const double arg = static_cast<double>(j) * ((1.7 - -1.0) / 6) + (-1.0 - 0.2);
    EXPECT_EQ(m(j, 0), 1.0) << j;
    double power = 1.0;
    for (int32_t c = 1; c <= 6; ++c) {
      power = power * arg;
      EXPECT_EQ(m(j, c), power) << j << "," << c;
    }
  }
}

TEST(BuildBasisMatrix, ThreeTrigTermsOverOnePeriodFromZero) {
  const double pi = 4.0 * std::atan(1.0);
  const BasisMatrix m = BuildBasisMatrix(OneVariable(true, 0.0, 2 * pi, 0.0, pi + pi, 2), 0);
  const double nodes[] = {0.0, pi, 2 * pi};
  for (int32_t j = 0; j < 3; ++j) {
    EXPECT_EQ(m(j, 0), 1.0);
    EXPECT_EQ(m(j, 1), std::sin(nodes[j]));
    EXPECT_EQ(m(j, 2), std::cos(nodes[j]));
  }
  EXPECT_NE(m(1, 1), 0.0);  // the rounding residue of sin(pi) is kept
  EXPECT_NE(m(2, 1), 0.0);
}

TEST(BuildBasisMatrix, FourTrigTermsEndWithTheSecondSine) {
  const double period = 3.0;
  const BasisMatrix m = BuildBasisMatrix(OneVariable(true, -1.0, 2.0, 0.5, period, 3), 0);
  const double omega = 8.0 * std::atan(1.0) / period;
  for (int32_t j = 0; j <= 3; ++j) {
    const double arg = (static_cast<double>(j) * 1.0 + -1.5) * omega;
    EXPECT_EQ(m(j, 1), std::sin(arg));
    EXPECT_EQ(m(j, 2), std::cos(arg));
    EXPECT_EQ(m(j, 3), std::sin(arg + arg));
  }
}

TEST(BuildBasisMatrix, NodeAtTheCentreGivesOneFollowedByZeros) {
  const BasisMatrix m = BuildBasisMatrix(OneVariable(false, -2.0, 2.0, 0.0, 0.0, 4), 0);
  EXPECT_EQ(m(2, 0), 1.0);
  for (int32_t c = 1; c <= 4; ++c) EXPECT_EQ(m(2, c), 0.0);
}

TEST(BuildBasisMatrix, ZeroPeriodGivesNonFiniteEntriesNotACrash) {
  const BasisMatrix m = BuildBasisMatrix(OneVariable(true, 0.0, 1.0, 0.0, 0.0, 2), 0);
  EXPECT_TRUE(std::isnan(m(0, 1)));  // 0 * infinity
  EXPECT_FALSE(std::isfinite(m(1, 1)));
}

TEST(CheckBasisMatrixSize, RefusesWhatCannotBeAllocated) {
  EXPECT_NO_THROW(CheckBasisMatrixSize(48));
  EXPECT_NO_THROW(CheckBasisMatrixSize(46340));
  EXPECT_THROW(CheckBasisMatrixSize(46341), GridTooLarge);
  EXPECT_THROW(CheckBasisMatrixSize(int64_t{1} << 31), GridTooLarge);
  EXPECT_THROW(CheckBasisMatrixSize(0), GridTooLarge);
}

}  // namespace
}  // namespace quon
