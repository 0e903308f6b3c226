// One trial of the term advisor: the problem fitted with given numbers of terms per
// variable and measured between the nodes, without the program's script engine.
//
// The function is sampled at every node (the node geometry's Node(j)) through a
// PointFunctionSource, in slices of SliceNodes points so that a cancel request is seen
// inside a large fit too, on several threads when the source allows it. The samples become
// coefficients by the fit's own solver, one variable at a time, and the accuracy check
// (accuracy_check.h) compares function and approximation between the nodes, on as many
// points as there are nodes, from LeastCheckPoints to MostCheckPoints (the check cannot
// be cancelled, so it is kept to a few slices). The check's points move with the counts, so two
// trials whose approximations are the same can measure differently; every trial is also
// measured on one fixed probe grid (Chebyshev points of the first kind per variable, which
// crowd towards the ends where equally spaced fits err most), whose function values are
// taken once per search, and the larger figure counts. Cost: one function evaluation per
// node and per check point, plus the approximation on the probe grid (grid_approximation.h);
// memory: one Coef of the trial's size. A node whose function value fails makes the trial unusable
// (its error is infinite), as does a singular system: the search then treats those counts as out of
// reach rather than fitting over a sample of 0.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "core/eval/point_function.h"
#include "core/model/problem_model.h"

namespace quon {

// Small enough that a slice of an expensive function takes a fraction of a second.
inline constexpr int64_t SliceNodes = 4096;
inline constexpr int64_t ProbePoints = 16384;
inline constexpr int64_t LeastCheckPoints = 4096;
inline constexpr int64_t MostCheckPoints = 16384;

// The fixed points every trial of a search is measured on, with the function's values.
struct ProbeSet {
  std::array<std::vector<double>, 4> Coords;  // per variable in use
  std::vector<double> Values;                 // canonical order, first variable fastest
  std::vector<bool> Usable;                   // the function had a finite value there
  double LargestMagnitude = 0.0;              // of the usable values
};

// About ProbePoints points: the same count along each variable in use, at least 2.
ProbeSet MakeProbeSet(const ProblemModel& model, PointFunctionSource& function);

struct TrialResult {
  std::vector<int32_t> Terms;  // per variable in use
  // Largest absolute and relative (to the function's largest magnitude) difference
  // between the nodes; infinite for an unusable trial.
  double MaxAbsDiff = std::numeric_limits<double>::infinity();
  double MaxRelDiff = std::numeric_limits<double>::infinity();
  int64_t Coefficients = 0;  // the product of the term counts
  int32_t FailedNode = 0;    // error number of the first failed node sample, 0 for none
  bool Singular = false;
};

// Thrown out of FitTrial when the cancel request returns true.
struct TrialCancelled {};

// Sets model's LastTerm and Coef for `terms` (one count >= 2 per variable in
// use, the rest of the problem as gathered), fits and measures. Returns with the
// model holding the trial's results. Throws TrialCancelled when `cancelled` says so
// between slices, GridTooLarge when the grid cannot be allocated.
TrialResult FitTrial(ProblemModel& model, const std::vector<int32_t>& terms,
                     PointFunctionSource& function, const ProbeSet& probes,
                     const std::function<bool()>& cancelled);

}  // namespace quon
