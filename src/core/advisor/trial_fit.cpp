#include "core/advisor/trial_fit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "core/eval/accuracy_check.h"
#include "core/eval/grid_approximation.h"
#include "core/fit/fit_driver.h"
#include "core/fit/grid_position.h"
#include "core/model/node_geometry.h"

namespace quon {
namespace {

// The largest difference between the function and the model's approximation on the probes.
double ProbeDifference(const ProblemModel& model, const ProbeSet& probes) {
  const std::vector<double> approximation = ApproximationOnGrid(model, probes.Coords);
  double largest = 0.0;
  for (std::size_t i = 0; i < approximation.size(); ++i) {
    if (!probes.Usable[i]) continue;
    const double difference = std::abs(approximation[i] - probes.Values[i]);
    // NaN compares false: an overflowing approximation is no usable fit.
    if (!(difference <= largest)) largest = difference;
  }
  return largest;
}

// Samples the nodes into Coef; the error number of the first failed node, or 0.
int32_t SampleNodes(ProblemModel& model, PointFunctionSource& function,
                    const std::function<bool()>& cancelled) {
  const int vars = VariableCount(model);
  std::array<NodeGeometry, MaxVars> geometry;
  for (int k = 0; k < vars; ++k) geometry[static_cast<std::size_t>(k)] = VariableGeometry(model, k);
  const auto total = static_cast<int64_t>(model.Coef.size());
  std::vector<double> points, values;
  std::vector<int32_t> errors;
  for (int64_t begin = 0; begin < total; begin += SliceNodes) {
    if (cancelled && cancelled()) throw TrialCancelled{};
    const int64_t end = std::min(total, begin + SliceNodes);
    points.clear();
    GridPosition position(model.Coef, static_cast<std::size_t>(begin));
    for (int64_t n = begin; n < end; ++n, position.Advance()) {
      for (int k = 0; k < vars; ++k) {
        points.push_back(geometry[static_cast<std::size_t>(k)].Node(position.node(k)));
      }
    }
    EvaluateAtPoints(function, vars, points, values, errors);
    for (int64_t n = begin; n < end; ++n) {
      const auto i = static_cast<std::size_t>(n - begin);
      if (errors[i] != 0) return errors[i];
      model.Coef.data()[n] = values[i];
    }
  }
  return 0;
}

}  // namespace

ProbeSet MakeProbeSet(const ProblemModel& model, PointFunctionSource& function) {
  const int vars = VariableCount(model);
  const auto perVariable = std::max<int64_t>(
      2, static_cast<int64_t>(std::pow(static_cast<double>(ProbePoints), 1.0 / vars)));
  ProbeSet probes;
  const double pi = 4.0 * std::atan(1.0);
  for (int k = 0; k < vars; ++k) {
    const auto s = static_cast<std::size_t>(k);
    const double middle = (model.LowerLimit[s] + model.UpperLimit[s]) / 2;
    const double half = (model.UpperLimit[s] - model.LowerLimit[s]) / 2;
    for (int64_t i = 0; i < perVariable; ++i) {
      probes.Coords[s].push_back(middle + half * std::cos(pi * (static_cast<double>(i) + 0.5) /
                                                          static_cast<double>(perVariable)));
    }
  }
  std::vector<double> points;
  int64_t total = 1;
  for (int k = 0; k < vars; ++k) total *= perVariable;
  for (int64_t n = 0; n < total; ++n) {
    int64_t rest = n;
    for (int k = 0; k < vars; ++k) {
      points.push_back(
          probes.Coords[static_cast<std::size_t>(k)][static_cast<std::size_t>(rest % perVariable)]);
      rest /= perVariable;
    }
  }
  std::vector<int32_t> errors;
  EvaluateAtPoints(function, vars, points, probes.Values, errors);
  for (std::size_t i = 0; i < errors.size(); ++i) {
    probes.Usable.push_back(errors[i] == 0);
    if (errors[i] == 0) {
      probes.LargestMagnitude = std::max(probes.LargestMagnitude, std::abs(probes.Values[i]));
    }
  }
  return probes;
}

TrialResult FitTrial(ProblemModel& model, const std::vector<int32_t>& terms,
                     PointFunctionSource& function, const ProbeSet& probes,
                     const std::function<bool()>& cancelled) {
  TrialResult result;
  result.Terms = terms;
  result.Coefficients = 1;
  CoefArray::LastTerms shape{};
  for (int k = 0; k < VariableCount(model); ++k) {
    const auto s = static_cast<std::size_t>(k);
    model.LastTerm[s] = terms[s] - 1;
    shape[s] = terms[s] - 1;
    result.Coefficients *= terms[s];
  }
  model.HaveResults = false;
  model.Coef = CoefArray();
  model.Coef.Allocate(shape);

  result.FailedNode = SampleNodes(model, function, cancelled);
  if (result.FailedNode != 0) return result;
  if (SolveSamples(model)) {
    result.Singular = true;
    return result;
  }
  model.HaveResults = true;
  if (cancelled && cancelled()) throw TrialCancelled{};

  CheckBudget budget;
  // The advisor decides on the check's figure, so on small grids it looks at more points
  // than the check after a Compute does: a thin tensor subset over several variables can
  // miss the worst point by far.
  budget.MaxPoints =
      std::clamp(static_cast<int64_t>(model.Coef.size()), LeastCheckPoints, MostCheckPoints);
  const AccuracyResult check = CheckAccuracy(model, function, budget);
  // A check whose every point failed measured nothing; the figures stay infinite.
  if (check.FailedPoints < check.CheckPoints) {
    const double probe = ProbeDifference(model, probes);
    const double probeRelative =
        probes.LargestMagnitude > 0 ? probe / probes.LargestMagnitude : check.MaxRelDiff;
    result.MaxAbsDiff = std::max(check.MaxAbsDiff, probe);
    result.MaxRelDiff = std::max(check.MaxRelDiff, probeRelative);
  }
  // A NaN coefficient makes the differences NaN; count it as no usable fit.
  if (!(result.MaxAbsDiff >= 0)) result.MaxAbsDiff = std::numeric_limits<double>::infinity();
  if (!(result.MaxRelDiff >= 0)) result.MaxRelDiff = std::numeric_limits<double>::infinity();
  return result;
}

}  // namespace quon
