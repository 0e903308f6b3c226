#include "core/model/problem_model.h"

#include <algorithm>

namespace quon {

void ProblemModel::AllocatePerVariableArrays() {
  VarName.assign(MaxVars, std::string());
  Kind = {};
  LastTerm = {};
  LowerLimit = {};
  UpperLimit = {};
  Center = {};
  Period = {};
  EvalPoint = {};
}

int VariableCount(const ProblemModel& model) {
  return std::clamp(model.LastVar, 0, MaxVars - 1) + 1;
}

}  // namespace quon
