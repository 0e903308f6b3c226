// The design of a least-squares fit with the problem's terms: the row of an observation
// at coordinates x is the tensor product of each variable's term values at its coordinate
// (TermValues, or ExtendedTermValues for the double-double forms), in Coef's canonical
// order (the first variable's term index fastest), so that coefficient j multiplies
// column j.
//
// Cost per observation, with n = N0 N1 N2 N3 columns: n multiplications for a row; for
// the residual, about n double-double multiply-adds, the tensor contracted one variable at
// a time; as many for adding a multiple of the row to a sum. No checks: a term that
// overflows gives an infinite or NaN entry, which the callers refuse.
#pragma once

#include <cstddef>
#include <vector>

#include "core/eval/double_double.h"
#include "core/model/node_geometry.h"
#include "core/model/problem_model.h"

namespace quon {

class DesignRows {
 public:
  // The geometries of the model's variables in use.
  explicit DesignRows(const ProblemModel& model);

  int Variables() const { return static_cast<int>(geometry_.size()); }
  std::size_t Columns() const { return columns_; }
  const NodeGeometry& Geometry(int k) const { return geometry_[static_cast<std::size_t>(k)]; }

  // The design row at x (one coordinate per variable) into out (Columns() values).
  void Row(const double* x, double* out) const;

  // y - row(x) . c, in double-double with the extended term values.
  DoubleDouble Residual(const double* x, double y, const double* c);

  // sum[j] += factor * row(x)[j] for every column, in double-double.
  void AddRow(const double* x, DoubleDouble factor, DoubleDouble* sum);

  // Whether x lies in the problem's box (each coordinate between its limits).
  bool Inside(const double* x) const;

 private:
  std::vector<NodeGeometry> geometry_;
  std::size_t columns_ = 1;
  std::vector<DoubleDouble> work_;
  std::vector<DoubleDouble> next_;
};

}  // namespace quon
