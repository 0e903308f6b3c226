// The solver before the lane-block kernels, as the baseline of solver_bench.
#pragma once

#include "core/fit/basis.h"
#include "core/fit/solver.h"
#include "core/model/coef_array.h"

namespace quon::bench {

// SolveAlongDimension as it was: one thread, panels through the plain row operations.
SolveOutcome SolveAlongDimensionBefore(BasisMatrix& matrix, CoefArray& coef, int k);

}  // namespace quon::bench
