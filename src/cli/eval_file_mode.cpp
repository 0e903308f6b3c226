// quonfit FILE --eval-file POINTS.csv [-o OUT.csv].
#include "cli/cli_output.h"
#include "cli/open_and_fit.h"
#include "cli/use_modes.h"
#include "core/batch/points_evaluation.h"
#include "core/eval/script_point_function.h"
#include "core/io/spec_file.h"
#include "core/model/names_in_use.h"

namespace quon::cli {

int RunEvalFileMode(const UseOptions& options, std::FILE* out, std::FILE* err) {
  if (const int code = RefuseOutputOverInput(
          {options.Output}, {options.File, TextFilePath(options.File), options.PointsFile}, err);
      code != ExitSuccess) {
    return code;
  }
  ProblemModel model;
  EntryFields fields;
  ScriptEnvironment engine;
  const int opened = OpenWithResults(options.File, model, fields, engine, out, err);
  if (opened != ExitSuccess) return opened;
  const std::vector<std::string> names = NamesInUse(model);
  PointsTable points;
  try {
    // The whole file is read before anything is written: a bad row costs no output.
    points = ReadPointsFile(options.PointsFile, names);
  } catch (const PointsFileError& e) {
    Message(err, e.what());
    return ExitFile;
  }
  try {
    ScriptPointFunctionSource function(engine, model.Equation, names);
    if (!options.Output.empty()) {
      EvaluatePointsToFile(model, function, points, options.Output);
      return ExitSuccess;
    }
    bool written = true;
    EvaluatePoints(model, function, points, [&](std::string_view text) {
      written = written && std::fwrite(text.data(), 1, text.size(), out) == text.size();
    });
    return WriteAll(out, err, std::string()) && written ? ExitSuccess : ExitFile;
  } catch (const ScriptFailure& failure) {
    Message(err, options.File + ": the function cannot be evaluated: " + failure.what());
    return ExitScriptError;
  } catch (const SpecFileError& e) {
    Message(err, e.what());
    return ExitFile;
  }
}

}  // namespace quon::cli
