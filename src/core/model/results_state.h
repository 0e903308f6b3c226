// Clearing the results when the inputs that produced them change. The window empties its
// results list and its accuracy line when the answer says so.
#pragma once

#include "core/model/problem_model.h"

namespace quon {

// Marks the results as gone (HaveResults false, Origin back to Function) and returns true, so that
// the window empties its list; returns false and changes nothing while a file is being loaded.
bool ClearResults(ProblemModel& model);

}  // namespace quon
