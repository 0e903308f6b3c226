// quonfit FILE --export FORMAT [--name NAME] [-o OUT].
#include "cli/cli_output.h"
#include "cli/open_and_fit.h"
#include "cli/use_modes.h"
#include "core/eval/accuracy_check.h"
#include "core/eval/script_point_function.h"
#include "core/io/spec_file.h"
#include "core/model/names_in_use.h"

namespace quon::cli {
namespace {

// The check that the window runs after a fit, for the header of a source export. A
// function that cannot be checked leaves the export without an accuracy line.
std::optional<AccuracyResult> Check(const ProblemModel& model, ScriptEnvironment& engine) {
  try {
    ScriptPointFunctionSource source(engine, model.Equation, NamesInUse(model));
    return CheckAccuracy(model, source);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

int RunExportMode(const UseOptions& options, std::FILE* out, std::FILE* err) {
  if (const int code =
          RefuseOutputOverInput({options.Output}, {options.File, TextFilePath(options.File)}, err);
      code != ExitSuccess) {
    return code;
  }
  ProblemModel model;
  EntryFields fields;
  ScriptEnvironment engine;
  const int opened = OpenWithResults(options.File, model, fields, engine, out, err);
  if (opened != ExitSuccess) return opened;
  ExportInfo info;
  info.FunctionName = options.FunctionName;
  info.Constants = fields.ConstantItems;
  if (options.Format != ExportFormat::Csv) info.Accuracy = Check(model, engine);
  try {
    if (options.Output.empty()) {
      return WriteAll(out, err, ExportText(options.Format, model, info)) ? ExitSuccess : ExitFile;
    }
    WriteExport(options.Output, options.Format, model, info);
    return ExitSuccess;
  } catch (const ExportError& e) {
    Message(err, e.what());
    return ExitUsage;
  } catch (const SpecFileError& e) {
    Message(err, e.what());
    return ExitFile;
  }
}

}  // namespace quon::cli
