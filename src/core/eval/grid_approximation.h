// The approximation at every point of a tensor grid at once: for each variable in use a
// list of coordinates, and the value at each combination of them. The sum over the
// coefficients is taken one variable at a time (a mode product of Coef with the matrix of
// that variable's terms at its coordinates), so a grid of s0 x s1 x s2 x s3 points costs
// about s0 N + s1 N s0 / n0 + ... multiply-adds for N coefficients, instead of N per point.
// The terms are those of the evaluator: powers of x - c built by repeated multiplication,
// and 1, sin t, cos t, sin 2t, ... with t = 2 pi (x - c) / P and the multiples built by
// repeated addition. The order of the additions differs from the evaluator's nested sums,
// so the values agree with it up to rounding, not bit for bit.
#pragma once

#include <array>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

// The values in canonical order (the first variable's coordinate fastest); a list per
// variable in use, each non-empty. Throws std::logic_error when Coef does not have the
// shape LastTerm gives, std::bad_alloc when the intermediate sums do not fit in memory.
// An overflow leaves an infinity or a NaN at the points concerned.
std::vector<double> ApproximationOnGrid(const ProblemModel& model,
                                        const std::array<std::vector<double>, 4>& coords);

}  // namespace quon
