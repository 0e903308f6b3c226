// The conditioning estimate: close to the true condition number, a warning for many power
// terms and for a trigonometric interval of exactly one period, none for few terms.
#include "core/fit/basis_condition.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/fitted_model.h"

namespace quon {
namespace {

ProblemModel OneVariable(bool trig, int32_t terms, double lower, double upper, double center,
                         double period) {
  return testing::SpecifiedModel({{"x", trig, terms, lower, upper, center, period}});
}

// The 1-norm of the inverse by Gauss-Jordan elimination, for comparison.
double ExactInverseNorm(BasisMatrix m) {
  const int32_t n = m.size();
  BasisMatrix inverse(n);
  for (int32_t i = 0; i < n; ++i) inverse(i, i) = 1.0;
  for (int32_t p = 0; p < n; ++p) {
    int32_t best = p;
    for (int32_t r = p + 1; r < n; ++r) {
      if (std::fabs(m(r, p)) > std::fabs(m(best, p))) best = r;
    }
    for (int32_t c = 0; c < n; ++c) {
      std::swap(m(p, c), m(best, c));
      std::swap(inverse(p, c), inverse(best, c));
    }
    const double d = m(p, p);
    for (int32_t c = 0; c < n; ++c) {
      m(p, c) /= d;
      inverse(p, c) /= d;
    }
    for (int32_t r = 0; r < n; ++r) {
      if (r == p) continue;
      const double f = m(r, p);
      for (int32_t c = 0; c < n; ++c) {
        m(r, c) -= f * m(p, c);
        inverse(r, c) -= f * inverse(p, c);
      }
    }
  }
  double norm = 0.0;
  for (int32_t c = 0; c < n; ++c) {
    double sum = 0.0;
    for (int32_t r = 0; r < n; ++r) sum += std::fabs(inverse(r, c));
    norm = std::max(norm, sum);
  }
  return norm;
}

TEST(BasisCondition, EstimateIsCloseToTheTrueConditionNumber) {
  for (const int32_t terms : {3, 6, 9, 12}) {
    // Trigonometric terms are not scaled, so the true value is plain norm times norm.
    const ProblemModel model = OneVariable(true, terms, -1, 2, 0.5, 5);
    const BasisMatrix m = BuildBasisMatrix(model, 0);
    double norm = 0.0;
    for (int32_t c = 0; c < m.size(); ++c) {
      double sum = 0.0;
      for (int32_t r = 0; r < m.size(); ++r) sum += std::fabs(m(r, c));
      norm = std::max(norm, sum);
    }
    const double exact = norm * ExactInverseNorm(m);
    const double estimate = EstimateCondition(m, false);
    EXPECT_LE(estimate, exact * (1 + 1e-9)) << terms << " terms";
    EXPECT_GE(estimate, exact / 3) << terms << " terms";
  }
}

TEST(BasisCondition, ScalingPowerColumnsIgnoresTheWidthOfTheInterval) {
  const double narrow =
      EstimateCondition(BuildBasisMatrix(OneVariable(false, 10, -1, 1, 0, 0), 0), true);
  const BasisMatrix wideMatrix = BuildBasisMatrix(OneVariable(false, 10, -500, 500, 0, 0), 0);
  const double wide = EstimateCondition(wideMatrix, true);
  EXPECT_NEAR(wide / narrow, 1.0, 1e-6);
  EXPECT_GT(EstimateCondition(wideMatrix, false), 1e6 * wide);
}

TEST(BasisCondition, AZeroColumnIsSingular) {
  // Two nodes at the centre's distance 0 and a period of 0: NaN and infinite entries.
  const ProblemModel model = OneVariable(true, 3, 0, 1, 0, 0);
  EXPECT_TRUE(std::isinf(EstimateCondition(BuildBasisMatrix(model, 0), false)));
  BasisMatrix zero(3);
  EXPECT_TRUE(std::isinf(EstimateCondition(zero, true)));
}

struct WarningCase {
  const char* name;
  ProblemModel model;
  bool warns;
};

class ConditionWarnings : public ::testing::TestWithParam<WarningCase> {};

TEST_P(ConditionWarnings, WarnOnlyWhenTheCoefficientsCannotBeTrusted) {
  const WarningCase& c = GetParam();
  const std::vector<ConditionWarning> warnings = CheckConditioning(c.model);
  EXPECT_EQ(warnings.size(), c.warns ? 1u : 0u);
  if (c.warns && !warnings.empty()) {
    EXPECT_EQ(warnings[0].Name, "x");
    EXPECT_EQ(warnings[0].Terms, c.model.LastTerm[0] + 1);
    EXPECT_GT(warnings[0].Condition, IllConditionedAbove);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bases, ConditionWarnings,
    ::testing::Values(
        WarningCase{"FewPowerTerms", OneVariable(false, 5, -1, 1, 0, 0), false},
        WarningCase{"DefaultTenPowerTerms", OneVariable(false, 10, -5, 5, 0, 0), false},
        WarningCase{"RungeFifteenPowerTerms", OneVariable(false, 15, -1, 1, 0, 0), false},
        WarningCase{"ThirtyPowerTerms", OneVariable(false, 30, -1, 1, 0, 0), true},
        WarningCase{"CentreFarOutsideTheInterval", OneVariable(false, 12, 1, 2, 0, 0), true},
        WarningCase{"TrigTermsOverLessThanAPeriod", OneVariable(true, 11, -5, 5, 0, 12), false},
        WarningCase{"TrigIntervalOfExactlyOnePeriod", OneVariable(true, 11, -5, 5, 0, 10), true},
        WarningCase{"ManyTrigTermsOnAShortInterval", OneVariable(true, 30, -1, 1, 0, 6.283), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConditionWarnings, NameTheVariableAmongSeveral) {
  const ProblemModel model =
      testing::SpecifiedModel({{"x", false, 3, -1, 1, 0, 0}, {"y", false, 30, -1, 1, 0, 0}});
  const std::vector<ConditionWarning> warnings = CheckConditioning(model);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].Var, 1);
  EXPECT_EQ(warnings[0].Name, "y");
}

}  // namespace
}  // namespace quon
