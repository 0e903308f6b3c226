// The road of one Compute, shared by the window and quonfit: clear the results, send the
// user constants to the engine, gather the entry fields into the model, fit. What the
// caller then shows depends on the outcome: the listing after Success, the single line
// "YIELDS SINGULAR MATRIX." after Singular, nothing after EndedByError (the engine has
// shown its message when it had one), and Message after Refused.
#pragma once

#include <cstdint>
#include <string>

#include "core/fit/fit_driver.h"
#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"
#include "engine/script_environment.h"

namespace quon {

enum class ComputeStatus {
  Success,       // HaveResults is true
  Singular,      // show SingularMatrixLine
  EndedByError,  // a script error ended the fit
  Refused,       // a constant failed or the problem cannot be fitted: show Message
  Overflow,      // the coefficients are not all finite: show Message, list nothing
};

struct ComputeOutcome {
  ComputeStatus Status = ComputeStatus::Refused;
  int32_t ErrorNumber = 0;  // EndedByError, or Refused by a constant: the error's number
  std::string Message;      // EndedByError: the engine's description; Refused, Overflow:
                            // for the user; Singular: why (the window shows only the line)
  // The engine's error event has shown its description already (errors other than 5, 6
  // and 11): the window shows nothing more for EndedByError, nor for a refused constant.
  bool AlreadyShown = false;
};

// ClearResults, SetConstants, GatherSpecs, Compute. HaveResults is true exactly after
// Success. Never throws for bad input.
ComputeOutcome RunCompute(ProblemModel& model, const EntryFields& fields, ScriptEnvironment& engine,
                          const FitProgress& progress = {});

}  // namespace quon
