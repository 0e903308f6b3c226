// All real roots of the approximation along one variable, the others held at a point:
// the approximation restricted to that line is a combination of the variable's own terms
// (its coefficients a mode product of Coef with the other variables' terms at the point),
// and its roots on the variable's interval are found by chebyshev_roots.h, sampled at the
// degree that resolves the variable's kind of terms (term_scales.h) and refined by
// Newton's method with the exact derivative of the terms (calculus.h). The rounding the
// finder allows for is that of the sums behind every value: the restriction's terms and
// coefficients taken with their magnitudes.
// Cost: one pass over the coefficients, then O(n) per sample for n terms. Fails with
// AnalysisError for a variable or point that does not fit the problem or a zero period.
#pragma once

#include <span>
#include <vector>

#include "core/analysis/chebyshev_roots.h"
#include "core/model/problem_model.h"

namespace quon {

// The roots along variable `var` (0..LastVar) within its interval, the others at `point`
// (one coordinate per variable in use; the entry of `var` is ignored). Throws
// std::logic_error for a model without results.
RealRoots RootsAlong(const ProblemModel& model, int var, std::span<const double> point);

// The coefficients of the restriction along `var` at `point`, one per term of `var`.
std::vector<double> RestrictionCoefficients(const ProblemModel& model, int var,
                                            std::span<const double> point);

}  // namespace quon
