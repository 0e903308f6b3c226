#include "core/eval/approximation_kernel.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "core/model/node_geometry.h"

namespace quon {

ApproximationKernel::ApproximationKernel(const ProblemModel& model) {
  if (!model.HaveResults || model.Coef.empty()) {
    throw std::logic_error("The model holds no results to evaluate.");
  }
  for (int k = 0; k < MaxVars; ++k) {
    const auto s = static_cast<std::size_t>(k);
    if (model.Coef.extent(k) != model.LastTerm[s] + 1) {
      throw std::logic_error("The coefficients do not match the variables' numbers of terms.");
    }
    terms_[s] = model.Coef.extent(k);
  }
  variables_ = VariableCount(model);
  for (int k = 0; k < variables_; ++k) {
    geometry_[static_cast<std::size_t>(k)] = VariableGeometry(model, k);
  }
  const auto n0 = static_cast<std::size_t>(terms_[0]);
  rest_ = model.Coef.size() / n0;
  transposed_.resize(model.Coef.size());
  const double* coef = model.Coef.data();
  for (std::size_t r = 0; r < rest_; ++r) {
    for (std::size_t j = 0; j < n0; ++j) transposed_[j * rest_ + r] = coef[r * n0 + j];
  }
  level_.resize(rest_);
  next_.resize(rest_);
}

double ApproximationKernel::At(std::span<const double> point) {
  std::array<Factor, MaxVars> factors{};
  for (int k = 0; k < variables_; ++k) {
    const auto s = static_cast<std::size_t>(k);
    pointTerms_[s] = TermsAt(geometry_[s], k, point[s]);
    const VariableTerms& t = pointTerms_[s];
    factors[s] = Factor{FormOf(t.Kind), t.Offset, t.Weights.data()};
  }
  const double value = Reduce(factors);
  if (!std::isfinite(value)) {
    throw EvaluationError(EvalOverflow, "Overflow in the value of the approximation.");
  }
  return value;
}

double ApproximationKernel::Contract(const std::array<std::vector<double>, MaxVars>& weights) {
  std::array<Factor, MaxVars> factors{};
  for (std::size_t k = 0; k < static_cast<std::size_t>(variables_); ++k) {
    if (weights[k].size() != static_cast<std::size_t>(terms_[k])) {
      throw std::logic_error("A weight list does not match its variable's number of terms.");
    }
    factors[k] = Factor{LevelForm::Weighted, 0.0, weights[k].data()};
  }
  return Reduce(factors);
}

double ApproximationKernel::Reduce(const std::array<Factor, MaxVars>& factors) {
  // Variable 0: the sums over j0 for every combination r, interleaved.
  const auto n0 = static_cast<std::size_t>(terms_[0]);
  double* sums = level_.data();
  const double* coef = transposed_.data();
  for (std::size_t r = 0; r < rest_; ++r) sums[r] = 0.0;
  const Factor& f0 = factors[0];
  if (f0.Form == LevelForm::Horner) {
    const double o = f0.Offset;
    for (std::size_t j = n0; j-- > 0;) {
      const double* row = coef + j * rest_;
      for (std::size_t r = 0; r < rest_; ++r) sums[r] = sums[r] * o + row[r];
    }
  } else if (f0.Form == LevelForm::Clenshaw) {
    const double o = f0.Offset;
    const double twice = 2.0 * o;
    b1_.assign(rest_, 0.0);
    b2_.assign(rest_, 0.0);
    double* b1 = b1_.data();
    double* b2 = b2_.data();
    for (std::size_t j = n0; j-- > 1;) {
      const double* row = coef + j * rest_;
      for (std::size_t r = 0; r < rest_; ++r) {
        const double b0 = row[r] + twice * b1[r] - b2[r];
        b2[r] = b1[r];
        b1[r] = b0;
      }
    }
    for (std::size_t r = 0; r < rest_; ++r) sums[r] = coef[r] + o * b1[r] - b2[r];
  } else {
    for (std::size_t j = 0; j < n0; ++j) {
      const double* row = coef + j * rest_;
      const double w = f0.Weights != nullptr ? f0.Weights[j] : 1.0;
      for (std::size_t r = 0; r < rest_; ++r) sums[r] = sums[r] + row[r] * w;
    }
  }
  // Variables 1..3: each level's sums over adjacent results of the level below.
  std::size_t count = rest_;
  for (std::size_t k = 1; k < static_cast<std::size_t>(MaxVars); ++k) {
    const auto n = static_cast<std::size_t>(terms_[k]);
    const std::size_t outer = count / n;
    const Factor& f = factors[k];
    for (std::size_t r = 0; r < outer; ++r) {
      next_[r] = SumLevel(f.Form, level_.data() + r * n, n, 1, f.Offset, f.Weights);
    }
    std::swap(level_, next_);
    count = outer;
  }
  return level_[0];
}

}  // namespace quon
