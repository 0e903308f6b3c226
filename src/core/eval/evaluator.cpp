#include "core/eval/evaluator.h"

#include <array>
#include <cmath>

namespace quon {
namespace {

// The sum over the terms of variable `slot` of the inner sums, for the term indices of the
// outer slots already set in termIdx. Slot 0's inner value is the coefficient itself.
double SumOverVariable(ProblemModel& model, int slot, std::array<int32_t, 4>& termIdx) {
  const auto k = static_cast<std::size_t>(slot);
  const int32_t last = model.LastTerm[k];
  int32_t& j = termIdx[k];
  const auto inner = [&]() {
    return slot == 0 ? model.Coef(termIdx[0], termIdx[1], termIdx[2], termIdx[3])
                     : SumOverVariable(model, slot - 1, termIdx);
  };
  double sum = 0.0;
  if (!model.IsTrig[k]) {
    const double offset = model.EvalOffset[k];
    for (j = last; j >= 0; --j) sum = sum * offset + inner();
    return sum;
  }
  double& angle = model.EvalAngle[k];
  angle = 0.0;
  j = 0;
  while (j <= last - 1) {
    sum = sum + inner() * std::cos(angle);
    angle = angle + model.EvalOffset[k];
    ++j;
    sum = sum + inner() * std::sin(angle);
    ++j;
  }
  if (j == last) sum = sum + inner() * std::cos(angle);
  return sum;
}

}  // namespace

void Evaluate(ProblemModel& model) {
  if (!model.HaveResults) return;
  for (int k = 0; k < 4; ++k) {
    if (model.Coef.extent(k) != model.LastTerm[static_cast<std::size_t>(k)] + 1 ||
        model.Coef.empty()) {
      throw std::logic_error("The coefficients do not match the variables' numbers of terms.");
    }
  }
  for (int k = 0; k <= model.LastVar; ++k) {
    const auto s = static_cast<std::size_t>(k);
    if (!model.IsTrig[s]) continue;
    if (model.Period[s] == 0.0) {
      throw EvaluationError(EvalDivisionByZero, "Division by zero: the period of variable " +
                                                    std::to_string(k + 1) + " is 0.");
    }
    const double step = std::atan(1.0) * model.EvalOffset[s] * 8.0 / model.Period[s];
    if (!std::isfinite(step)) {
      throw EvaluationError(EvalOverflow, "Overflow: the angle of variable " +
                                              std::to_string(k + 1) + " is too large.");
    }
    model.EvalOffset[s] = step;
  }
  std::array<int32_t, 4> termIdx{};
  const double value = SumOverVariable(model, 3, termIdx);
  // An overflow anywhere in the sums or angles leaves an infinity or a NaN behind: neither
  // turns finite again under additions and multiplications by finite factors.
  if (!std::isfinite(value)) {
    throw EvaluationError(EvalOverflow, "Overflow in the value of the approximation.");
  }
  model.ApproxValue = value;
}

}  // namespace quon
