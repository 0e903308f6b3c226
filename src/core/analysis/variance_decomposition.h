// The mean, the variance and the variance-based sensitivity indices of the approximation
// over the problem's box under the uniform weight, exact from the coefficients.
//
// With G_k the Gram matrix of variable k's terms over its interval (gram_matrix.h) and m_k
// its row 0 (the terms' means), G_k = m_k m_k' + P_k, where P_k, the covariance of the
// terms, is factored as L_k L_k' through its eigenvalues (negative ones, rounding, dropped).
// Expressing the coefficients in the rows of B_k' = [m_k L_k]' (one mode product per
// variable) gives an array Z whose squares add up to the mean of the square, Z(0,..,0) being
// the mean; the squares whose indices are non-zero exactly for the variables of a set u add
// up to the variance D_u of the set's term of the ANOVA (Hoeffding-Sobol) decomposition.
// The main effect of variable k is D_{k} / D, its total effect the sum of D_u over the sets
// holding k, over D, the variance: Sobol, "Global sensitivity indices for nonlinear
// mathematical models and their Monte Carlo estimates", Math. Comput. Simul. 55 (2001);
// the route through the coefficients is that of polynomial chaos (Sudret, Reliab. Eng.
// Syst. Saf. 93 (2008)), here with the fit's own terms instead of orthogonal ones.
// Every variance is a sum of squares, never a difference, so it cannot come out negative
// and the constant part of the function does not cancel against it.
// Cost: an eigenvalue decomposition of an n x n matrix per variable and one pass of mode
// products over the N coefficients, about N (n + 1) multiply-adds per variable. Accuracy:
// relative errors of a few roundings times the ratio of the coefficients' magnitudes to
// the function's (large only for ill-conditioned power terms). Fails with AnalysisError
// for a zero period or sums that overflow.
#pragma once

#include <array>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

struct VarianceDecomposition {
  double Mean = 0.0;
  double Variance = 0.0;
  // D_u for every set u of variables in use, by bit mask (bit k: variable k); D_0 = 0.
  std::array<double, 1 << MaxVars> PartialVariance{};
  // One index per variable in use; all 0 when the variance is 0.
  std::vector<double> MainEffect;
  std::vector<double> TotalEffect;
};

// The decomposition of a model with results over its box. Throws std::logic_error for a
// model without results, AnalysisError as above.
VarianceDecomposition DecomposeVariance(const ProblemModel& model);

}  // namespace quon
