// How far the coefficients of each variable can be trusted: an estimate of the condition
// number of the variable's basis matrix, and a warning for the variables whose matrix is so
// ill-conditioned that the fit's coefficients may have lost most of their digits.
//
// The estimate is the 1-norm condition number of a copy of the basis matrix. For a power
// variable every column is first scaled to a largest magnitude of 1: elimination with
// partial pivoting treats a scaled column exactly as the unscaled one (it scales that
// column's results and nothing else), so the scaling removes the harmless growth of high
// powers on a wide interval and keeps the part that really costs digits, nodes at which the
// terms are nearly linearly dependent. Sines and cosines are never larger than 1 anywhere,
// and their columns are left as they are: a column of a sine that vanishes at every node
// holds nothing but rounding residues, and scaling it up would hide that. The norm of the
// inverse comes from Hager's estimator with Higham's refinements (as in LAPACK's xLACON) on
// an LU factorisation with partial pivoting of the copy: O(n^3 / 3) for the factorisation,
// O(n^2) per estimator step, at most five steps. The fit's own matrix and results are never
// touched. An exact zero pivot, a NaN or an infinity gives an infinite condition number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/fit/basis.h"
#include "core/model/problem_model.h"

namespace quon {

// Condition numbers above this leave fewer than about six of the sixteen decimal digits of
// a double in the coefficients.
inline constexpr double IllConditionedAbove = 1e10;

// The estimated 1-norm condition number of `matrix`, with its columns first scaled to a
// largest magnitude of 1 when scaleColumns is true; infinity when the matrix is singular
// in floating point or holds a NaN or an infinity. The matrix is not changed.
double EstimateCondition(const BasisMatrix& matrix, bool scaleColumns);

// The same for a basis of the given kind: power columns, whose magnitudes grow with the
// power, are scaled first; sines, cosines and Chebyshev polynomials, bounded by 1, are not.
double EstimateCondition(const BasisMatrix& matrix, TermKind kind);

struct ConditionWarning {
  int32_t Var = 0;  // 0..LastVar
  std::string Name;
  int32_t Terms = 0;
  TermKind Kind = TermKind::Power;
  double Condition = 0.0;  // may be infinite
};

// One warning per variable in use whose basis matrix has a condition estimate above
// IllConditionedAbove, in variable order. Builds each matrix afresh from the model.
// Chebyshev variables are left out: their fit is a cosine transform, not a solve.
std::vector<ConditionWarning> CheckConditioning(const ProblemModel& model);

}  // namespace quon
