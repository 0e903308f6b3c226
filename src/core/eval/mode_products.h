// Sums of the coefficients weighted by one row per variable, for many rows at once: for
// each variable in use a matrix whose rows hold one weight per term, and for every
// combination of one row per variable the sum over all index combinations of
// Coef(j0, j1, j2, j3) times W0(r0, j0) W1(r1, j1) ... The sum is taken one variable at a
// time (a mode product of Coef with that variable's matrix), so R0 x R1 x R2 x R3 sums over
// N coefficients cost about R0 N + R1 N R0 / n0 + ... multiply-adds instead of N per sum.
// The approximation on a grid (rows: the terms at each coordinate), calculus on many
// points and the analysis of the fit (means, Gram factors, derivatives) are all this.
// The variables that shrink the array most are reduced first, so the intermediate sums stay
// small; the order of the additions is fixed by the shapes alone, so equal inputs give
// equal bits.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

// Rows x (the variable's number of terms) weights, row-major.
struct WeightRows {
  std::size_t Rows = 0;
  std::vector<double> Values;
};

// The sums in canonical order (variable 0's row fastest); one WeightRows per variable in
// use, each with at least one row. Throws std::logic_error when Coef does not have the shape
// LastTerm gives or a variable in use has no rows, std::bad_alloc when the intermediate
// sums do not fit in memory.
std::vector<double> CoefficientModeProducts(const ProblemModel& model,
                                            const std::array<WeightRows, MaxVars>& weights);

// The arrays of the intermediate sums, kept from call to call: large arrays are then
// allocated, and their pages touched by the system, once instead of at every call.
struct ModeProductScratch {
  std::vector<double> Result;
  std::vector<double> Other;
};

// The same sums into scratch.Result, which the returned reference names.
const std::vector<double>& CoefficientModeProducts(const ProblemModel& model,
                                                   const std::array<WeightRows, MaxVars>& weights,
                                                   ModeProductScratch& scratch);

}  // namespace quon
