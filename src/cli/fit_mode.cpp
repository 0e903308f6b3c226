#include "cli/fit_mode.h"

#include "cli/arguments.h"
#include "cli/cli_output.h"
#include "cli/line_writer.h"
#include "cli/open_and_fit.h"
#include "core/eval/evaluator.h"
#include "core/io/spec_file.h"
#include "core/model/user_constants.h"
#include "core/report/listing.h"
#include "core/report/report_lines.h"
#include "engine/number_text.h"
#include "engine/script_environment.h"

namespace quon::cli {

namespace {

// The evaluation window's Compute: constants, the point, the approximation, the function.
int EvaluateAtPoint(ProblemModel& model, const EntryFields& fields,
                    const std::vector<std::string>& texts, ScriptEnvironment& engine,
                    std::FILE* out, std::FILE* err) {
  try {
    SetConstants(fields.ConstantItems, engine);
    for (std::size_t i = 0; i < texts.size(); ++i) {
      model.EvalPoint[i] = LeadingNumber(texts[i]);
      engine.ExecuteStatement(model.VarName[i] + "=" + TextForm(model.EvalPoint[i]));
    }
    const std::string approximation =
        TextForm(Evaluate(model, std::span<const double>(model.EvalPoint.data(), texts.size())));
    const std::string function = TextForm(engine.fna(model.Equation));
    return WriteAll(out, err, "Function=" + function + "\nApproximation=" + approximation + "\n")
               ? ExitSuccess
               : ExitFile;
  } catch (const ScriptFailure& failure) {
    Message(err, "the function cannot be evaluated at the point: " +
                     WithNumber(failure.what(), failure.Number));
    return ExitScriptError;
  } catch (const EvaluationError& e) {
    Message(err, "the approximation cannot be evaluated at the point: " +
                     WithNumber(e.what(), e.Number));
    return ExitNotFittable;
  }
}

// The report after a fit that met a singular system, as Print shows it then: without the
// coefficient section. The report fills the standard output, so the singular line becomes
// a message.
int ReportSingularFit(const ProblemModel& model, const EntryFields& fields,
                      const ComputeOutcome& outcome, const std::string& file, std::FILE* out,
                      std::FILE* err) {
  LineWriter writer(out);
  ReportLines(model, fields.Equation, fields.ConstantItems, writer.Sink());
  if (!writer.Flush()) return ResultsNotWritten(err);
  Message(err, file + ": " + SingularMatrixLine);
  if (!outcome.Message.empty()) Message(err, file + ": " + outcome.Message);
  return ExitSingular;
}

}  // namespace

std::optional<FitModeOptions> ParseFitArguments(const std::vector<std::string>& args,
                                                std::FILE* err) {
  FitModeOptions options;
  bool save = false;
  const auto fail = [&](const std::string& text) { return UsageError(err, text); };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-o") {
      if (i + 1 == args.size()) return fail("-o needs the path of the output file");
      if (!options.Output.empty()) return fail("-o is given twice");
      options.Output = args[++i];
      if (options.Output.empty()) return fail("-o needs the path of the output file");
    } else if (arg == "--save") {
      save = true;
    } else if (arg == "--report") {
      options.Report = true;
    } else if (arg == "--eval") {
      options.Eval = true;
      options.EvalTexts.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
      if (options.EvalTexts.empty()) return fail("--eval needs one value per variable");
      break;
    } else if (const auto problem = TakeFileArgument(arg, options.File)) {
      return fail(*problem);
    }
  }
  if (const auto problem = MissingFile(options.File)) return fail(*problem);
  if (save && !options.Output.empty()) return fail("-o and --save exclude each other");
  if (save) options.Output = options.File;
  options.Save = save;
  return options;
}

int RunFitMode(const FitModeOptions& options, std::FILE* out, std::FILE* err) {
  if (!options.Save && !options.Output.empty()) {
    const int code = RefuseOutputOverInput({options.Output, TextFilePath(options.Output)},
                                           {options.File, TextFilePath(options.File)}, err);
    if (code != ExitSuccess) return code;
  }
  ProblemModel model;
  EntryFields fields;
  if (const int code = OpenPair(options.File, model, fields, err); code != ExitSuccess) {
    return code;
  }
  if (options.Eval && options.EvalTexts.size() != fields.Variables.size()) {
    Message(err, "--eval needs " + std::to_string(fields.Variables.size()) +
                     " values, one per variable of " + options.File + ", not " +
                     std::to_string(options.EvalTexts.size()));
    return ExitUsage;
  }

  // The engine's messages are this program's own, with the error's number, below.
  ScriptEnvironment engine;
  const ComputeOutcome outcome = FitFile(model, fields, engine, options.File, err);
  if (outcome.Status == ComputeStatus::Singular && options.Report) {
    return ReportSingularFit(model, fields, outcome, options.File, out, err);
  }
  if (const int code = SaveFit(outcome, model, fields, options.File, options.Output, out, err);
      code != ExitSuccess) {
    return code;
  }
  LineWriter writer(out);
  if (options.Report) {
    ReportLines(model, fields.Equation, fields.ConstantItems, writer.Sink());
  }
  if (options.Output.empty() && !options.Report && !options.Eval) {
    ListCoefficients(model, writer.Sink(), [] {});
  }
  if (!writer.Flush()) return ResultsNotWritten(err);
  if (options.Eval) return EvaluateAtPoint(model, fields, options.EvalTexts, engine, out, err);
  return ExitSuccess;
}

const char* FitModeHelp() {
  return "  quonfit FILE [-o OUT | --save] [--report] [--eval VALUE...]\n"
         "      Opens the specification file pair FILE and FILE.str as Open does, fits\n"
         "      as Compute does and prints the coefficient listing as the window lists\n"
         "      it, one item per line, or the single line \"YIELDS SINGULAR MATRIX.\".\n"
         "  -o OUT        write the pair with the results to OUT and OUT.str instead\n"
         "  --save        write the pair with the results back to FILE and FILE.str\n"
         "  --report      print the text of the printed report instead (after a\n"
         "                singular system without coefficients, the singular line\n"
         "                then going to the standard error)\n"
         "  --eval VALUE...  (last) one value per variable, read as the Evaluations\n"
         "                window reads them: print Function= and Approximation=\n"
         "  Exit status: 0 done, 2 bad usage, 3 a file cannot be read, is malformed or\n"
         "  cannot be written, 4 a script error ended the fit or the evaluation,\n"
         "  5 singular system (the reason on the standard error), 6 the problem\n"
         "  cannot be fitted (the fit overflows, or too many terms) or evaluated.\n"
         "  A long fit tells its progress on the standard error.\n";
}

}  // namespace quon::cli
