// What the coefficients of a Chebyshev fit say about its error, without a single sample
// of the function: the decision that a series has converged, an estimate of its largest
// difference from the function, and the number of terms a given accuracy needs.
//
// The method follows the chopping of Chebyshev series in adaptive Chebyshev tools
// (Aurentz & Trefethen, "Chopping a Chebyshev series", ACM TOMS 43, 2017): the magnitudes
// of the coefficients along a variable (summed over the other variables' indices, an
// envelope that bounds every slice) decay geometrically for an analytic function until
// they reach a plateau of rounding noise near eps times the sum of all magnitudes, times
// the square root of the number of slices an entry of the envelope sums (the noise of
// every slice adds up there, as independent roundings do). A tail
// on that plateau has converged: the estimate is then the rounding level,
// 4 sqrt(n) eps sum|c| for n terms in all. Otherwise the decay rate r is read from the
// last pairs of coefficients (pairs, because an even or odd function has every other
// coefficient zero), the slowest over one to three pairs, and the error of the
// interpolant is taken as twice the geometric tail beyond the last coefficient,
// 2 * 3 M r / (1 - r) with M the last pair's size and a safety factor of 3; a decay
// slower than r = 0.95 means the series has not converged, and the estimate is then
// twice the sum of the magnitudes (the interpolant's own size). Tried on analytic
// functions from exp(x) to cos(50 x) and the Runge function at 3 to 260 terms, the
// estimate lies between 0.5 and 100 times the largest difference sampled at 100,000
// points once that difference is below 1E-2. It can be fooled: a polynomial of exactly
// the fitted degree has no tail to show it converged, and a function with a kink (|x|^3)
// decays algebraically, its interpolant's last coefficients shrunk by aliasing, so the
// estimate falls short there. Cost: one pass over the coefficients per variable.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/model/coef_array.h"
#include "core/model/problem_model.h"

namespace quon {

// The sum over every other index of |Coef|, per index of dimension k; or, with `largest`,
// the largest of them.
std::vector<double> CoefficientEnvelope(const CoefArray& coef, int k, bool largest = false);

// How many coefficients each entry of dimension k's envelope sums: the size of a slice.
double SlicesPerEntry(const CoefArray& coef, int k);

struct TailEstimate {
  bool Converged = false;  // the series decays to its tail (false: still growing or flat)
  double Error = 0.0;      // the estimated truncation error along this variable
  double DecayRate = 1.0;  // r per coefficient, from the last pairs
};

// The tail of one variable's envelope; `scale` is the sum of all magnitudes, `slices` the
// number of coefficients each entry of the envelope sums.
TailEstimate EstimateTail(const std::vector<double>& envelope, double scale, double slices = 1.0);

// The rounding level of a fit with `terms` terms in all and coefficient magnitudes
// summing to `scale`.
double RoundingLevel(int64_t terms, double scale);

struct ChebyshevEstimate {
  double Error = 0.0;                // the estimated largest difference
  std::vector<int32_t> Unconverged;  // variables whose series has not converged
};

// The estimate for a model with results whose every variable in use has Chebyshev terms;
// none for other models (the tail says nothing about power or trigonometric terms).
std::optional<ChebyshevEstimate> EstimateChebyshevError(const ProblemModel& model);

// The fewest terms, at least 2, whose truncation of the envelope's series keeps twice
// the sum of the magnitudes left out at or below `tolerance`; the envelope's own length
// when none does.
int32_t ChopCount(const std::vector<double>& envelope, double tolerance);

}  // namespace quon
