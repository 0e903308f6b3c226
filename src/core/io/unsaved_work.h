// Whether closing the window would lose work: the one rule behind the question asked before
// the main window closes. Work is what the user made beyond the entry's stages since the
// problem was started, opened or last saved: a fit the model still holds, or a change to
// the function, to a variable's specification or to the user constants. Accepting the
// number of variables and their names, the offered ones included, is no work by itself;
// nothing then exists that could not be typed again in a moment.
#pragma once

#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"

namespace quon {

// What changed since the problem was started, opened or last saved.
struct WorkChanges {
  bool NewFit = false;  // a fit succeeded since
  bool FunctionChanged = false;
  bool SpecsChanged = false;  // a limit, centre, period, number of terms or kind
  bool ConstantsChanged = false;
};

// The changes between the entry fields as they were saved and as they stand, compared as
// texts; a variable that only one of them holds counts as changed. `fittedSince`: a fit
// succeeded since they were saved.
WorkChanges ChangesSince(const EntryFields& saved, const EntryFields& now, bool fittedSince);

// True when closing would lose work: a new fit whose results the model still holds, or a
// changed function, specification or constant.
bool WorkToLose(const ProblemModel& model, const WorkChanges& changes);

}  // namespace quon
