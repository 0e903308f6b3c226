// The approximation's value, gradient and Hessian at a point, exact from the coefficients:
// each variable's terms and their first and second derivatives at the point
// (TermDerivatives, calculus.h) are three weight rows, and one pass of mode products
// (mode_products.h) gives all 3^n weighted sums at once, of which those of total order at
// most 2 are the jet. Cost: about 3 N multiply-adds for N coefficients, one pass over them.
// Accuracy: that of the sums, a few roundings times the magnitudes of what is added.
// Fails with CalculusError for a zero period.
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

}  // namespace quon
