#include "core/fit/compute_command.h"

#include "core/fit/script_fit_engine.h"
#include "core/model/gather_specs.h"
#include "core/model/results_state.h"
#include "core/model/user_constants.h"
#include "engine/err_num.h"

namespace quon {
ComputeOutcome RunCompute(ProblemModel& model, const EntryFields& fields, ScriptEnvironment& engine,
                          const FitProgress& progress) {
  ClearResults(model);
  model.HaveResults = false;
  ComputeOutcome outcome;

  // A constant whose statement fails refuses the Compute: the function would otherwise be
  // sampled with a constant that does not hold the value the user gave it.
  for (const std::string& item : fields.ConstantItems) {
    try {
      engine.ExecuteStatement(item);
    } catch (const ScriptFailure& failure) {
      engine.LastErrorNumber = failure.Number;
      outcome.ErrorNumber = failure.Number;
      outcome.Message = "The constant " + item + " cannot be evaluated: " + failure.what();
      outcome.AlreadyShown = script::AlreadyReported(failure.Number);
      return outcome;
    }
  }

  try {
    GatherSpecs(model, fields);
  } catch (const GatherError& e) {
    outcome.Message = e.what();
    return outcome;
  } catch (const GridTooLarge& e) {
    outcome.Message = e.what();
    return outcome;
  }

  ScriptFitEngine fitEngine(engine, model.Equation);
  const FitOutcome fit = Compute(model, fitEngine, progress);
  switch (fit.Status) {
    case FitStatus::Success:
      outcome.Status = ComputeStatus::Success;
      break;
    case FitStatus::Singular:
      outcome.Status = ComputeStatus::Singular;
      outcome.Message = fit.Description;
      break;
    case FitStatus::Overflow:
      outcome.Status = ComputeStatus::Overflow;
      outcome.Message = fit.Description;
      break;
    case FitStatus::EndedByError:
      outcome.Status = ComputeStatus::EndedByError;
      outcome.ErrorNumber = fit.ErrorNumber;
      outcome.Message = fit.Description;
      outcome.AlreadyShown = script::AlreadyReported(fit.ErrorNumber);
      break;
  }
  return outcome;
}

}  // namespace quon
