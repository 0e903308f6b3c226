// Chebyshev terms end to end in the core: the nodes, the fit at the figures and a
// few more functions, measured at 100,000 random points, the coefficient tail's estimate
// against that measurement, the interpolant against the barycentric formula through the
// same samples, and the evaluator's kernel, grid sums and check grid on Chebyshev nodes.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

#include "core/eval/accuracy_check.h"
#include "core/eval/accuracy_text.h"
#include "core/eval/approximation_kernel.h"
#include "core/eval/chebyshev_tail.h"
#include "core/eval/evaluator.h"
#include "core/eval/grid_approximation.h"
#include "core/model/node_geometry.h"
#include "support/export_problems.h"

namespace quon {
namespace {

using testing::Always;
using testing::FittedModel;

ProblemModel OneVariable(double (*f)(double), double lower, double upper, int32_t terms) {
  return FittedModel({{"x", false, terms, lower, upper, 0, 0, true}},
                     Always([f](std::span<const double> p) { return f(p[0]); }));
}

double LargestDifference(const ProblemModel& model, double (*f)(double)) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> x(model.LowerLimit[0], model.UpperLimit[0]);
  ApproximationKernel kernel(model);
  double largest = 0.0;
  for (int i = 0; i < 100000; ++i) {
    const double point[] = {x(random)};
    largest = std::max(largest, std::fabs(kernel.At(point) - f(point[0])));
  }
  return largest;
}

struct FitCase {
  const char* name;
  double (*f)(double);
  double lower, upper;
  int32_t terms;
  double below;  // the largest difference must stay below this (0: not checked)
};

class ChebyshevFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(ChebyshevFit, MeetsItsFigureAndTheEstimateBracketsTheMeasuredError) {
  const FitCase& c = GetParam();
  const ProblemModel model = OneVariable(c.f, c.lower, c.upper, c.terms);
  const double measured = LargestDifference(model, c.f);
  if (c.below > 0) {
    EXPECT_LT(measured, c.below);
  }
  const std::optional<ChebyshevEstimate> estimate = EstimateChebyshevError(model);
  ASSERT_TRUE(estimate.has_value());
  EXPECT_GE(estimate->Error, measured / 2) << "measured " << measured;
  EXPECT_LE(estimate->Error, measured * 100) << "measured " << measured;
  EXPECT_TRUE(estimate->Unconverged.empty());
}

double Runge(double x) { return 1 / (1 + 25 * x * x); }
double Cos20(double x) { return std::cos(20 * x); }
double SinExp(double x) { return std::sin(3 * x) * std::exp(x); }
double Tanh5(double x) { return std::tanh(5 * x); }
double Pole(double x) { return 1 / (1.5 - x); }
double Gauss(double x) { return std::exp(-10 * x * x); }

const FitCase kFits[] = {
    {"Exp16", [](double x) { return std::exp(x); }, -1, 1, 16, 5e-15},
    {"Runge200", Runge, -1, 1, 200, 1e-14},
    {"Cos20x60", Cos20, -1, 1, 60, 1e-14},
    {"SinExp30OnZeroTwo", SinExp, 0, 2, 30, 1e-13},
    {"Tanh150", Tanh5, -1, 1, 150, 1e-14},
    {"Pole45", Pole, -1, 1, 45, 1e-14},
    {"Gauss56OnAReversedInterval", Gauss, 1, -1, 56, 1e-14},
    {"Exp10Truncated", [](double x) { return std::exp(x); }, -1, 1, 10, 0},
    {"Runge80Truncated", Runge, -1, 1, 80, 0},
    {"Cos20x40Truncated", Cos20, -1, 1, 40, 0},
};

INSTANTIATE_TEST_SUITE_P(Functions, ChebyshevFit, ::testing::ValuesIn(kFits),
                         [](const auto& info) { return std::string(info.param.name); });

// Node j of T + 1 nodes is node 2 j of 2 T + 1, bit for bit; the limits come first and
// last, exactly; the middle node is the middle.
TEST(ChebyshevNodes, NestDescendAndHitTheLimits) {
  const NodeGeometry g = MakeGeometry(TermKind::Chebyshev, 8, -2, 3, 0, 0);
  const NodeGeometry fine = MakeGeometry(TermKind::Chebyshev, 16, -2, 3, 0, 0);
  EXPECT_EQ(g.Node(0), 3.0);
  EXPECT_EQ(g.Node(8), -2.0);
  EXPECT_EQ(g.Node(4), 0.5);
  for (int32_t j = 0; j <= 8; ++j) {
    EXPECT_EQ(g.Node(j), fine.Node(2 * j)) << j;
    if (j > 0) {
      EXPECT_LT(g.Node(j), g.Node(j - 1)) << j;
    }
    EXPECT_NEAR(g.Node(j), 0.5 + 2.5 * std::cos(j * M_PI / 8), 4 * DBL_EPSILON) << j;
    EXPECT_NEAR(g.MappedArgument(g.Node(j)), g.NodeArgument(j), 4 * DBL_EPSILON) << j;
  }
}

// The interpolant through the samples, written as the second barycentric formula with
// weights (-1)^j, halved at the ends (Berrut & Trefethen 2004), needs no coefficients.
TEST(ChebyshevFit, EqualsTheBarycentricInterpolantOfItsSamples) {
  const ProblemModel model = OneVariable(Runge, -1, 1, 31);
  const NodeGeometry g = VariableGeometry(model, 0);
  std::mt19937 random(3);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int i = 0; i < 200; ++i) {
    const double x = unit(random);
    long double top = 0, bottom = 0;
    for (int32_t j = 0; j <= 30; ++j) {
      const long double w = (j % 2 == 0 ? 1.0L : -1.0L) * (j == 0 || j == 30 ? 0.5L : 1.0L);
      top += w * Runge(g.Node(j)) / (x - g.Node(j));
      bottom += w / (x - g.Node(j));
    }
    const double point[] = {x};
    EXPECT_NEAR(Evaluate(model, point), static_cast<double>(top / bottom), 8 * DBL_EPSILON) << x;
  }
}

