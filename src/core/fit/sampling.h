// The sampling half of the fit: Coef(j0, j1, j2, j3) = the function at node (j0, j1, j2, j3),
// visited in the canonical order through the fit's engine, under the fit's error trap.
#pragma once

#include "core/fit/fit_driver.h"

namespace quon {

// True when sampling ran to its end (failures ridden over leave their samples 0); false
// when an error ended it, which `ended` then describes.
bool SampleFunction(ProblemModel& model, FitEngine& engine, FitOutcome& ended);

}  // namespace quon
