// The accuracy check against functions whose interpolant is known: exact for polynomials
// of the fitted degree and trigonometric polynomials of the fitted order, far off for the
// Runge function on equally spaced nodes, and honest about points that fail.
#include "core/eval/accuracy_check.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <chrono>
#include <cmath>
#include <mutex>
#include <set>
#include <thread>

#include "support/fitted_model.h"

namespace quon {
namespace {

using testing::Always;
using testing::FittedModel;
using testing::TestFunctionSource;
using testing::VarSpec;

struct ExactCase {
  const char* name;
  std::vector<VarSpec> vars;
  double (*f)(std::span<const double>);
  double scale;  // about the largest magnitude of f and of its terms on the box
};

// The four variables of the default problem on [-5, 5], with `terms` power terms each.
std::vector<VarSpec> DefaultProblem(int terms) {
  return {{"x", false, terms, -5, 5, 0, 0},
          {"y", false, terms, -5, 5, 0, 0},
          {"z", false, terms, -5, 5, 0, 0},
          {"t", false, terms, -5, 5, 0, 0}};
}

class ExactInterpolant : public ::testing::TestWithParam<ExactCase> {};

TEST_P(ExactInterpolant, ReportsDifferencesNearRounding) {
  const ExactCase& c = GetParam();
  const ProblemModel model = FittedModel(c.vars, Always(c.f));
  ASSERT_TRUE(model.HaveResults);
  TestFunctionSource source(Always(c.f));
  const AccuracyResult result = CheckAccuracy(model, source);
  ASSERT_TRUE(result.Checked);
  EXPECT_GT(result.CheckPoints, 0);
  EXPECT_EQ(result.FailedPoints, 0);
  EXPECT_LE(result.MaxAbsDiff, 1024 * DBL_EPSILON * c.scale);
  EXPECT_LE(result.RmsDiff, result.MaxAbsDiff);
  EXPECT_EQ(result.WorstPoint.size(), c.vars.size());
  EXPECT_EQ(source.calls(), result.CheckPoints);
}

double Cubic(std::span<const double> p) { return 2 - p[0] + 3 * p[0] * p[0] * p[0]; }
double Mixed2(std::span<const double> p) { return p[0] * p[0] * p[1] - 4 * p[1] + 0.5; }
double Default4(std::span<const double> p) {
  return p[0] * p[0] * std::sin(p[1]) + 4 * std::cos(p[2]) - p[3];
}
double TrigPolynomial(std::span<const double> p) {
  const double t = 2 * M_PI * (p[0] - 1) / 3;
  return 1 + 2 * std::sin(t) - std::cos(2 * t);
}
double PowerTimesTrig(std::span<const double> p) { return (1 + p[0] * p[0]) * std::cos(p[1]); }

INSTANTIATE_TEST_SUITE_P(
    Polynomials, ExactInterpolant,
    ::testing::Values(
        ExactCase{"CubicOnFourPowerTerms", {{"x", false, 4, -2, 3, 0.5, 0}}, Cubic, 100},
        ExactCase{"QuadraticTimesLinear",
                  {{"x", false, 3, -1, 2, 0, 0}, {"y", false, 2, 0, 5, 1, 0}},
                  Mixed2,
                  50},
        ExactCase{"TrigPolynomialOfOrderTwo", {{"t", true, 5, 0, 2.5, 1, 3}}, TrigPolynomial, 8},
        ExactCase{"PowerTimesTrigonometric",
                  {{"x", false, 3, -2, 2, 0, 0}, {"y", true, 3, -1, 1, 0, 2 * M_PI}},
                  PowerTimesTrig,
                  10},
        ExactCase{"FourVariablesMultilinear", DefaultProblem(2),
                  [](std::span<const double> p) { return p[0] * p[1] * p[2] - 3 * p[3] + 1; },
                  200}),
    [](const auto& info) { return std::string(info.param.name); });

double RungeFunction(std::span<const double> p) { return 1 / (1 + 25 * p[0] * p[0]); }

// The Runge function fitted with 15 power terms on [-1, 1], and the function itself.
class RungeCheck : public ::testing::Test {
 protected:
  ProblemModel model = FittedModel({{"x", false, 15, -1, 1, 0, 0}}, Always(RungeFunction));
  TestFunctionSource source{Always(RungeFunction)};
};

TEST_F(RungeCheck, EquallySpacedNodesAreFarOffNearTheEnds) {
  const AccuracyResult result = CheckAccuracy(model, source);
  // The degree-14 interpolant overshoots by several units between the outermost nodes.
  EXPECT_GT(result.MaxAbsDiff, 1.0);
  EXPECT_GT(result.MaxRelDiff, 1.0);  // the function's largest value is 1
  ASSERT_EQ(result.WorstPoint.size(), 1u);
  EXPECT_GT(std::fabs(result.WorstPoint[0]), 1 - 2.0 / 14);
  EXPECT_LT(std::fabs(result.WorstPoint[0]), 1.0);
  EXPECT_EQ(result.Names, std::vector<std::string>{"x"});
  // A small one-variable grid is checked whole, many points per node interval.
  EXPECT_EQ(result.PointsPerInterval, MaxAutoPointsPerInterval);
  EXPECT_EQ(result.CheckPoints, 14 * MaxAutoPointsPerInterval);
}

TEST(AccuracyCheck, CarriesTheConditioningWarnings) {
  const auto exp = Always([](std::span<const double> p) { return std::exp(p[0]); });
  const ProblemModel model = FittedModel({{"x", false, 30, -1, 1, 0, 0}}, exp);
  TestFunctionSource source(exp);
  const AccuracyResult result = CheckAccuracy(model, source, {64, 0});
  ASSERT_EQ(result.Warnings.size(), 1u);
  EXPECT_EQ(result.Warnings[0].Name, "x");
}

TEST_F(RungeCheck, MidpointsAloneStillSeeTheErrorAndWhenAllFailThereIsNoWorstPoint) {
  const AccuracyResult result = CheckAccuracy(model, source, {0, 1});
  EXPECT_EQ(result.CheckPoints, 14);
  EXPECT_GT(result.MaxAbsDiff, 1.0);
  // The worst midpoint is that of an end interval: (-1 + -1 + 1/7) / 2.
  EXPECT_NEAR(std::fabs(result.WorstPoint[0]), 1 - 1.0 / 14, 1e-12);
  TestFunctionSource failing([](std::span<const double>, double&) -> int32_t { return 5; });
  const AccuracyResult failed = CheckAccuracy(model, failing, {0, 1});
  EXPECT_EQ(failed.CheckPoints, 14);
  EXPECT_EQ(failed.FailedPoints, 14);
  EXPECT_EQ(failed.FirstFailure, 5);
  EXPECT_TRUE(failed.WorstPoint.empty());
  EXPECT_EQ(failed.MaxAbsDiff, 0.0);
}

TEST(AccuracyCheck, FailedPointsAreCountedAndLeftOutOfTheFigures) {
  // The interpolant of a line; the function fails (division by zero) right of 0.5.
  const auto line = [](std::span<const double> p, double& value) -> int32_t {
    if (p[0] > 0.5) return 11;
    value = 3 * p[0] - 1;
    return 0;
  };
  const ProblemModel model =
      FittedModel({{"x", false, 2, -1, 1, 0, 0}},
                  Always([](std::span<const double> p) { return 3 * p[0] - 1; }));
  TestFunctionSource source(line);
  const AccuracyResult result = CheckAccuracy(model, source, {0, 9});
  // Nine check points at -1 + k/5, k = 1..9: those of k = 8 and 9 lie right of 0.5.
  EXPECT_EQ(result.CheckPoints, 9);
  EXPECT_EQ(result.FailedPoints, 2);
  EXPECT_EQ(result.FirstFailure, 11);
  EXPECT_LE(result.MaxAbsDiff, 16 * DBL_EPSILON);
}

TEST_F(RungeCheck, AnOverflowingApproximationIsAFailedPoint) {
  // 1.7E+308 (1 + x^2) overflows wherever x^2 exceeds about 0.06.
  model.Coef(0, 0, 0, 0) = 1.7e308;
  model.Coef(2, 0, 0, 0) = 1.7e308;
  const AccuracyResult result = CheckAccuracy(model, source, {0, 1});
  EXPECT_GT(result.FailedPoints, 0);
  EXPECT_LT(result.FailedPoints, result.CheckPoints);
  EXPECT_EQ(result.FirstFailure, 6);
}

TEST_F(RungeCheck, RefusesABadBudgetAndWithoutResultsChecksNothing) {
  EXPECT_THROW(CheckAccuracy(model, source, {-1, 0}), std::invalid_argument);
  EXPECT_THROW(CheckAccuracy(model, source, {0, MaxPointsPerInterval + 1}), std::invalid_argument);
  model.HaveResults = false;
  const AccuracyResult result = CheckAccuracy(model, source);
  EXPECT_FALSE(result.Checked);
  EXPECT_EQ(source.calls(), 0);
}

TEST(AccuracyCheck, StaysWithinTheBudgetPlusTheRefiningRoundsAndLeavesTheModelAsItWas) {
  const ProblemModel before = FittedModel(DefaultProblem(10), Always(Default4));
  ProblemModel model = before;
  TestFunctionSource source(Always(Default4));
  const AccuracyResult result = CheckAccuracy(model, source);
  const int64_t budget = DefaultCheckPoints(model);
  EXPECT_EQ(budget, 1000);
  EXPECT_GT(result.CheckPoints, budget / 2);
  EXPECT_LE(result.CheckPoints, budget + MaxRefineRounds * 81);
  EXPECT_EQ(source.calls(), result.CheckPoints);
  // Ten terms do not reproduce sin and cos over 10 units exactly, but closely.
  EXPECT_GT(result.MaxAbsDiff, 1e-6);
  EXPECT_LT(result.MaxAbsDiff, 1.0);
  EXPECT_TRUE(
      std::equal(model.Coef.data(), model.Coef.data() + model.Coef.size(), before.Coef.data()));
  EXPECT_EQ(model.HaveResults, before.HaveResults);
}

TEST(AccuracyCheck, ResultsDoNotDependOnTheNumberOfThreads) {
  const ProblemModel model = FittedModel(DefaultProblem(8), Always(Default4));
  TestFunctionSource parallel(Always(Default4), true);
  TestFunctionSource serial(Always(Default4), false);
  // Enough points for several threads.
  const AccuracyResult a = CheckAccuracy(model, parallel, {4096, 1});
  const AccuracyResult b = CheckAccuracy(model, serial, {4096, 1});
  EXPECT_GT(a.CheckPoints, 2048);
  EXPECT_EQ(a.MaxAbsDiff, b.MaxAbsDiff);
  EXPECT_EQ(a.RmsDiff, b.RmsDiff);
  EXPECT_EQ(a.WorstPoint, b.WorstPoint);
  EXPECT_EQ(a.CheckPoints, b.CheckPoints);
}

TEST(EvaluateAtPoints, SharesTheWorkAmongThreadsOnlyWhenTheSourceAllows) {
  if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one core only";
  std::mutex lock;
  std::set<std::thread::id> seen;
  const auto record = [&](std::span<const double> p, double& value) -> int32_t {
    {
      const std::lock_guard<std::mutex> hold(lock);
      seen.insert(std::this_thread::get_id());
    }
    // Slow enough that one thread cannot take every block before another has started.
    std::this_thread::sleep_for(std::chrono::microseconds(20));
    value = p[0];
    return 0;
  };
  const std::vector<double> points(4096, 0.5);
  std::vector<double> values;
  std::vector<int32_t> errors;
  TestFunctionSource parallel(record, true);
  EvaluateAtPoints(parallel, 1, points, values, errors);
  EXPECT_GE(seen.size(), 2u);
  EXPECT_EQ(values, points);
  seen.clear();
  TestFunctionSource serial(record, false);
  EvaluateAtPoints(serial, 1, points, values, errors);
  EXPECT_EQ(seen, std::set<std::thread::id>{std::this_thread::get_id()});
}

TEST(AccuracyCheck, RefiningFindsAWorstPointTheSubsetSkipped) {
  // An interpolant of a line on 6 x 6 nodes, and a "function" that differs from it only at
  // one check point that the tensor subset of a tiny budget does not take.
  const auto line = [](std::span<const double> p) { return p[0] + p[1]; };
  const ProblemModel model =
      FittedModel({{"x", false, 6, 0, 5, 0, 0}, {"y", false, 6, 0, 5, 0, 0}}, Always(line));
  // Midpoints 0.5 .. 4.5; a 3 x 3 subset takes 0.5, 2.5 and 4.5 in each variable.
  const auto bump = [&](std::span<const double> p) {
    const bool nearWorst = std::fabs(p[0] - 1.5) < 1e-9 && std::fabs(p[1] - 0.5) < 1e-9;
    const bool start = std::fabs(p[0] - 0.5) < 1e-9 && std::fabs(p[1] - 0.5) < 1e-9;
    return line(p) + (nearWorst ? 1.0 : 0.0) + (start ? 0.25 : 0.0);
  };
  TestFunctionSource source(Always(bump));
  const AccuracyResult result = CheckAccuracy(model, source, {9, 1});
  EXPECT_NEAR(result.MaxAbsDiff, 1.0, 1e-12);
  ASSERT_EQ(result.WorstPoint.size(), 2u);
  EXPECT_DOUBLE_EQ(result.WorstPoint[0], 1.5);
  EXPECT_DOUBLE_EQ(result.WorstPoint[1], 0.5);
}

}  // namespace
}  // namespace quon
