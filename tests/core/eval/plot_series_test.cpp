// The curves of the plot: the evaluator's values, the function's values, their difference,
// and the nodes, with the model's evaluation fields left as they were.
#include "core/eval/plot_series.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/eval/evaluator.h"
#include "support/fitted_model.h"

namespace quon {
namespace {

using testing::Always;
using testing::FittedModel;
using testing::TestFunctionSource;

double Surface(std::span<const double> p) { return std::exp(p[0] / 3) * std::sin(p[1]); }

ProblemModel SurfaceModel() {
  return FittedModel({{"x", false, 6, -2, 4, 1, 0}, {"y", true, 5, -1, 2, 0, 7}}, Always(Surface));
}

TEST(PlotSeries, ApproximationIsWhatTheEvaluatorGives) {
  const ProblemModel model = SurfaceModel();
  TestFunctionSource source(Always(Surface));
  const std::vector<double> held = {0.3, 1.7};
  for (int var = 0; var < 2; ++var) {
    const PlotSeries series = SamplePlot(model, source, var, held);
    ASSERT_EQ(series.X.size(), static_cast<std::size_t>(PlotSampleCount(model, var)));
    EXPECT_EQ(series.X.front(), model.LowerLimit[static_cast<std::size_t>(var)]);
    EXPECT_EQ(series.X.back(), model.UpperLimit[static_cast<std::size_t>(var)]);
    for (std::size_t i = 0; i < series.X.size(); ++i) {
      std::vector<double> point = held;
      point[static_cast<std::size_t>(var)] = series.X[i];
      ASSERT_EQ(series.Approximation[i], Evaluate(model, point)) << "sample " << i;
      ASSERT_EQ(series.Function[i], Surface(point)) << "sample " << i;
      ASSERT_EQ(series.Difference[i], series.Function[i] - series.Approximation[i]);
    }
  }
}

TEST(PlotSeries, NodesAreTheFitsNodesWhereTheApproximationMeetsTheFunction) {
  ProblemModel model = SurfaceModel();
  TestFunctionSource source(Always(Surface));
  // y held at one of its nodes (-1 + 3 * 2 / 4 = 0.5), so every node is a grid point.
  const PlotSeries series = SamplePlot(model, source, 0, std::vector<double>{0.0, 0.5});
  ASSERT_EQ(series.NodeX.size(), 6u);
  for (std::size_t j = 0; j < 6; ++j) {
    EXPECT_DOUBLE_EQ(series.NodeX[j], -2.0 + 1.2 * static_cast<double>(j));
    const double p[] = {series.NodeX[j], 0.5};
    EXPECT_NEAR(series.NodeValue[j], Surface(p), 1e-12);
  }
}

TEST(PlotSeries, WhereTheFunctionFailsItsValueAndTheDifferenceAreGaps) {
  ProblemModel model = SurfaceModel();
  TestFunctionSource source([](std::span<const double> p, double& value) -> int32_t {
    if (p[0] < 0) return 5;
    value = Surface(p);
    return 0;
  });
  const PlotSeries series = SamplePlot(model, source, 0, std::vector<double>{0.0, 0.5});
  for (std::size_t i = 0; i < series.X.size(); ++i) {
    EXPECT_EQ(std::isnan(series.Function[i]), series.X[i] < 0) << series.X[i];
    EXPECT_EQ(std::isnan(series.Difference[i]), series.X[i] < 0) << series.X[i];
    EXPECT_FALSE(std::isnan(series.Approximation[i]));
  }
}

TEST(PlotSeries, RefusesWhatCannotBePlotted) {
  ProblemModel model = SurfaceModel();
  TestFunctionSource source(Always(Surface));
  EXPECT_THROW(SamplePlot(model, source, 2, std::vector<double>{0, 0}), std::invalid_argument);
  EXPECT_THROW(SamplePlot(model, source, 0, std::vector<double>{0}), std::invalid_argument);
  model.HaveResults = false;
  EXPECT_THROW(SamplePlot(model, source, 0, std::vector<double>{0, 0}), std::logic_error);
}

TEST(PlotSeries, CentrePointIsTheCentreAndSampleCountFollowsTheTermsAndProblemSize) {
  ProblemModel model = SurfaceModel();
  EXPECT_EQ(CentrePoint(model), (std::vector<double>{1.0, 0.0}));
  EXPECT_EQ(PlotSampleCount(model, 0), DefaultPlotSamples);
  model.LastTerm[0] = 199;  // 200 terms: eight samples each
  EXPECT_EQ(PlotSampleCount(model, 0), 1600);
  model.LastTerm[1] = 499999;  // 1E+08 coefficients: as few samples as allowed
  EXPECT_EQ(PlotSampleCount(model, 0), MinPlotSamples);
}

}  // namespace
}  // namespace quon
