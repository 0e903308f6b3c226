#include "core/model/results_state.h"

namespace quon {

bool ClearResults(ProblemModel& model) {
  // Filling the fields from a file fires their change notifications; the stored results
  // must survive them.
  if (model.Loading) return false;
  model.HaveResults = false;
  model.Origin = ResultsOrigin::Function;
  return true;
}

}  // namespace quon
