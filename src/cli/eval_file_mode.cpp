// quonfit FILE --eval-file POINTS.csv [-o OUT.csv].
#include "cli/cli_output.h"
#include "cli/open_and_fit.h"
#include "cli/use_modes.h"
#include "core/batch/points_evaluation.h"
#include "core/eval/script_point_function.h"
#include "core/io/spec_file.h"
#include "core/io/temporary_file.h"
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
  try {
    ScriptPointFunctionSource function(engine, model.Equation, names);
    // The file is checked whole before anything is written, then evaluated block by block:
    // a bad row costs no output, and memory holds one block whatever the file's size.
    if (!options.Output.empty()) {
      TemporaryFile file(options.Output);
      EvaluatePointsFile(model, function, options.PointsFile, names,
                         [&](std::string_view text) { file.Write(text.data(), text.size()); });
      file.Close();
      file.Commit();
      return ExitSuccess;
    }
    bool written = true;
    EvaluatePointsFile(model, function, options.PointsFile, names, [&](std::string_view text) {
      written = written && std::fwrite(text.data(), 1, text.size(), out) == text.size();
    });
    return WriteAll(out, err, std::string()) && written ? ExitSuccess : ExitFile;
  } catch (const PointsFileError& e) {
    Message(err, e.what());
    return ExitFile;
  } catch (const ScriptFailure& failure) {
    Message(err, options.File + ": the function cannot be evaluated: " + failure.what());
    return ExitScriptError;
  } catch (const SpecFileError& e) {
    Message(err, e.what());
    return ExitFile;
  } catch (const std::bad_alloc&) {
    Message(err, options.PointsFile + ": not enough memory to evaluate the points");
    return ExitFile;
  }
}

}  // namespace quon::cli
