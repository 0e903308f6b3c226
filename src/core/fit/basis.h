// The one-variable basis matrix of the fit: rows are the variable's nodes, columns its
// terms, element (j, m) the value of term m at node j. Term 0 is 1; a power variable's
// term m is (x - c)^m, a trigonometric variable's odd term m the sine and even term m the
// cosine of the multiple (m + 1) / 2 of w (x - c), w = 2 pi / P, a Chebyshev variable's
// term m T_m(s_j) at its Chebyshev point s_j by the three-term recurrence (the fit itself
// never solves with that matrix: it takes the cosine transform, chebyshev_solve.h). The argument of
// node j is the geometry's NodeArgument, (j h + (a - c)) w. Powers are built by repeated
// multiplication and the multiples of the angle by repeated addition, as the evaluator
// builds them; the evaluator forms its angle step as atan(1) (x - c) 8 / P (AngleStep),
// so fit and evaluator agree term for term up to that rounding, not bit for bit. Cost:
// (T + 1)^2 elements, one sine or cosine each for a trigonometric variable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

// A square matrix of doubles, row-major.
class BasisMatrix {
 public:
  BasisMatrix() = default;
  // A zero-filled n x n matrix; n must have passed CheckBasisMatrixSize.
  explicit BasisMatrix(int32_t n)
      : n_(n), values_(static_cast<std::size_t>(n) * static_cast<std::size_t>(n), 0.0) {}

  int32_t size() const { return n_; }
  double& operator()(int32_t row, int32_t column) { return values_[index(row, column)]; }
  double operator()(int32_t row, int32_t column) const { return values_[index(row, column)]; }
  double* row(int32_t r) { return values_.data() + index(r, 0); }
  const double* row(int32_t r) const { return values_.data() + index(r, 0); }

 private:
  std::size_t index(int32_t row, int32_t column) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(n_) +
           static_cast<std::size_t>(column);
  }
  int32_t n_ = 0;
  std::vector<double> values_;
};

// The basis matrix of variable k (0..3) from its node geometry (node_geometry.h). A zero
// period gives infinite or NaN entries, which the solver then treats as its rules say.
BasisMatrix BuildBasisMatrix(const ProblemModel& model, int k);

}  // namespace quon
