// The fitted approximation evaluated many times over: at point after point, bit for bit as
// the evaluator (evaluator.h) computes it, and as the weighted sum that calculus needs.
// Both take each variable's terms at a point from variable_terms.h.
//
// The nested sums of the evaluator are taken one variable at a time, innermost first: all
// of variable 0's sums (one per combination of the other indices) side by side, then
// variable 1's over their results, and so on. Every sum sees the same operations in the
// same order as in the evaluator (Horner from the highest power down for a power
// variable, an ascending sum of inner value times cos or sin of the running angle for a
// trigonometric one, Clenshaw's recurrence from the highest term down for a Chebyshev
// one), so the values agree exactly; only the independent sums are
// interleaved, which lets the inner loop run over adjacent coefficients. Cost: one
// multiply-add per coefficient and point, plus a sine or cosine per trigonometric term.
// Memory: a copy of the coefficients, transposed.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "core/eval/variable_terms.h"
#include "core/model/node_geometry.h"
#include "core/model/problem_model.h"

namespace quon {

class ApproximationKernel {
 public:
  // Copies what it needs from a model with results. Throws std::logic_error when Coef does
  // not have the shape LastTerm gives or the model holds no results.
  explicit ApproximationKernel(const ProblemModel& model);

  int Variables() const { return variables_; }
  int32_t Terms(int k) const { return terms_[static_cast<std::size_t>(k)]; }

  // The approximation at `point` (one coordinate per variable in use), equal bit for bit
  // to Evaluate. Throws EvaluationError as Evaluate does (a zero period,
  // an overflow).
  double At(std::span<const double> point);

  // The sum over all index combinations of Coef(j0, j1, j2, j3) times
  // weights[0][j0] * ... * weights[n-1][j(n-1)], for the variables in use; each weight
  // list has Terms(k) entries. Variable 0's sums are innermost, each ascending.
  double Contract(const std::array<std::vector<double>, MaxVars>& weights);

 private:
  // One variable's share of a reduction: Horner or Clenshaw in `offset`, or an ascending
  // sum with `weights` (all 1 when null).
  struct Factor {
    LevelForm Form = LevelForm::Weighted;
    double Offset = 0.0;
    const double* Weights = nullptr;
  };
  double Reduce(const std::array<Factor, MaxVars>& factors);

  int variables_ = 1;
  std::array<int32_t, MaxVars> terms_{1, 1, 1, 1};
  std::array<NodeGeometry, MaxVars> geometry_{};
  std::size_t rest_ = 1;  // combinations of the indices of variables 1..3
  // Coefficient (j0, r) at j0 * rest_ + r, r the combination of the other indices.
  std::vector<double> transposed_;
  std::vector<double> level_;                      // scratch: one level's results
  std::vector<double> next_;                       // scratch: the next level's results
  std::vector<double> b1_, b2_;                    // scratch: Clenshaw's b_(j+1), b_(j+2)
  std::array<VariableTerms, MaxVars> pointTerms_;  // scratch: the terms at the last point
};

}  // namespace quon
