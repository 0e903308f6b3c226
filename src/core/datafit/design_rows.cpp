#include "core/datafit/design_rows.h"

#include <algorithm>

#include "core/eval/variable_terms.h"

namespace quon {

DesignRows::DesignRows(const ProblemModel& model) {
  for (int k = 0; k < VariableCount(model); ++k) {
    geometry_.push_back(VariableGeometry(model, k));
    columns_ *= static_cast<std::size_t>(geometry_.back().LastTerm) + 1;
  }
  work_.resize(columns_);
  next_.resize(columns_);
}

void DesignRows::Row(const double* x, double* out) const {
  // The row grows one variable at a time: the block of term index j of variable k is the
  // row so far times that term. Blocks are written from the last down, so that the row so
  // far (block 0) is read before it is overwritten.
  out[0] = 1.0;
  std::size_t size = 1;
  for (std::size_t k = 0; k < geometry_.size(); ++k) {
    const std::vector<double> terms = TermValues(geometry_[k], x[k]);
    for (std::size_t j = terms.size(); j-- > 0;) {
      for (std::size_t i = 0; i < size; ++i) out[j * size + i] = out[i] * terms[j];
    }
    size *= terms.size();
  }
}

DoubleDouble DesignRows::Residual(const double* x, double y, const double* c) {
  // Contract the coefficient tensor with the first variable's terms, then the next, ...
  std::size_t size = columns_;
  bool first = true;
  for (std::size_t k = 0; k < geometry_.size(); ++k) {
    const std::vector<DoubleDouble> terms = ExtendedTermValues(geometry_[k], x[k]);
    const std::size_t count = terms.size();
    const std::size_t rest = size / count;
    for (std::size_t r = 0; r < rest; ++r) {
      DoubleDouble sum;
      for (std::size_t j = 0; j < count; ++j) {
        sum += first ? terms[j] * c[r * count + j] : terms[j] * work_[r * count + j];
      }
      next_[r] = sum;
    }
    std::swap(work_, next_);
    size = rest;
    first = false;
  }
  return DoubleDouble(y) - work_[0];
}

void DesignRows::AddRow(const double* x, DoubleDouble factor, DoubleDouble* sum) {
  work_[0] = factor;
  std::size_t size = 1;
  for (std::size_t k = 0; k < geometry_.size(); ++k) {
    const std::vector<DoubleDouble> terms = ExtendedTermValues(geometry_[k], x[k]);
    for (std::size_t j = terms.size(); j-- > 0;) {
      for (std::size_t i = 0; i < size; ++i) work_[j * size + i] = work_[i] * terms[j];
    }
    size *= terms.size();
  }
  for (std::size_t j = 0; j < columns_; ++j) sum[j] += work_[j];
}

bool DesignRows::Inside(const double* x) const {
  for (std::size_t k = 0; k < geometry_.size(); ++k) {
    const NodeGeometry& g = geometry_[k];
    const double low = std::min(g.LowerLimit, g.UpperLimit);
    const double high = std::max(g.LowerLimit, g.UpperLimit);
    if (!(x[k] >= low && x[k] <= high)) return false;
  }
  return true;
}

}  // namespace quon
