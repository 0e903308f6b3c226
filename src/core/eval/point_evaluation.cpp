#include "core/eval/point_evaluation.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/eval/evaluator.h"
#include "core/model/user_constants.h"
#include "engine/err_num.h"
#include "engine/number_text.h"

namespace quon {
namespace {

std::string ErrorText(int32_t number, const std::string& description) {
  return "Error " + std::to_string(number) + ": " + description;
}

PointEvaluation NotEvaluated(const std::string& why) {
  PointEvaluation result;
  result.ApproxText = "not evaluated: " + why;
  result.FunctionText = result.ApproxText;
  return result;
}

}  // namespace

PointEvaluation EvaluateAtPoint(ProblemModel& model, ScriptEnvironment& engine,
                                const std::vector<std::string>& pointTexts) {
  const std::vector<std::string> constants(
      model.Constants.begin(),
      model.Constants.begin() + std::clamp(model.ConstCount, 0, MaxConstants));
  try {
    SetConstants(constants, engine);
  } catch (const ScriptFailure& failure) {
    return NotEvaluated("a constant failed (" + ErrorText(failure.Number, failure.what()) + ")");
  }

  const int count = VariableCount(model);
  for (int i = 0; i < count; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    const double value = LeadingNumber(k < pointTexts.size() ? pointTexts[k] : std::string());
    const std::string& name = model.VarName[k];
    // The engine has no literal for an infinity: "x=Infinity" would read a variable.
    if (!std::isfinite(value)) return NotEvaluated("the value of " + name + " is out of range");
    model.EvalPoint[k] = value;
    try {
      engine.ExecuteStatement(name + "=" + TextForm(value));
    } catch (const ScriptFailure& failure) {
      return NotEvaluated(name + " cannot be set (" + ErrorText(failure.Number, failure.what()) +
                          ")");
    }
  }

  PointEvaluation result;
  result.PointSent = true;
  if (!model.HaveResults) {
    result.ApproxText = NoCurrentFitText;
  } else {
    try {
      const std::span<const double> point(model.EvalPoint.data(), static_cast<std::size_t>(count));
      result.ApproxText = TextForm(Evaluate(model, point));
      result.ApproxValid = true;
    } catch (const EvaluationError& error) {
      result.ApproxText = ErrorText(error.Number, error.what());
    } catch (const std::logic_error&) {
      result.ApproxText = NoCurrentFitText;
    }
  }

  // A fit on data has no function behind it: its function text is only a name.
  if (model.HaveResults && model.Origin == ResultsOrigin::Data) {
    result.FunctionText = NoFunctionText;
    return result;
  }
  try {
    result.FunctionText = TextForm(engine.fna(model.Equation));
    result.FunctionValid = true;
  } catch (const ScriptFailure& failure) {
    result.FunctionText = ErrorText(failure.Number, failure.what());
  }
  return result;
}

}  // namespace quon