// The kernel repeats the evaluator's Clenshaw sums bit for bit; the grid's sums of term
// values agree to rounding; the check looks between neighbouring Chebyshev nodes.
TEST(ChebyshevFit, KernelGridAndCheckGridFollowTheEvaluator) {
  const ProblemModel model = testing::ChebyshevProblem();
  ApproximationKernel kernel(model);
  const std::vector<double> points = testing::RandomPoints(model, 50);
  std::array<std::vector<double>, 4> coords;
  for (std::size_t i = 0; i < points.size(); i += 3) {
    const std::span<const double> point(points.data() + i, 3);
    EXPECT_EQ(kernel.At(point), Evaluate(model, point));
    for (std::size_t k = 0; k < 3; ++k) coords[k].push_back(points[i + k]);
  }
  coords[0].resize(3);
  coords[1].resize(2);
  coords[2].resize(2);
  const std::vector<double> grid = ApproximationOnGrid(model, coords);
  const double point[] = {coords[0][2], coords[1][1], coords[2][0]};
  EXPECT_NEAR(grid[2 + 3 * 1], Evaluate(model, point), 1e-13);

  const CheckGrid check = PlanCheckGrid(model, {1 << 20, 1});
  const NodeGeometry y = VariableGeometry(model, 1);
  ASSERT_EQ(check.Count[1], 15);
  for (int64_t i = 0; i < 15; ++i) {
    const auto below = static_cast<int32_t>(15 - i);
    EXPECT_DOUBLE_EQ(check.Coordinate(1, i), (y.Node(below) + y.Node(below - 1)) / 2) << i;
  }
}

TEST(ChebyshevFit, CheckFiguresGiveTheEstimateAndWarnOfASeriesThatHasNotConverged) {
  const ProblemModel model = OneVariable(Cos20, -1, 1, 12);
  testing::TestFunctionSource source(Always([](std::span<const double> p) { return Cos20(p[0]); }));
  const AccuracyResult result = CheckAccuracy(model, source);
  ASSERT_TRUE(result.Estimate.has_value());
  const std::vector<std::pair<std::string, std::string>> values = AccuracyKeyValues(result);
  ASSERT_EQ(values.size(), 8u);
  EXPECT_EQ(values[6].first, "estimated_error");
  EXPECT_EQ(values[7].second,
            "x: the 12 Chebyshev terms have not converged (their coefficients "
            "do not decay yet); more terms are needed.");
  EXPECT_NE(AccuracySummaryLine(result).find("; estimated from the coefficients "),
            std::string::npos);
  EXPECT_FALSE(CheckAccuracy(testing::MixedProblem(), source).Estimate.has_value());
}

// The rounding noise of a thousand slices adds up in an envelope: a variable whose terms
// are exact (x^2, t) is not taken for one whose series has not converged, and the others'
// tails still give an estimate above the sampled difference.
TEST(ChebyshevFit, NoiseSummedOverManySlicesIsAPlateauNotAFlatTail) {
  const ProblemModel model =
      testing::FittedModel({{"x", false, 10, -5, 5, 0, 0, true},
                            {"y", false, 10, -5, 5, 0, 0, true},
                            {"z", false, 10, -5, 5, 0, 0, true},
                            {"t", false, 10, -5, 5, 0, 0, true}},
                           Always([](std::span<const double> p) {
                             return p[0] * p[0] * std::sin(p[1]) + 4 * std::cos(p[2]) - p[3];
                           }));
  const std::optional<ChebyshevEstimate> estimate = EstimateChebyshevError(model);
  ASSERT_TRUE(estimate.has_value());
  EXPECT_TRUE(estimate->Unconverged.empty());
  testing::TestFunctionSource source(Always([](std::span<const double> p) {
    return p[0] * p[0] * std::sin(p[1]) + 4 * std::cos(p[2]) - p[3];
  }));
  const AccuracyResult check = CheckAccuracy(model, source);
  EXPECT_GT(estimate->Error, check.MaxAbsDiff);
  EXPECT_LT(estimate->Error, 100 * check.MaxAbsDiff);
}

}  // namespace
}  // namespace quon
