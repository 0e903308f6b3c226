#include "core/eval/evaluator.h"

#include <array>
#include <cmath>
#include <vector>

#include "core/model/node_geometry.h"

namespace quon {
namespace {

class NestedSums {
 public:
  NestedSums(const ProblemModel& model, std::span<const double> point) : model_(model) {
    for (int k = 0; k < MaxVars; ++k) {
      const auto s = static_cast<std::size_t>(k);
      const double x = k < VariableCount(model) && s < point.size() ? point[s] : 0.0;
      // A slot above the variables in use has one term, the constant 1.
      const NodeGeometry g = k < VariableCount(model) ? VariableGeometry(model, k) : NodeGeometry{};
      terms_[s] = TermsAt(g, k, x);
      inner_[s].resize(static_cast<std::size_t>(model.Coef.extent(k)));
    }
  }

  // The sum over the terms of variable `slot` of the inner sums, for the term indices of
  // the outer slots already set. Slot 0's inner values are coefficients, adjacent in Coef.
  double Level(int slot) {
    const auto s = static_cast<std::size_t>(slot);
    std::vector<double>& inner = inner_[s];
    if (slot == 0) {
      const double* coef =
          model_.Coef.data() + model_.Coef.offset(0, index_[1], index_[2], index_[3]);
      return terms_[0].Sum(coef, inner.size(), 1);
    }
    for (std::size_t j = 0; j < inner.size(); ++j) {
      index_[s] = static_cast<int32_t>(j);
      inner[j] = Level(slot - 1);
    }
    return terms_[s].Sum(inner.data(), inner.size(), 1);
  }

 private:
  const ProblemModel& model_;
  std::array<VariableTerms, MaxVars> terms_;
  std::array<std::vector<double>, MaxVars> inner_;
  std::array<int32_t, MaxVars> index_{};
};

}  // namespace

double Evaluate(const ProblemModel& model, std::span<const double> point) {
  if (!model.HaveResults || model.Coef.empty()) {
    throw std::logic_error("The model holds no results to evaluate.");
  }
  for (int k = 0; k < MaxVars; ++k) {
    if (model.Coef.extent(k) != model.LastTerm[static_cast<std::size_t>(k)] + 1) {
      throw std::logic_error("The coefficients do not match the variables' numbers of terms.");
    }
  }
  NestedSums sums(model, point);
  const double value = sums.Level(MaxVars - 1);
  // An overflow anywhere in the sums or angles leaves an infinity or a NaN behind: neither
  // turns finite again under additions and multiplications by finite factors.
  if (!std::isfinite(value)) {
    throw EvaluationError(EvalOverflow, "Overflow in the value of the approximation.");
  }
  return value;
}

}  // namespace quon
