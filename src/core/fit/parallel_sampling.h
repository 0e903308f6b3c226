// Sampling on every core, for a function that changes nothing when it runs. Each thread
// takes blocks of consecutive grid points, hands them to its evaluator a few hundred at a
// time (which sets the variables' nodes in its own copy of the engine's variables) and
// writes the values straight into Coef, so the samples are bit for
// bit those of the sampling in order and no memory beyond Coef is needed. Errors 5, 6 and
// 11 leave their samples 0, as in order; the first point (in canonical order) whose error
// would end the fit is found, and the caller samples it again through the engine, so the
// user sees its message once. Cost: the sampling's work divided among the threads.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/fit/fit_engine.h"
#include "core/model/coef_array.h"

namespace quon {

struct ParallelSamples {
  std::size_t FirstEnding = 0;   // canonical position of the first ending error, or size()
  int32_t LastRiddenNumber = 0;  // the number of the last error ridden over before it, or 0
};

// Samples the points from canonical position `begin` to the end of the grid. Throws
// std::bad_alloc when an evaluator cannot be made.
ParallelSamples SampleInParallel(CoefArray& coef, ParallelFunction& function, std::size_t begin);

}  // namespace quon
