#include "model/problem_model.h"

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

}  // namespace quon
