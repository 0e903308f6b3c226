// Roots along a variable: against known roots where the terms represent the function
// exactly (simple, double, at an end, many on split pieces), against a dense scan for sign
// changes refined by bisection where they do not, and along lines through several
// variables.
#include "core/analysis/roots.h"

#include <gtest/gtest.h>

#include <cfloat>

#include "core/analysis/analysis_error.h"
#include "core/eval/evaluator.h"
#include "support/export_problems.h"

namespace quon {
namespace {

using testing::Always;

struct RootCase {
  const char* name;
  testing::VarSpec var;
  double (*f)(double);
  std::vector<double> expected;
  double tolerance;
};

class KnownRoots : public ::testing::TestWithParam<RootCase> {};

TEST_P(KnownRoots, AreFoundOnceEachInOrder) {
  const RootCase& c = GetParam();
  const ProblemModel model =
      testing::FittedModel({c.var}, Always([&](std::span<const double> p) { return c.f(p[0]); }));
  const RealRoots found = RootsAlong(model, 0, std::vector<double>{0.0});
  EXPECT_FALSE(found.IdenticallyZero);
  ASSERT_EQ(found.Roots.size(), c.expected.size());
  for (std::size_t i = 0; i < c.expected.size(); ++i) {
    EXPECT_NEAR(found.Roots[i], c.expected[i], c.tolerance) << i;
  }
}

std::vector<double> Multiples(double step, double offset, double bound) {
  std::vector<double> roots;
  for (double k = std::ceil((-bound - offset) / step); k * step + offset <= bound; ++k) {
    roots.push_back(k * step + offset);
  }
  return roots;
}

// GCC 12 at -O3 warns that the temporaries these cases are built from may be used
// uninitialized when they are destroyed; they are not.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
std::vector<RootCase> RootCases() {
  std::vector<RootCase> cases;
  cases.push_back(RootCase{"CubicThroughThreePoints",
                           {"x", false, 4, -1, 1, 0, 0},
                           [](double x) { return (x - 0.3) * (x + 0.5) * (x - 0.9); },
                           {-0.5, 0.3, 0.9},
                           4 * DBL_EPSILON});
  cases.push_back(RootCase{"DoubleRootOnce",
                           {"x", false, 5, -1, 1, 0.2, 0},
                           [](double x) { return (x - 0.3) * (x - 0.3) * (x + 0.5) * (x + 2); },
                           {-0.5, 0.3},
                           1e-7});
  cases.push_back(RootCase{"RootAtTheUpperEnd",
                           {"x", false, 3, 0, 2, 0, 0},
                           [](double x) { return x * x - 4; },
                           {2.0},
                           4 * DBL_EPSILON});
  cases.push_back(RootCase{
      "NoRealRoot", {"x", false, 3, -1, 1, 0, 0}, [](double x) { return x * x + 1e-9; }, {}, 0.0});
  // cos(20x) on [-1, 1], 12 roots (2k+1) pi / 40; trigonometric terms of period pi/10.
  cases.push_back(RootCase{"TwelveRootsOfCos20x",
                           {"x", true, 3, -1, 1, 0, M_PI / 10},
                           [](double x) { return std::cos(20 * x); },
                           Multiples(M_PI / 20, M_PI / 40, 1),
                           1e-15});
  // 39 roots of sin(60x), more than one colleague matrix holds: found on split pieces.
  cases.push_back(RootCase{"ManyRootsOnSplitPieces",
                           {"x", true, 5, -1, 1, 0.1, 2 * M_PI / 30},
                           [](double x) { return std::sin(60 * (x - 0.1)); },
                           Multiples(M_PI / 60, 0.1, 1),
                           1e-14});
  // The same twelve roots from 60 Chebyshev terms, accurate to about 1E-15.
  cases.push_back(RootCase{"TwelveRootsFromChebyshevTerms",
                           {"x", false, 60, -1, 1, 0, 0, true},
                           [](double x) { return std::cos(20 * x); },
                           Multiples(M_PI / 20, M_PI / 40, 1),
                           1e-14});
  return cases;
}
#pragma GCC diagnostic pop

INSTANTIATE_TEST_SUITE_P(Functions, KnownRoots, ::testing::ValuesIn(RootCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Where the fit is not the function, its own roots: the sign changes of the evaluator on a
// dense grid, bisected to the last bit, are every root there is along each variable here.
TEST(RootsAlong, EverySignChangeOfTheEvaluatorAlongEachVariable) {
  const ProblemModel model = testing::DefaultProblem();
  const std::vector<double> held = {2.0, -1.0, 1.0, 0.5};
  for (std::size_t var = 0; var < 4; ++var) {
    std::vector<double> point = held;
    const auto f = [&](double x) {
      point[var] = x;
      return Evaluate(model, point);
    };
    std::vector<double> expected;
    for (int i = 0; i < 4000; ++i) {
      double lo = -5 + 10.0 * i / 4000, hi = -5 + 10.0 * (i + 1) / 4000;
      if ((f(lo) < 0) == (f(hi) < 0)) continue;
      for (double mid = (lo + hi) / 2; lo < mid && mid < hi; mid = (lo + hi) / 2) {
        ((f(mid) < 0) == (f(lo) < 0) ? lo : hi) = mid;
      }
      expected.push_back(lo);
    }
    const RealRoots found = RootsAlong(model, static_cast<int>(var), held);
    ASSERT_EQ(found.Roots.size(), expected.size()) << var;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_NEAR(found.Roots[i], expected[i], 1e-12) << var << " " << i;
    }
  }
}

TEST(RootsAlong, LineThroughAPointAndItsFailures) {
  const ProblemModel model =
      testing::FittedModel({{"x", false, 3, -1, 1, 0, 0}, {"y", false, 2, -1, 1, 0, 0}},
                           Always([](std::span<const double> p) { return p[0] * p[0] - p[1]; }));
  const RealRoots alongX = RootsAlong(model, 0, std::vector<double>{9.0, 0.25});
  ASSERT_EQ(alongX.Roots.size(), 2u);
  EXPECT_NEAR(alongX.Roots[0], -0.5, 4 * DBL_EPSILON);
  EXPECT_NEAR(alongX.Roots[1], 0.5, 4 * DBL_EPSILON);
  const RealRoots alongY = RootsAlong(model, 1, std::vector<double>{0.5, 9.0});
  ASSERT_EQ(alongY.Roots.size(), 1u);
  EXPECT_NEAR(alongY.Roots[0], 0.25, 4 * DBL_EPSILON);
  const ProblemModel product =
      testing::FittedModel({{"x", false, 3, -1, 1, 0, 0}, {"y", false, 2, -1, 1, 0, 0}},
                           Always([](std::span<const double> p) { return p[0] * p[1]; }));
  EXPECT_TRUE(RootsAlong(product, 0, std::vector<double>{0.0, 0.0}).IdenticallyZero);
  EXPECT_THROW(RootsAlong(model, 2, std::vector<double>{0.0, 0.0}), AnalysisError);
  EXPECT_THROW(RootsAlong(model, 0, std::vector<double>{0.0}), AnalysisError);
  EXPECT_THROW(RootsAlong(model, 0, std::vector<double>{0.0, NAN}), AnalysisError);
}

}  // namespace
}  // namespace quon
