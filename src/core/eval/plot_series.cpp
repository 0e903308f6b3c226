#include "core/eval/plot_series.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "core/eval/evaluator.h"

namespace quon {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Keeps the evaluation fields that Evaluate writes and puts them back at the end, so that
// drawing a plot changes nothing the user can see.
class EvaluationFieldsGuard {
 public:
  explicit EvaluationFieldsGuard(ProblemModel& model)
      : model_(model),
        offset_(model.EvalOffset),
        angle_(model.EvalAngle),
        value_(model.ApproxValue) {}
  ~EvaluationFieldsGuard() {
    model_.EvalOffset = offset_;
    model_.EvalAngle = angle_;
    model_.ApproxValue = value_;
  }
  EvaluationFieldsGuard(const EvaluationFieldsGuard&) = delete;
  EvaluationFieldsGuard& operator=(const EvaluationFieldsGuard&) = delete;

 private:
  ProblemModel& model_;
  PerVariable<double> offset_;
  PerVariable<double> angle_;
  double value_;
};

// The approximation at `point` through the evaluator, NaN when it fails.
double ApproximationAt(ProblemModel& model, const std::vector<double>& point) {
  for (std::size_t k = 0; k < point.size(); ++k) {
    model.EvalOffset[k] = point[k] - model.Center[k];
  }
  try {
    Evaluate(model);
  } catch (const EvaluationError&) {
    return kNaN;
  }
  return model.ApproxValue;
}

}  // namespace

int32_t PlotSampleCount(const ProblemModel& model, int var) {
  const auto terms = static_cast<double>(model.LastTerm[static_cast<std::size_t>(var)] + 1);
  double samples = std::max<double>(DefaultPlotSamples, 8 * terms);
  double work = 1.0;  // coefficients, one multiply-add each per sample
  for (int k = 0; k <= model.LastVar && k < MaxVars; ++k) {
    work *= model.LastTerm[static_cast<std::size_t>(k)] + 1;
  }
  samples = std::min(samples, MaxPlotWork / work);
  return static_cast<int32_t>(std::clamp<double>(samples, MinPlotSamples, MaxPlotSamples));
}

std::vector<double> CentrePoint(const ProblemModel& model) {
  const int vars = std::clamp(model.LastVar + 1, 1, MaxVars);
  return std::vector<double>(model.Center.begin(), model.Center.begin() + vars);
}

PlotSeries SamplePlot(ProblemModel& model, PointFunctionSource& function, int var,
                      std::span<const double> held) {
  if (!model.HaveResults) throw std::logic_error("There are no results to plot.");
  const int vars = std::clamp(model.LastVar + 1, 1, MaxVars);
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
  const EvaluationFieldsGuard guard(model);
  for (int32_t i = 0; i < samples; ++i) {
    // The last sample is the upper limit itself, not a rounding of it.
    const double x =
        i + 1 == samples ? upper : lower + (upper - lower) * static_cast<double>(i) / (samples - 1);
    point[v] = x;
    series.X.push_back(x);
    series.Approximation.push_back(ApproximationAt(model, point));
    points.insert(points.end(), point.begin(), point.end());
  }
  std::vector<int32_t> errors;
  EvaluateAtPoints(function, vars, points, series.Function, errors);
  for (std::size_t i = 0; i < series.X.size(); ++i) {
    if (errors[i] != 0) series.Function[i] = kNaN;
    series.Difference.push_back(series.Function[i] - series.Approximation[i]);
  }
  for (int32_t j = 0; j <= model.LastTerm[v]; ++j) {
    // The node as the fit computes it.
    point[v] = static_cast<double>(j) * NodeSpacing(model, var) + lower;
    series.NodeX.push_back(point[v]);
    series.NodeValue.push_back(ApproximationAt(model, point));
  }
  return series;
}

}  // namespace quon
