// The state changes behind the results list: clearing the results when the inputs that
// produced them change, and showing results that an opened file brought along. The window
// does what the answers say to its list and its Evaluations button.
#pragma once

#include "model/problem_model.h"

namespace quon {

// Marks the results as gone (HaveResults false) and returns true, so that the window
// empties its list; returns false and changes nothing while a file is being loaded.
bool ClearResults(ProblemModel& model);

// True when the model holds results (after an Open): the window then lists them and enables
// Evaluations. False otherwise, and the list stays empty.
bool ShowStoredResults(const ProblemModel& model);

}  // namespace quon
