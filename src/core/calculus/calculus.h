// Calculus on the fitted approximation, exact from its coefficients: partial derivatives
// of any order at a point and definite integrals over a box. Each variable's terms are
// differentiated or integrated on their own (the approximation is a sum of products of
// one-variable terms), and the results are summed with the coefficients as the evaluator
// sums them (approximation_kernel.h). No differences or quadrature are involved, so the
// results are as accurate as the coefficients and a few roundings allow.
//
// Power term j, u = x - c:     d^d/dx^d u^j = j!/(j-d)! u^(j-d)   (0 for d > j)
//                              integral     = (U^(j+1) - L^(j+1)) / (j+1)
// Trigonometric term, w = 2 pi / P, a = m w u with the multiple m w u built by repeated
// addition as the evaluator builds it:
//                              d^d/dx^d sin a = (m w)^d sin(a + d pi/2), cos likewise
//                              integral of sin a = -(cos A - cos A') / (m w), of cos a
//                              = (sin A - sin A') / (m w), of the constant term U - L.
// Chebyshev term T_j(s), s = (x - m) / r: the d-th derivatives of every T_j by the
// differentiated three-term recurrence T_(j+1)^(q) = 2 s T_j^(q) + 2 q T_j^(q-1) -
// T_(j-1)^(q), times r^-d; the integral r (F_j(S) - F_j(S')) with the antiderivative
// F_j = T_(j+1) / (2 (j + 1)) - T_(j-1) / (2 (j - 1)) (F_0 = s, F_1 = s^2 / 2), as in
// Mason & Handscomb, "Chebyshev Polynomials", 2.4.
// Cost: a few operations per term plus one multiply-add per coefficient.
// Fails with CalculusError for a variable name not in use, a box or point of the wrong
// size, a zero period of a trigonometric variable, an empty interval of a Chebyshev one,
// or a result that overflows.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

class CalculusError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The values at x of the order-th derivatives of variable k's terms, term 0 first.
std::vector<double> TermDerivatives(const ProblemModel& model, int k, double x, int order);

// The integrals from lo to hi of variable k's terms, term 0 first.
std::vector<double> TermIntegrals(const ProblemModel& model, int k, double lo, double hi);

// The partial derivative at `point` (one coordinate per variable in use) taken once for
// every entry of `variables` (names as VarName holds them, so {"x", "x"} is the second
// derivative in x). An empty list gives the approximation's value.
double PartialDerivative(const ProblemModel& model, const std::vector<std::string>& variables,
                         const std::vector<double>& point);

// The gradient at `point`: one first derivative per variable in use.
std::vector<double> Gradient(const ProblemModel& model, const std::vector<double>& point);

// The integral over the box whose limits are lower[k]..upper[k] for each variable in use;
// the whole box of the problem (LowerLimit..UpperLimit) when both are empty.
double Integral(const ProblemModel& model, const std::vector<double>& lower = {},
                const std::vector<double>& upper = {});

}  // namespace quon
