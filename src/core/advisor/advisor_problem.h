// What the term advisor starts from, taken from the entry fields as Compute takes them:
// the user constants sent to the engine, the problem gathered into a model of its
// own, and the function compiled for evaluation away from the engine (so the search may
// run on another thread while the window goes on). The typed numbers of terms play no part.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "core/eval/script_point_function.h"
#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"
#include "engine/script_environment.h"

namespace quon {

// A problem the advisor cannot start on; what() is a message for the user.
class AdvisorSetupError : public std::runtime_error {
 public:
  AdvisorSetupError(const std::string& message, bool scriptFailed)
      : std::runtime_error(message), ScriptFailed(scriptFailed) {}
  // A constant or the function failed in the engine, rather than the fields.
  bool ScriptFailed;
};

struct AdvisorProblem {
  ProblemModel Model;  // gathered, with 2 terms per variable and no results
  std::unique_ptr<ScriptPointFunctionSource> Function;
};

// `model` gives the number and names of the variables; it is not changed. Throws
// AdvisorSetupError when a variable has no name yet, a constant fails, the fields cannot be
// gathered or the function does not compile (the engine has shown its message then, as for
// Compute).
AdvisorProblem PrepareAdvisorProblem(const ProblemModel& model, const EntryFields& fields,
                                     ScriptEnvironment& engine);

}  // namespace quon
