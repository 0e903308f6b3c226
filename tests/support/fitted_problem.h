// Test support for the window tests: problems fitted through the program's own Compute road
// (constants, gathering, the fit through the script engine).
#pragma once

#include <string>
#include <vector>

#include "fit/compute_command.h"
#include "model/entry_fields.h"
#include "model/problem_model.h"
#include "script_environment.h"

namespace quon::testing {

struct FieldsOfVariable {
  std::string Name;
  VariableFields Fields;
};

// Names the variables in the model and returns the entry fields of the problem.
inline EntryFields DefineProblem(ProblemModel& model, const std::string& equation,
                                 const std::vector<FieldsOfVariable>& variables) {
  EntryFields fields;
  fields.Equation = equation;
  model.LastVar = static_cast<int32_t>(variables.size()) - 1;
  for (std::size_t k = 0; k < variables.size(); ++k) {
    model.VarName[k] = variables[k].Name;
    fields.Variables.push_back(variables[k].Fields);
  }
  return fields;
}

// x^2 with one power variable of 3 terms on [0, 2] about the centre 1: the coefficients of
// (x-1)^0, (x-1)^1 and (x-1)^2 are 1, 2 and 1.
inline EntryFields ParabolaProblem(ProblemModel& model) {
  return DefineProblem(model, "x^2", {{"x", VariableFields{"0", "2", "*", "*", "3", true}}});
}

}  // namespace quon::testing
