// The fit's numerics end to end without the script engine: a model fitted to a C++
// function by the program's basis matrices and solver, checked against the samples, the
// evaluator and polynomials it must reproduce.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <numbers>
#include <string>

#include "core/eval/evaluator.h"
#include "core/fit/basis.h"
#include "support/fitted_model.h"

namespace quon {
namespace {

using testing::Always;
using testing::FittedModel;
using testing::ForEachNode;
using testing::NodeIndex;
using testing::VarSpec;

constexpr double kTwoPi = 2 * std::numbers::pi;

double EvaluateAt(const ProblemModel& model, std::span<const double> x) {
  return Evaluate(model, x);
}

double Smooth(std::span<const double> p) {
  const auto at = [&](std::size_t k) { return k < p.size() ? p[k] : 0.0; };
  return std::exp(0.3 * at(0)) * std::cos(0.5 * at(1)) + 0.2 * at(2) * at(3) +
         std::sin(at(0) + at(3));
}

TEST(Fit, TwoPowerTermsGiveValueAtCentreAndSlope) {
  const double a = -1.5, b = 2.5, c = 0.25;
  const ProblemModel model =
      FittedModel({{"x", false, 2, a, b, c, 0}},
                  Always([](std::span<const double> x) { return std::exp(x[0]); }));
  ASSERT_TRUE(model.HaveResults);
  const double s = (std::exp(b) - std::exp(a)) / (b - a);
  EXPECT_NEAR(model.Coef(1, 0, 0, 0), s, 8 * DBL_EPSILON * s);
  EXPECT_NEAR(model.Coef(0, 0, 0, 0), std::exp(a) - (a - c) * s, 16 * DBL_EPSILON * s);
}

struct PropertyCase {
  const char* name;
  std::vector<VarSpec> vars;
};

class FitProperties : public ::testing::TestWithParam<PropertyCase> {};

TEST_P(FitProperties, ReproducesSamplesAtEveryNode) {
  ProblemModel model = FittedModel(GetParam().vars, Always(Smooth));
  ASSERT_TRUE(model.HaveResults);
  // The approximation takes the sampled value at every node, evaluated by the evaluator.
  ForEachNode(model.LastTerm, [&](const NodeIndex& j) {
    const std::vector<double> x = testing::NodePoint(model, j);
    EXPECT_NEAR(EvaluateAt(model, x), Smooth(x), 1e-9) << j[0] << "," << j[1] << "," << j[2];
  });
  // Multiplying the coefficients by each variable's basis matrix along its dimension gives
  // the samples back: the basis and the solver agree without the evaluator in between.
  CoefArray values = model.Coef;
  for (int k = 0; k <= model.LastVar; ++k) {
    const BasisMatrix m = BuildBasisMatrix(model, k);
    const CoefArray in = values;
    ForEachNode(model.LastTerm, [&](const NodeIndex& i) {
      NodeIndex term = i;
      double sum = 0.0;
      for (int32_t t = 0; t < m.size(); ++t) {
        term[static_cast<std::size_t>(k)] = t;
        sum += m(i[static_cast<std::size_t>(k)], t) * in(term[0], term[1], term[2], term[3]);
      }
      values(i[0], i[1], i[2], i[3]) = sum;
    });
  }
  ForEachNode(model.LastTerm, [&](const NodeIndex& j) {
    EXPECT_NEAR(values(j[0], j[1], j[2], j[3]), Smooth(testing::NodePoint(model, j)), 1e-9);
  });
}

const PropertyCase kPropertyCases[] = {
    {"OnePowerVariable", {{"x", false, 7, -1, 2, 0.5, 0}}},
    {"OneTrigVariable", {{"x", true, 6, -1, 2, 0.5, kTwoPi}}},
    {"PowerAndTrig", {{"x", false, 4, 0, 1, 0.5, 0}, {"y", true, 5, -2, 1, -0.5, 7}}},
    {"FourMixedVariables",
     {{"x", false, 4, -1, 1, 0, 0},
      {"y", true, 5, 0, 3, 1, 8},
      {"z", false, 3, 2, -1, 0, 0},
      {"t", true, 4, -0.5, 0.5, 0, 2.5}}},
};

INSTANTIATE_TEST_SUITE_P(Fit, FitProperties, ::testing::ValuesIn(kPropertyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Fit, ReproducesPolynomialsOfTheFittedDegreeBetweenNodes) {
  const auto p = [](std::span<const double> x) {
    return 1 - 2 * x[0] + 0.5 * x[0] * x[0] * x[0] + x[1] * x[1] * x[0] - 3 * x[1];
  };
  ProblemModel model =
      FittedModel({{"x", false, 4, -2, 3, 0.5, 0}, {"y", false, 3, 0, 1, 0.5, 0}}, Always(p));
  ASSERT_TRUE(model.HaveResults);
  for (const double x0 : {-1.7, 0.123, 2.9}) {
    for (const double x1 : {0.05, 0.77}) {
      const double x[] = {x0, x1};
      EXPECT_NEAR(EvaluateAt(model, x), p(x), 1e-12);
    }
  }
}

TEST(Fit, TrigIntervalOfOnePeriodWithRoundingResiduesIsNotSingular) {
  // The end nodes are the same point modulo the period; their rows differ by residues.
  const ProblemModel model =
      FittedModel({{"x", true, 3, 0, kTwoPi, 6.28318530717959 / 2, kTwoPi}},
                  Always([](std::span<const double> x) { return 1.0 + x[0]; }));
  ASSERT_TRUE(model.HaveResults);
  EXPECT_GT(std::fabs(model.Coef(1, 0, 0, 0)), 1e10);
}

struct SingularCase {
  const char* name;
  VarSpec var;
};

class SingularFit : public ::testing::TestWithParam<SingularCase> {};

TEST_P(SingularFit, LeavesNoResults) {
  ProblemModel model = testing::SpecifiedModel({GetParam().var});
  testing::FitTo(model, Always([](std::span<const double> x) { return x[0] + 1; }));
  EXPECT_FALSE(model.HaveResults);
}

INSTANTIATE_TEST_SUITE_P(
    Fit, SingularFit,
    ::testing::Values(
        // The two rows of a one-period interval agree bit for bit here.
        SingularCase{"TrigIntervalOfOnePeriodWithEqualRows",
                     {"x", true, 2, -48.75, -48.75 + kTwoPi, 0, kTwoPi}},
        SingularCase{"EqualLimitsGiveAZeroColumn", {"x", true, 3, 1, 1, 1, kTwoPi}},
        SingularCase{"ZeroPeriodPutsNaNOnTheDiagonal", {"x", true, 3, 0, 1, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quon
