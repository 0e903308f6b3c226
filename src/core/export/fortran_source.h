// The approximation as Fortran 90 source: a module NAME_module holding the coefficients
// (17 significant digits, kind real64) and the pure elemental function NAME, which
// evaluates with the same operations in the same order as the program's evaluator;
// parentheses fix the order wherever Fortran would be free to change it.
#pragma once

#include <string>

#include "core/export/source_plan.h"

namespace quon {

std::string FortranSource(const SourcePlan& plan);

}  // namespace quon
