// The extremes over a box: a narrow peak and a narrow dip far between the nodes of a
// coarse scan, found to the accuracy of the fit; extremes on faces, at corners and in a
// box with a variable held; never below any value of the evaluator on a dense random
// sample; the refusals; and the surface view's data, which marks the extremes of a slice.
#include "core/analysis/extrema.h"

#include <gtest/gtest.h>

#include <cfloat>

#include "core/analysis/analysis_error.h"
#include "core/analysis/extrema_scan.h"
#include "core/analysis/surface_grid.h"
#include "core/eval/evaluator.h"
#include "support/export_problems.h"

namespace quon {
namespace {

using testing::Always;

double Bump(double x, double y, double cx, double cy) {
  return std::exp(-((x - cx) * (x - cx) + (y - cy) * (y - cy)) / (2 * 0.05 * 0.05));
}

// A peak of 1 at (0.37, -0.21) and a dip of -0.8 at (-0.55, 0.52), each 0.05 wide, fitted
// with 101 trigonometric terms per variable whose period spreads the nodes evenly over
// one period (accurate to about 1E-13); a 10 x 10 scan would see neither.
TEST(FindExtremes, NarrowPeakAndDipBetweenTheNodesOfACoarseScan) {
  const double period = 2.0 * 101 / 100;
  const ProblemModel model = testing::FittedModel(
      {{"x", true, 101, -1, 1, 0, period}, {"y", true, 101, -1, 1, 0, period}},
      Always([](std::span<const double> p) {
        return Bump(p[0], p[1], 0.37, -0.21) - 0.8 * Bump(p[0], p[1], -0.55, 0.52);
      }));
  const Extremes found = FindExtremes(model, ProblemBox(model));
  EXPECT_NEAR(found.Maximum.Value, 1.0, 1e-11);
  EXPECT_NEAR(found.Maximum.Point[0], 0.37, 1e-6);
  EXPECT_NEAR(found.Maximum.Point[1], -0.21, 1e-6);
  EXPECT_NEAR(found.Minimum.Value, -0.8, 1e-11);
  EXPECT_NEAR(found.Minimum.Point[0], -0.55, 1e-6);
  EXPECT_NEAR(found.Minimum.Point[1], 0.52, 1e-6);
  EXPECT_EQ(found.Maximum.Value, Evaluate(model, found.Maximum.Point));
}

TEST(FindExtremes, OnFacesAtCornersAndWithAVariableHeld) {
  const ProblemModel model =
      testing::FittedModel({{"x", false, 3, -1, 1, 0, 0}, {"y", false, 2, 0, 1, 0, 0}},
                           Always([](std::span<const double> p) { return p[0] * p[0] + p[1]; }));
  const Extremes whole = FindExtremes(model, ProblemBox(model));
  EXPECT_NEAR(whole.Maximum.Value, 2.0, 8 * DBL_EPSILON);
  EXPECT_EQ(std::fabs(whole.Maximum.Point[0]), 1.0);
  EXPECT_EQ(whole.Maximum.Point[1], 1.0);
  EXPECT_NEAR(whole.Minimum.Value, 0.0, 8 * DBL_EPSILON);
  EXPECT_NEAR(whole.Minimum.Point[0], 0.0, 1e-7);
  EXPECT_EQ(whole.Minimum.Point[1], 0.0);
  const Extremes held = FindExtremes(model, Box{{0.5, 0.0}, {0.5, 1.0}});
  EXPECT_NEAR(held.Maximum.Value, 1.25, 8 * DBL_EPSILON);
  EXPECT_NEAR(held.Minimum.Value, 0.25, 8 * DBL_EPSILON);
  EXPECT_EQ(held.Maximum.Point[0], 0.5);
  EXPECT_THROW(FindExtremes(model, Box{{0.0}, {1.0}}), AnalysisError);
  EXPECT_THROW(FindExtremes(model, Box{{1.0, 0.0}, {0.0, 1.0}}), AnalysisError);
  EXPECT_THROW(FindExtremes(model, Box{{NAN, 0.0}, {0.0, 1.0}}), AnalysisError);
}

struct SampleCase {
  const char* name;
  ProblemModel (*problem)();
};

class GlobalExtremes : public ::testing::TestWithParam<SampleCase> {};

TEST_P(GlobalExtremes, NoSampledValueLiesBeyondThem) {
  const ProblemModel model = GetParam().problem();
  const Box box = ProblemBox(model);
  const Extremes found = FindExtremes(model, box);
  const std::size_t vars = box.Lower.size();
  for (const Extreme* e : {&found.Maximum, &found.Minimum}) {
    EXPECT_EQ(e->Value, Evaluate(model, e->Point));
    for (std::size_t k = 0; k < vars; ++k) {
      EXPECT_GE(e->Point[k], box.Lower[k]);
      EXPECT_LE(e->Point[k], box.Upper[k]);
    }
  }
  const std::vector<double> sample = testing::RandomPoints(model, 20000, 5);
  for (std::size_t i = 0; i < sample.size(); i += vars) {
    const double value =
        Evaluate(model, std::vector<double>(sample.begin() + i, sample.begin() + i + vars));
    const double slack = 1e-12 * std::max(1.0, std::fabs(value));
    ASSERT_LE(value, found.Maximum.Value + slack);
    ASSERT_GE(value, found.Minimum.Value - slack);
  }
}

// The threads' runs of slices computed two slices at a time find what whole runs find.
TEST(ScanForExtremes, FindsTheSameWhateverTheBlocksOfSlices) {
  const ProblemModel model = testing::DefaultProblem();
  const ScanResult whole = ScanForExtremes(model, ProblemBox(model), 8);
  const ScanResult pairs = ScanForExtremes(model, ProblemBox(model), 8, 1);
  ASSERT_EQ(pairs.Maxima.size(), whole.Maxima.size());
  ASSERT_EQ(pairs.Minima.size(), whole.Minima.size());
  for (std::size_t i = 0; i < whole.Maxima.size(); ++i) {
    EXPECT_EQ(pairs.Maxima[i].Point, whole.Maxima[i].Point);
    EXPECT_EQ(pairs.Minima[i].Value, whole.Minima[i].Value);
  }
}

INSTANTIATE_TEST_SUITE_P(Problems, GlobalExtremes,
                         ::testing::Values(SampleCase{"Default", testing::DefaultProblem},
                                           SampleCase{"Mixed", testing::MixedProblem},
                                           SampleCase{"Trig", testing::TrigProblem},
                                           SampleCase{"Chebyshev", testing::ChebyshevProblem}),
                         [](const auto& info) { return std::string(info.param.name); });

// The surface view's data: rows along the first variable whichever order the two are in,
// the approximation as the evaluator gives it, every node, and the slice's extremes.
TEST(SampleSurface, GridNodesAndSliceExtremesOverTwoVariablesOfThree) {
  const ProblemModel model = testing::MixedProblem();
  testing::TestFunctionSource source(Always([](std::span<const double> p) { return p[0] + p[2]; }));
  const std::vector<double> held = {0.5, 1.0, 2.0};
  const SurfaceGrid grid = SampleSurface(model, source, 2, 0, held);
  ASSERT_EQ(grid.Approximation.size(), grid.X.size() * grid.Y.size());
  EXPECT_EQ(grid.X.front(), 1.0);
  EXPECT_EQ(grid.Y.back(), 2.0);
  for (std::size_t i = 0; i < grid.Y.size(); i += 7) {
    for (std::size_t j = 0; j < grid.X.size(); j += 5) {
      const std::size_t at = i * grid.X.size() + j;
      const std::vector<double> point = {grid.Y[i], 1.0, grid.X[j]};
      EXPECT_NEAR(grid.Approximation[at], Evaluate(model, point), 1e-13);
      EXPECT_EQ(grid.Function[at], grid.Y[i] + grid.X[j]);
      EXPECT_EQ(grid.Difference[at], grid.Function[at] - grid.Approximation[at]);
    }
  }
  EXPECT_EQ(grid.Nodes.size(), std::size_t{4 * 6});
  ASSERT_TRUE(grid.SliceExtremes.has_value());
  EXPECT_EQ(grid.SliceExtremes->Maximum.Point[1], 1.0);
  const Extremes direct = FindExtremes(model, Box{{-1, 1, 1}, {2, 1, 3}});
  EXPECT_EQ(grid.SliceExtremes->Maximum.Value, direct.Maximum.Value);
  EXPECT_THROW(SampleSurface(model, source, 1, 1, held), std::invalid_argument);
}

TEST(FindExtremes, RefusesAScanBeyondItsLimit) {
  ProblemModel model = testing::SpecifiedModel({{"x", true, 5, 0, 1, 0, 1e-8}});
  model.Coef.Allocate(model.LastTerm);
  model.HaveResults = true;
  EXPECT_THROW(FindExtremes(model, ProblemBox(model)), AnalysisError);
}

}  // namespace
}  // namespace quon
