// The names of a problem's variables in use, once its names are accepted (fewer before).
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

inline std::vector<std::string> NamesInUse(const ProblemModel& model) {
  const auto count = std::min(model.VarName.size(), static_cast<std::size_t>(VariableCount(model)));
  return {model.VarName.begin(), model.VarName.begin() + static_cast<std::ptrdiff_t>(count)};
}

}  // namespace quon
