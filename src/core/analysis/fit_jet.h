// The approximation's value, gradient and Hessian at a point, exact from the coefficients:
// each variable's terms and their first and second derivatives at the point
// (TermDerivatives, calculus.h) are three weight rows, and one pass of mode products
// (mode_products.h) gives all 3^n weighted sums at once, of which those of total order at
// most 2 are the jet. Cost: about 3 N multiply-adds for N coefficients, one pass over them.
// Accuracy: that of the sums, a few roundings times the magnitudes of what is added.
// Fails with CalculusError for a zero period. ValueAt, the value alone, is the cheapest
// way to a value for the many trial steps of a search.
#pragma once

#include <span>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

struct Jet {
  double Value = 0.0;
  std::vector<double> Gradient;  // one per variable in use
  std::vector<double> Hessian;   // n x n, row-major, symmetric
};

// The jet at `point`, one coordinate per variable in use.
Jet JetAt(const ProblemModel& model, std::span<const double> point);

// The value alone, by the same sums (N multiply-adds; equal to the evaluator's up to the
// order of the additions).
double ValueAt(const ProblemModel& model, std::span<const double> point);

// A copy of the model whose coefficients are their magnitudes, for RoundingAt.
ProblemModel WithAbsoluteCoefficients(const ProblemModel& model);

// The size of the rounding a value at `point` carries: the sum of the magnitudes of what is
// added up (coefficients times TermMagnitudes, term_scales.h) times the unit roundoff;
// `absolute` comes from WithAbsoluteCoefficients. Far above the value itself where the
// coefficients cancel (ill-conditioned power terms).
double RoundingAt(const ProblemModel& absolute, std::span<const double> point);

}  // namespace quon
