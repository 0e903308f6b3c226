#include "core/eval/plot_series.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "core/eval/approximation_kernel.h"
#include "core/model/node_geometry.h"

namespace quon {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The approximation at `point`, NaN when it fails.
double ApproximationAt(ApproximationKernel& kernel, const std::vector<double>& point) {
  try {
    return kernel.At(point);
  } catch (const EvaluationError&) {
    return kNaN;
  }
}

}  // namespace

int32_t PlotSampleCount(const ProblemModel& model, int var) {
  const auto terms = static_cast<double>(model.LastTerm[static_cast<std::size_t>(var)] + 1);
  double samples = std::max<double>(DefaultPlotSamples, 8 * terms);
  double work = 1.0;  // coefficients, one multiply-add each per sample
  for (int k = 0; k < VariableCount(model); ++k) {
    work *= model.LastTerm[static_cast<std::size_t>(k)] + 1;
  }
  samples = std::min(samples, MaxPlotWork / work);
  return static_cast<int32_t>(std::clamp<double>(samples, MinPlotSamples, MaxPlotSamples));
}

std::vector<double> CentrePoint(const ProblemModel& model) {
  const int vars = VariableCount(model);
  return std::vector<double>(model.Center.begin(), model.Center.begin() + vars);
}

PlotSeries SamplePlot(const ProblemModel& model, PointFunctionSource& function, int var,
                      std::span<const double> held) {
  if (!model.HaveResults) throw std::logic_error("There are no results to plot.");
  const int vars = VariableCount(model);
  if (var < 0 || var >= vars) throw std::invalid_argument("No such variable to plot along.");
  if (held.size() != static_cast<std::size_t>(vars)) {
    throw std::invalid_argument("The point needs one coordinate per variable.");
  }
  const auto v = static_cast<std::size_t>(var);
  PlotSeries series;
  series.Var = var;
  series.Name = v < model.VarName.size() ? model.VarName[v] : std::string();
  series.Held.assign(held.begin(), held.end());

  const int32_t samples = PlotSampleCount(model, var);
  const double lower = model.LowerLimit[v];
  const double upper = model.UpperLimit[v];
  std::vector<double> point = series.Held;
  std::vector<double> points;
  points.reserve(static_cast<std::size_t>(samples) * static_cast<std::size_t>(vars));
  ApproximationKernel kernel(model);
  for (int32_t i = 0; i < samples; ++i) {
    // The last sample is the upper limit itself, not a rounding of it.
    const double x =
        i + 1 == samples ? upper : lower + (upper - lower) * static_cast<double>(i) / (samples - 1);
    point[v] = x;
    series.X.push_back(x);
    series.Approximation.push_back(ApproximationAt(kernel, point));
    points.insert(points.end(), point.begin(), point.end());
  }
  std::vector<int32_t> errors;
  EvaluateAtPoints(function, vars, points, series.Function, errors);
  for (std::size_t i = 0; i < series.X.size(); ++i) {
    if (errors[i] != 0) series.Function[i] = kNaN;
    series.Difference.push_back(series.Function[i] - series.Approximation[i]);
  }
  const NodeGeometry geometry = VariableGeometry(model, var);
  for (int32_t j = 0; j <= geometry.LastTerm; ++j) {
    point[v] = geometry.Node(j);
    series.NodeX.push_back(point[v]);
    series.NodeValue.push_back(ApproximationAt(kernel, point));
  }
  return series;
}

}  // namespace quon
