// The one-variable basis matrix of the fit: rows are the variable's nodes, columns its
// terms, element (j, m) the value of term m at node j. Term 0 is 1; a power variable's
// term m is (x - c)^m, a trigonometric variable's odd term m the sine and even term m the
// cosine of the multiple (m + 1) / 2 of w (x - c), w = 2 pi / P. Node j lies at
// (j h + (a - c)) from the centre. Powers are built by repeated multiplication and the
// multiples of the angle by repeated addition, in exactly the order the evaluator uses, so
// that fit and evaluator agree term for term. Cost: (T + 1)^2 elements, one sine or cosine
// each for a trigonometric variable.
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

// The basis matrix of variable k (0..3) from LastTerm, IsTrig, Period, NodeStep and
// NodeStart of the model. Omega is 8 atan(1) / Period for a trigonometric variable and
// exactly 1 for a power variable; a zero period gives infinite or NaN entries, which the
// solver then treats as its rules say.
BasisMatrix BuildBasisMatrix(const ProblemModel& model, int k);

}  // namespace quon
