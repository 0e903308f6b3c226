// The value of the fitted approximation at one point: the sum over all index combinations
// of Coef(j0, j1, j2, j3) times the product of the four one-variable terms, summed as four
// nested sums, variable 3 outermost, each variable's sum as variable_terms.h gives it.
// Reads the model and writes nothing. Cost: one multiply-add per coefficient (plus a sine
// or cosine per trigonometric term). The kernel (approximation_kernel.h) gives the same
// bits for many points at once.
#pragma once

#include <span>

#include "core/eval/variable_terms.h"
#include "core/model/problem_model.h"

namespace quon {

// The approximation at `point` (one coordinate per variable in use; missing ones count as
// 0). Throws EvaluationError on overflow or a zero period, std::logic_error when the
// model holds no results or Coef does not have the shape LastTerm gives.
double Evaluate(const ProblemModel& model, std::span<const double> point);

}  // namespace quon
