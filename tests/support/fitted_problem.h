// Test support for the window tests: problems fitted through the program's own Compute road
// (constants, gathering, the fit through the script engine).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "core/fit/compute_command.h"
#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"
#include "engine/script_environment.h"

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

// x*y+sin(y): x a power variable of 3 terms on [-1, 1], y a trigonometric one of 5 terms
// on [0, 6] about 0.
inline EntryFields TwoVariableProblem(ProblemModel& model) {
  return DefineProblem(model, "x*y+sin(y)",
                       {{"x", VariableFields{"-1", "1", "*", "*", "3", true}},
                        {"y", VariableFields{"0", "6", "0", "*", "5", false}}});
}

// A problem fitted through Compute in a model and engine of its own, as the main window
// holds them; the engine records the messages its error event shows. Throws when the fit
// fails, which fails the test.
struct FittedProblem {
  explicit FittedProblem(EntryFields (*problem)(ProblemModel&) = ParabolaProblem) {
    Fit(problem(model));
  }
  FittedProblem(const std::string& equation, const std::vector<FieldsOfVariable>& variables) {
    Fit(DefineProblem(model, equation, variables));
  }

  ProblemModel model;
  std::vector<std::string> messages;
  ScriptEnvironment engine{[this](const std::string& text) { messages.push_back(text); }};

 private:
  void Fit(const EntryFields& fields) {
    if (RunCompute(model, fields, engine).Status != ComputeStatus::Success) {
      throw std::runtime_error("the fit of the test problem failed");
    }
  }
};

}  // namespace quon::testing
