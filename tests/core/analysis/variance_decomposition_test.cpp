// Mean, variance and sensitivity indices from the coefficients: against closed forms for
// a product of one-variable factors (every set's variance known) and for the Ishigami
// function, and against Monte Carlo estimates (Saltelli's and Jansen's) on the shared
// problems.
#include "core/analysis/variance_decomposition.h"

#include <gtest/gtest.h>

#include <random>

#include "core/analysis/analysis_error.h"
#include "core/eval/evaluator.h"
#include "support/export_problems.h"

namespace quon {
namespace {

using testing::Always;

// (1 + x) cos(y) z^2 over [-1, 1] x [0, 3] x [0, 2]: each factor's mean and variance in
// closed form, D_u the product of the variances in u and the squared means outside it.
TEST(VarianceDecomposition, ProductOfFactorsMatchesItsClosedForm) {
  const ProblemModel model = testing::FittedModel(
      {{"x", false, 2, -1, 1, 0, 0},
       {"y", true, 3, 0, 3, 0, 2 * M_PI},
       {"z", false, 3, 0, 2, 1, 0}},
      Always([](std::span<const double> p) { return (1 + p[0]) * std::cos(p[1]) * p[2] * p[2]; }));
  const double cosMean = std::sin(3.0) / 3;
  const double mean[] = {1.0, cosMean, 4.0 / 3};
  const double variance[] = {1.0 / 3, 0.5 + std::sin(6.0) / 12 - cosMean * cosMean,
                             16.0 / 5 - 16.0 / 9};
  const VarianceDecomposition d = DecomposeVariance(model);
  EXPECT_NEAR(d.Mean, mean[0] * mean[1] * mean[2], 1e-14);
  double total = 0.0;
  for (unsigned set = 1; set < 8; ++set) {
    double expected = 1.0;
    for (int k = 0; k < 3; ++k) expected *= (set >> k) & 1u ? variance[k] : mean[k] * mean[k];
    EXPECT_NEAR(d.PartialVariance[set], expected, 1e-14) << "set " << set;
    total += expected;
  }
  EXPECT_NEAR(d.Variance, total, 1e-14);
  EXPECT_EQ(d.PartialVariance[8], 0.0);
}

// sin x + 7 sin^2 y + 0.1 z^4 sin x on [-pi, pi]^3, its indices in closed form (Ishigami
// and Homma, 1990). Trigonometric terms of period 4 pi hold sin x and sin^2 y over half a
// period, where the nodes do not repeat, and power terms z^4.
TEST(VarianceDecomposition, IshigamiIndicesToTheAccuracyOfTheFit) {
  const ProblemModel model = testing::FittedModel({{"x", true, 5, -M_PI, M_PI, 0, 4 * M_PI},
                                                   {"y", true, 9, -M_PI, M_PI, 0, 4 * M_PI},
                                                   {"z", false, 5, -M_PI, M_PI, 0, 0}},
                                                  Always([](std::span<const double> p) {
                                                    return std::sin(p[0]) +
                                                           7 * std::pow(std::sin(p[1]), 2) +
                                                           0.1 * std::pow(p[2], 4) * std::sin(p[0]);
                                                  }));
  const double pi4 = std::pow(M_PI, 4), pi8 = pi4 * pi4;
  const double v1 = 0.5 * std::pow(1 + 0.1 * pi4 / 5, 2), v2 = 49.0 / 8, v13 = 8 * 0.01 * pi8 / 225;
  const double v = v1 + v2 + v13;
  const VarianceDecomposition d = DecomposeVariance(model);
  EXPECT_NEAR(d.Mean, 3.5, 1e-9);
  EXPECT_NEAR(d.Variance, v, 1e-8 * v);
  const double main[] = {v1 / v, v2 / v, 0.0};
  const double total[] = {(v1 + v13) / v, v2 / v, v13 / v};
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_NEAR(d.MainEffect[k], main[k], 1e-8) << k;
    EXPECT_NEAR(d.TotalEffect[k], total[k], 1e-8) << k;
  }
}

struct MonteCarloCase {
  const char* name;
  ProblemModel (*problem)();
};

class AgainstMonteCarlo : public ::testing::TestWithParam<MonteCarloCase> {};

// Saltelli's main-effect and Jansen's total-effect estimators on 2 x 20000 points, whose
// standard errors are below 0.01 here.
TEST_P(AgainstMonteCarlo, IndicesAgreeWithTheEstimates) {
  const ProblemModel model = GetParam().problem();
  const int vars = VariableCount(model);
  constexpr int kPoints = 20000;
  const std::vector<double> a = testing::RandomPoints(model, kPoints, 1);
  const std::vector<double> b = testing::RandomPoints(model, kPoints, 2);
  const auto at = [&](const std::vector<double>& from, int i) {
    return std::vector<double>(from.begin() + i * vars, from.begin() + (i + 1) * vars);
  };
  double sum = 0.0, squares = 0.0;
  std::vector<double> fa(kPoints), fb(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    fa[i] = Evaluate(model, at(a, i));
    fb[i] = Evaluate(model, at(b, i));
    sum += fa[i] + fb[i];
    squares += fa[i] * fa[i] + fb[i] * fb[i];
  }
  const double mean = sum / (2 * kPoints);
  const double variance = squares / (2 * kPoints) - mean * mean;
  const VarianceDecomposition d = DecomposeVariance(model);
  EXPECT_NEAR(d.Mean, mean, 0.02 * std::sqrt(variance));
  EXPECT_NEAR(d.Variance, variance, 0.05 * variance);
  for (int k = 0; k < vars; ++k) {
    double main = 0.0, total = 0.0;
    for (int i = 0; i < kPoints; ++i) {
      std::vector<double> mixed = at(a, i);
      mixed[static_cast<std::size_t>(k)] = b[static_cast<std::size_t>(i * vars + k)];
      const double fab = Evaluate(model, mixed);
      main += fb[i] * (fab - fa[i]);
      total += (fa[i] - fab) * (fa[i] - fab) / 2;
    }
    EXPECT_NEAR(d.MainEffect[k], main / kPoints / variance, 0.03) << k;
    EXPECT_NEAR(d.TotalEffect[k], total / kPoints / variance, 0.03) << k;
    EXPECT_LE(d.MainEffect[k], d.TotalEffect[k] + 1e-15);
  }
}

INSTANTIATE_TEST_SUITE_P(Problems, AgainstMonteCarlo,
                         ::testing::Values(MonteCarloCase{"Mixed", testing::MixedProblem},
                                           MonteCarloCase{"Trig", testing::TrigProblem},
                                           MonteCarloCase{"Chebyshev", testing::ChebyshevProblem}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VarianceDecomposition, ConstantHasNoVarianceAndZeroPeriodIsRefused) {
  ProblemModel model =
      testing::FittedModel({{"x", true, 5, 0, 2, 0, 3}, {"y", false, 3, 0, 1, 0, 0}},
                           Always([](std::span<const double>) { return 2.5; }));
  const VarianceDecomposition d = DecomposeVariance(model);
  EXPECT_NEAR(d.Mean, 2.5, 4 * DBL_EPSILON);
  EXPECT_LT(d.Variance, 1e-28);
  model.Period[0] = 0.0;
  EXPECT_THROW(DecomposeVariance(model), AnalysisError);
  model.HaveResults = false;
  EXPECT_THROW(DecomposeVariance(model), std::logic_error);
}

}  // namespace
}  // namespace quon
