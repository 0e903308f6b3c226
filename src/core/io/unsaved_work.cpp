#include "core/io/unsaved_work.h"

namespace quon {
WorkChanges ChangesSince(const EntryFields& saved, const EntryFields& now, bool fittedSince) {
  WorkChanges changes;
  changes.NewFit = fittedSince;
  changes.FunctionChanged = saved.Equation != now.Equation;
  changes.SpecsChanged = saved.Variables != now.Variables;
  changes.ConstantsChanged = saved.ConstantItems != now.ConstantItems;
  return changes;
}

bool WorkToLose(const ProblemModel& model, const WorkChanges& changes) {
  // A fit cleared since (by a change that may have been undone) holds nothing to keep.
  return (changes.NewFit && model.HaveResults) || changes.FunctionChanged || changes.SpecsChanged ||
         changes.ConstantsChanged;
}

}  // namespace quon
