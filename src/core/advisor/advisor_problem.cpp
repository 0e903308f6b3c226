#include "core/advisor/advisor_problem.h"

#include "core/model/gather_specs.h"
#include "core/model/user_constants.h"

namespace quon {

AdvisorProblem PrepareAdvisorProblem(const ProblemModel& model, const EntryFields& fields,
                                     ScriptEnvironment& engine) {
  for (int k = 0; k < VariableCount(model); ++k) {
    const auto s = static_cast<std::size_t>(k);
    if (s >= model.VarName.size() || model.VarName[s].empty()) {
      throw AdvisorSetupError("Enter the number and the names of the variables first.", false);
    }
  }
  AdvisorProblem problem;
  ProblemModel& gathered = problem.Model;
  gathered.LastVar = model.LastVar;
  gathered.VarName = model.VarName;
  gathered.Pi = model.Pi;
  try {
    SetConstants(fields.ConstantItems, engine);
  } catch (const ScriptFailure& failure) {
    throw AdvisorSetupError(std::string("A constant cannot be evaluated: ") + failure.what(), true);
  }
  // The typed counts may ask for a grid far beyond what the search needs; its own counts
  // replace them anyway.
  EntryFields small = fields;
  for (VariableFields& variable : small.Variables) variable.Terms = std::string("2");
  try {
    GatherSpecs(gathered, small);
  } catch (const GatherError& e) {
    throw AdvisorSetupError(e.what(), false);
  }
  std::vector<std::string> names = gathered.VarName;
  names.resize(static_cast<std::size_t>(VariableCount(gathered)));
  try {
    problem.Function =
        std::make_unique<ScriptPointFunctionSource>(engine, gathered.Equation, names);
  } catch (const ScriptFailure& failure) {
    throw AdvisorSetupError(std::string("The function cannot be compiled: ") + failure.what(),
                            true);
  }
  return problem;
}

}  // namespace quon
