// The largest and the smallest value of the approximation over a box, with where they lie.
//
// Global, by a scan that cannot step over an extreme followed by local refinement: the
// approximation on a grid with at least two points between neighbouring extremes of any
// combination of each variable's terms (extrema_scan.h; derived from the kind and number
// of terms, so a narrow peak between the nodes has grid points on its flanks), then from
// each of the best local maxima (minima) of the grid Newton's method with the exact
// gradient and Hessian from the coefficients (fit_jet.h), projected onto the box: a
// variable at a face of the box whose gradient points out of it is held there, so an
// extreme on a face or at a corner is refined on that face. A step that does not improve
// the value is halved, so the value never gets worse than at its grid point; where the
// Hessian is not definite the step follows the gradient instead. The value reported is
// the evaluator's at the final point.
// Accuracy: an extreme inside the box to a few roundings of the value (its location to
// about the square root of that, as the function is flat there); on a face likewise.
// Cost: the scan (extrema_scan.h) plus, per refinement, a few passes over the coefficients.
// Fails with AnalysisError for a bad box, a zero period or a grid too large to scan.
#pragma once

#include <cstdint>
#include <vector>

#include "core/analysis/analysis_checks.h"
#include "core/model/problem_model.h"

namespace quon {

// Starting points refined for each of the maximum and the minimum.
inline constexpr std::size_t ExtremeStarts = 8;

struct Extreme {
  double Value = 0.0;
  std::vector<double> Point;  // one coordinate per variable in use
};

struct Extremes {
  Extreme Maximum;
  Extreme Minimum;
  int64_t ScanPoints = 0;
};

// The extremes over `box` (a variable whose limits are equal is held there). Throws
// std::logic_error for a model without results.
Extremes FindExtremes(const ProblemModel& model, const Box& box);

}  // namespace quon
