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
  return SaveFit(RunCompute(model, fields, engine), model, fields, file, output, out, err);
}

int OpenWithResults(const std::string& file, ProblemModel& model, EntryFields& fields,
                    ScriptEnvironment& engine, std::FILE* out, std::FILE* err) {
  if (const int code = OpenPair(file, model, fields, err); code != ExitSuccess) return code;
  if (!model.HaveResults) {
    return ReportFitFailure(RunCompute(model, fields, engine), file, out, err);
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
