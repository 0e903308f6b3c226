#include "cli/open_and_fit.h"

#include "cli/cli_output.h"
#include "core/io/spec_file.h"
#include "core/io/temporary_file.h"
#include "core/model/user_constants.h"

namespace quon::cli {

int RefuseOutputOverInput(const std::vector<std::string>& outputs,
                          const std::vector<std::string>& inputs, std::FILE* err) {
  for (const std::string& output : outputs) {
    for (const std::string& input : inputs) {
      if (!output.empty() && IsSameFile(output, input)) {
        Message(err, output + " is the input " + input + "; refusing to write over it");
        return ExitUsage;
      }
    }
  }
  return ExitSuccess;
}

int OpenPair(const std::string& file, ProblemModel& model, EntryFields& fields, std::FILE* err) {
  try {
    fields = OpenSpecFile(file, model);
  } catch (const SpecFileError& e) {
    Message(err, e.what());
    return ExitFile;
  }
  return ExitSuccess;
}

ComputeOutcome FitFile(ProblemModel& model, const EntryFields& fields, ScriptEnvironment& engine,
                       const std::string& file, std::FILE* err) {
  // Above this the eliminations take seconds: the user hears how long and how far.
  constexpr double kLongFit = 2e9;
  constexpr double kOperationsPerSecond = 1e9;  // a nominal rate for one core
  bool talk = false;
  const auto progress = [&](int done, int total) {
    if (done == 0) {
      const double operations = EliminationOperations(model);
      talk = operations > kLongFit;
      if (talk) {
        Message(err, file + ": the function is sampled; the elimination takes about " +
                         std::to_string(static_cast<int64_t>(operations / kOperationsPerSecond)) +
                         " s (" + std::to_string(static_cast<int64_t>(operations / 1e9)) +
                         "E+09 operations)");
      }
    } else if (talk) {
      Message(err, file + ": variable " + model.VarName[static_cast<std::size_t>(done - 1)] +
                       " solved (" + std::to_string(done) + " of " + std::to_string(total) + ")");
    }
  };
  return RunCompute(model, fields, engine, progress);
}

int ReportFitFailure(const ComputeOutcome& outcome, const std::string& file, std::FILE* out,
                     std::FILE* err) {
  switch (outcome.Status) {
    case ComputeStatus::Success:
      return ExitSuccess;
    case ComputeStatus::Singular:
      // The results list holds this one line; it is the fit's result, so it goes to `out`.
      std::fprintf(out, "%s\n", SingularMatrixLine);
      if (!outcome.Message.empty()) Message(err, file + ": " + outcome.Message);
      return ExitSingular;
    case ComputeStatus::EndedByError:
      Message(err, file + ": the fit ended: " + WithNumber(outcome.Message, outcome.ErrorNumber));
      return ExitScriptError;
    case ComputeStatus::Refused:
      Message(err, file + ": " + outcome.Message);
      return outcome.ErrorNumber != 0 ? ExitScriptError : ExitNotFittable;
    case ComputeStatus::Overflow:
      Message(err, file + ": " + outcome.Message);
      return ExitNotFittable;
  }
  return ExitNotFittable;
}

int SaveFit(const ComputeOutcome& outcome, ProblemModel& model, const EntryFields& fields,
            const std::string& file, const std::string& output, std::FILE* out, std::FILE* err) {
  if (outcome.Status != ComputeStatus::Success) {
    return ReportFitFailure(outcome, file, out, err);
  }
  if (!output.empty()) {
    try {
      WriteSpecFile(output, fields, model);
    } catch (const SpecFileError& e) {
      Message(err, e.what());
      return ExitFile;
    }
  }
  return ExitSuccess;
}

int FitAndSave(ProblemModel& model, const EntryFields& fields, ScriptEnvironment& engine,
               const std::string& file, const std::string& output, std::FILE* out, std::FILE* err) {
  return SaveFit(FitFile(model, fields, engine, file, err), model, fields, file, output, out, err);
}

int OpenWithResults(const std::string& file, ProblemModel& model, EntryFields& fields,
                    ScriptEnvironment& engine, std::FILE* out, std::FILE* err) {
  if (const int code = OpenPair(file, model, fields, err); code != ExitSuccess) return code;
  if (!model.HaveResults) {
    return ReportFitFailure(FitFile(model, fields, engine, file, err), file, out, err);
  }
  try {
    SetConstants(fields.ConstantItems, engine);
  } catch (const ScriptFailure& failure) {
    Message(err, file + ": a constant failed: " + WithNumber(failure.what(), failure.Number));
    return ExitScriptError;
  }
  return ExitSuccess;
}

}  // namespace quon::cli
