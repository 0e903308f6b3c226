// The per-variable elimination: turns the node index of dimension k of Coef into the term
// index, by solving BasisMatrix x = samples for every line of Coef along dimension k with
// Gaussian elimination with partial pivoting and back substitution. No inverse and no
// factorisation are kept: every row exchange and row operation on the matrix is applied to
// the matching slices of Coef, which is transformed in place.
#pragma once

#include "core/fit/basis.h"
#include "core/fit/solver_lanes.h"
#include "core/model/coef_array.h"

namespace quon {

enum class SolveOutcome {
  Solved,
  // A zero (or NaN) reached the diagonal. Coef is then partly transformed: the rows of the
  // back substitution below the failing one are solved, the others hold eliminated values.
  Singular,
};

// Solves along dimension k (0..3) with the basis matrix of that variable, which is
// destroyed. matrix.size() must equal coef.extent(k) (std::invalid_argument otherwise).
// Overflow and division by zero do not stop the solver: results take their IEEE values.
// By default the solve runs on as many threads as help, with the best instruction set of
// the processor; the results are the same with any of the options.
struct SolveOptions {
  LaneIsa isa = BestLaneIsa();  // one of SupportedLaneIsas()
  std::size_t threads = 0;      // at most this many (0: no limit)
};
SolveOutcome SolveAlongDimension(BasisMatrix& matrix, CoefArray& coef, int k,
                                 const SolveOptions& options = {});

}  // namespace quon
