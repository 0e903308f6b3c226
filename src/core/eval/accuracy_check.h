// How good the fitted approximation is between the nodes, where the fit itself never
// looked: the user's function and the approximation compared on the check grid
// (check_grid.h), giving the largest absolute and relative difference, where the largest
// one lies, and the root mean square of the differences; plus the conditioning warnings of
// basis_condition.h; for a Chebyshev fit, the error its coefficients estimate.
//
// The function is evaluated once per check point through a PointFunctionSource, on several
// threads when the source allows it; the approximation on the whole tensor subset at once
// (grid_approximation.h). After the tensor subset the check looks again around the worst
// point found, at the neighbouring check coordinates the subset skipped, up to
// MaxRefineRounds times while the worst point moves. Cost: about DefaultCheckPoints
// function evaluations (a tenth of the fit's) plus 3^n per refining round.
//
// A point whose function value fails (an error number, or a value that is not finite) or
// whose approximation overflows is counted in FailedPoints and left out of the figures.
// Nothing of the model or of the program's script engine is changed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/eval/chebyshev_tail.h"
#include "core/eval/check_grid.h"
#include "core/eval/point_function.h"
#include "core/fit/basis_condition.h"
#include "core/model/problem_model.h"

namespace quon {

inline constexpr int MaxRefineRounds = 3;

struct AccuracyResult {
  bool Checked = false;            // false when the model has no results to check
  std::vector<std::string> Names;  // of the variables in use
  std::vector<int32_t> Terms;      // of the variables in use
  int32_t PointsPerInterval = 1;

  double MaxAbsDiff = 0.0;
  // MaxAbsDiff over the largest magnitude of the function on the check points: a measure
  // that does not explode where the function crosses zero.
  double MaxRelDiff = 0.0;
  double RmsDiff = 0.0;
  std::vector<double> WorstPoint;  // where MaxAbsDiff occurs; empty when no point succeeded
  double WorstFunction = 0.0;
  double WorstApproximation = 0.0;

  int64_t CheckPoints = 0;  // every point compared, the failed ones included
  int64_t FailedPoints = 0;
  int32_t FirstFailure = 0;  // error number of the first failed function value, 0 for none

  std::vector<ConditionWarning> Warnings;
  // For a fit whose every variable has Chebyshev terms: the error the coefficients'
  // tails estimate (chebyshev_tail.h), beside the sampled figures.
  std::optional<ChebyshevEstimate> Estimate;
};

// Compares function and approximation of a model with results. Throws
// std::invalid_argument for a bad budget; never changes the model.
AccuracyResult CheckAccuracy(const ProblemModel& model, PointFunctionSource& function,
                             const CheckBudget& budget = {});

}  // namespace quon
