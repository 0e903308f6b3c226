// The approximation as a Python module with NumPy: def NAME(x, ...) takes floats or NumPy
// arrays (broadcast against each other) and evaluates at all points at once, with the
// same operations in the same order as the program's evaluator. The loops run over the
// coefficients, never over the points.
#pragma once

#include <string>

#include "core/export/source_plan.h"

namespace quon {

std::string PythonSource(const SourcePlan& plan);

}  // namespace quon
