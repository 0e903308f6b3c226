#include "core/io/unsaved_work.h"

#include <algorithm>

namespace quon {
namespace {

bool SameTexts(const VariableFields& a, const VariableFields& b) {
  return a.LowerLimit == b.LowerLimit && a.UpperLimit == b.UpperLimit &&
         a.Expansion == b.Expansion && a.Period == b.Period && a.Terms == b.Terms &&
         a.PowerChecked == b.PowerChecked;
}

}  // namespace

WorkChanges ChangesSince(const EntryFields& saved, const EntryFields& now, bool fittedSince) {
  WorkChanges changes;
  changes.NewFit = fittedSince;
  changes.FunctionChanged = saved.Equation != now.Equation;
  changes.SpecsChanged = !std::ranges::equal(saved.Variables, now.Variables, SameTexts);
  changes.ConstantsChanged = saved.ConstantItems != now.ConstantItems;
  return changes;
}

bool WorkToLose(const ProblemModel& model, const WorkChanges& changes) {
  // A fit cleared since (by a change that may have been undone) holds nothing to keep.
  return (changes.NewFit && model.HaveResults) || changes.FunctionChanged || changes.SpecsChanged ||
         changes.ConstantsChanged;
}

}  // namespace quon
