#include "core/model/problem_model.h"

namespace quon {

void ProblemModel::AllocatePerVariableArrays() {
  VarName.assign(MaxVars, std::string());
  IsPower = {};
  IsTrig = {};
  LastTerm = {};
  LowerLimit = {};
  UpperLimit = {};
  Center = {};
  Period = {};
  NodeStep = {};
  NodeStart = {};
  EvalPoint = {};
  EvalOffset = {};
  EvalAngle = {};
}

double NodeSpacing(const ProblemModel& model, int k) {
  const auto s = static_cast<std::size_t>(k);
  return (model.UpperLimit[s] - model.LowerLimit[s]) / model.LastTerm[s];
}

}  // namespace quon
