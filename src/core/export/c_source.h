// The approximation as C99 source (also valid C++): one function
// double NAME(double x, ...) with one parameter per variable, evaluating exactly as the
// program's evaluator does; the coefficients with 17 significant digits.
#pragma once

#include <string>

#include "core/export/source_plan.h"

namespace quon {

std::string CSource(const SourcePlan& plan);

}  // namespace quon
