#include "core/analysis/analysis_checks.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "core/analysis/analysis_error.h"

namespace quon {

void CheckAnalysable(const ProblemModel& model) {
  if (!model.HaveResults) throw std::logic_error("The model holds no results.");
  for (int k = 0; k < VariableCount(model); ++k) {
    const auto s = static_cast<std::size_t>(k);
    if (UsesPeriod(model.Kind[s]) && (model.Period[s] == 0.0 || !std::isfinite(model.Period[s]))) {
      throw AnalysisError("The period of variable " + model.VarName[s] + " is 0 or not a number.");
    }
  }
}

void CheckPoint(const ProblemModel& model, std::span<const double> point, int skip) {
  const int vars = VariableCount(model);
  if (point.size() != static_cast<std::size_t>(vars)) {
    throw AnalysisError("The point needs " + std::to_string(vars) + " coordinates, not " +
                        std::to_string(point.size()) + ".");
  }
  for (int k = 0; k < vars; ++k) {
    if (k != skip && !std::isfinite(point[static_cast<std::size_t>(k)])) {
      throw AnalysisError("The coordinate of " + model.VarName[static_cast<std::size_t>(k)] +
                          " is not a finite number.");
    }
  }
}

Box ProblemBox(const ProblemModel& model) {
  Box box;
  for (int k = 0; k < VariableCount(model); ++k) {
    const auto s = static_cast<std::size_t>(k);
    box.Lower.push_back(std::min(model.LowerLimit[s], model.UpperLimit[s]));
    box.Upper.push_back(std::max(model.LowerLimit[s], model.UpperLimit[s]));
  }
  return box;
}

void CheckBox(const ProblemModel& model, const Box& box) {
  const auto vars = static_cast<std::size_t>(VariableCount(model));
  if (box.Lower.size() != vars || box.Upper.size() != vars) {
    throw AnalysisError("The box needs a lower and an upper limit for each of the " +
                        std::to_string(vars) + " variables.");
  }
  for (std::size_t s = 0; s < vars; ++s) {
    if (!std::isfinite(box.Lower[s]) || !std::isfinite(box.Upper[s]) ||
        box.Lower[s] > box.Upper[s]) {
      throw AnalysisError("The limits of " + model.VarName[s] +
                          " must be finite numbers, the lower one first.");
    }
  }
}

}  // namespace quon
