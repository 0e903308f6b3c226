// The names of a problem's variables 0..LastVar, once its names are accepted.
#pragma once

#include <string>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

inline std::vector<std::string> NamesInUse(const ProblemModel& model) {
  return {model.VarName.begin(), model.VarName.begin() + model.LastVar + 1};
}

}  // namespace quon
