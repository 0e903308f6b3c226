// The term advisor: numbers of terms per variable that bring the largest difference
// between function and approximation (measured between the nodes by the accuracy check,
// absolute or relative) within a wanted tolerance, with as few coefficients in all as the
// search finds.
//
// The search, a greedy one over whole term counts:
//  1. Per variable: the others held at a moderate count (ModerateTerms, or less where the
//     cap or the conditioning demand it), the variable's count rises from 2 until the
//     tolerance is met, the error stops falling (no drop below StallRatio of the best for
//     StallPatience counts; "grew" when the last is over twice the best), the conditioning
//     estimate fires, or the cap or the grid limit
//     is reached. Its answer is the first count that met the tolerance, else the first
//     that came within a factor 2 of the best error (where the others' error took over).
//     A sweep that stalled is made again with the variables that reached the tolerance
//     held at their answers, so that their error no longer hides its own.
//  2. Jointly, from those answers: while the tolerance is not met, the one variable whose
//     next count lowers the error most gets it; then, while a variable can lose a term and
//     still meet the tolerance, the one that saves most coefficients loses it.
// Counts whose conditioning warning would fire (basis_condition.h) are never fitted, so
// never suggested. Cost: at most MaxFits fits (each trial_fit.h's cost), of which the first
// phase makes at most MaxTerms - 1 per variable on grids of ModerateTerms^(n-1) * MaxTerms
// nodes; a trial already made is never fitted again. The cancel request is polled before
// every fit and between the slices of one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/advisor/trial_fit.h"
#include "core/eval/point_function.h"
#include "core/model/problem_model.h"

namespace quon {

inline constexpr int32_t ModerateTerms = 8;
inline constexpr double StallRatio = 0.8;
inline constexpr int32_t StallPatience = 3;
inline constexpr int32_t DefaultMaxTerms = 30;
// Chebyshev terms stay well conditioned however many there are (chebyshev_search.h).
inline constexpr int32_t DefaultChebyshevMaxTerms = 257;
// Beyond this a basis matrix's conditioning estimate alone would take seconds.
inline constexpr int32_t MostMaxTerms = 1000;
inline constexpr int64_t DefaultMaxGridPoints = int64_t{1} << 22;
inline constexpr int32_t DefaultMaxFits = 300;

struct AdvisorOptions {
  double Tolerance = 1e-6;  // > 0
  bool Relative = false;    // measure by the relative largest difference
  // Per variable, 2..MostMaxTerms; 0 for the default of the search that runs:
  // DefaultChebyshevMaxTerms when every variable has Chebyshev terms, else DefaultMaxTerms.
  int32_t MaxTerms = DefaultMaxTerms;
  int64_t MaxGridPoints = DefaultMaxGridPoints;  // nodes of one fit, >= 4
  int32_t MaxFits = DefaultMaxFits;              // >= 1
};

// Why a variable's own sweep (phase 1) ended.
enum class SweepEnd {
  Reached,         // a count met the tolerance
  Stalled,         // the error stopped falling
  Grew,            // ... and rose again well above its best
  IllConditioned,  // the next count's conditioning warning would fire
  Singular,        // the next count gave a singular system
  Capped,          // the cap on terms or on the grid
  FunctionFails,   // the function failed at a node
};

struct VariableSweep {
  int32_t Answer = 2;  // the count the joint phase starts from
  int32_t BestTerms = 2;
  double BestError = 0.0;
  SweepEnd End = SweepEnd::Capped;
  int32_t EndTerms = 0;  // the count at which the sweep ended (Grew: the last tried)
};

enum class AdviceStatus { Reached, Unreachable, Cancelled };

struct TermAdvice {
  AdviceStatus Status = AdviceStatus::Unreachable;
  // Reached: the suggestion. Otherwise the trial with the smallest error found (Terms
  // empty when no trial could be made).
  TrialResult Best;
  std::vector<TrialResult> Tried;     // in the order made
  std::vector<VariableSweep> Sweeps;  // per variable in use
  int32_t EvaluatedFits = 0;
  bool BudgetSpent = false;  // MaxFits ran out before the search ended
  int32_t MaxTerms = 0;      // the cap the search kept to
};

struct AdvisorHooks {
  // Polled before each fit and between slices; true stops the search (Cancelled).
  std::function<bool()> Cancelled;
  // After every fit: the trial just made and the best so far.
  std::function<void(const TrialResult& trial, const TrialResult& best, int32_t fits)> Progress;
};

// Searches with `problem` (a model whose problem has been gathered, moved in:
// its counts and results are not used): by the greedy search above, or when every
// variable has Chebyshev terms by the search on nested grids (chebyshev_search.h). Throws
// std::invalid_argument for options out of range.
TermAdvice SuggestTerms(ProblemModel problem, PointFunctionSource& function,
                        const AdvisorOptions& options, const AdvisorHooks& hooks = {});

// The figure the options measure by.
double MeasuredError(const TrialResult& trial, const AdvisorOptions& options);

}  // namespace quon
