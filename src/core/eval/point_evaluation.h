// One press of Compute in the evaluation window: the user constants and the typed point go
// to the engine, and the approximation (Evaluate) and the function (fna) are worked out at
// that point, each into the text its label shows. A value is shown in the text form; when
// there is no current fit, or a value cannot be had (a constant or the point refused by
// the engine, an overflow, a zero period, a script error), the label says so instead, so
// that no label ever shows a number that does not belong to the point just typed.
#pragma once

#include <string>
#include <vector>

#include "core/model/problem_model.h"
#include "engine/script_environment.h"

namespace quon {

// The approximation label when the model holds no results (none yet, or the inputs changed
// since the last fit, or the last Compute failed).
inline constexpr const char* NoCurrentFitText = "no current fit";

// The function label after a fit on data, which has no function to compare with.
inline constexpr const char* NoFunctionText = "none: a fit on data";

struct PointEvaluation {
  bool PointSent = false;  // EvalPoint holds the typed point and the engine has it
  bool ApproxValid = false;
  bool FunctionValid = false;
  std::string ApproxText;
  std::string FunctionText;
};

// pointTexts holds the texts of variables 0..LastVar (missing ones count as empty, so 0).
// Each becomes EvalPoint(i) by LeadingNumber, and the statement "name=value" in the text form. The
// engine's error event has shown its message for errors other than the numeric ones. Never throws
// for bad input.
PointEvaluation EvaluateAtPoint(ProblemModel& model, ScriptEnvironment& engine,
                                const std::vector<std::string>& pointTexts);

}  // namespace quon
