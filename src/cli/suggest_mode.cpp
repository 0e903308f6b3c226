#include "cli/suggest_mode.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "cli/arguments.h"
#include "cli/cli_output.h"
#include "cli/key_value_output.h"
#include "cli/open_and_fit.h"
#include "core/advisor/advice_text.h"
#include "core/advisor/advisor_problem.h"
#include "core/io/spec_file.h"
#include "engine/number_text.h"
#include "engine/script_environment.h"

namespace quon::cli {
namespace {

std::optional<double> PositiveNumber(const std::string& text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !(value > 0) ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

void AddFigures(const ProblemModel& problem, const std::vector<int32_t>& terms, double maxAbs,
                double maxRel, int64_t coefficients, int32_t fits, KeyValueOutput& figures) {
  for (std::size_t k = 0; k < terms.size(); ++k) {
    figures.AddNamed("terms", problem.VarName[k], std::to_string(terms[k]));
  }
  figures.Add("max_abs_diff", TextForm(maxAbs));
  figures.Add("max_rel_diff", TextForm(maxRel));
  figures.Add("coefficients", std::to_string(coefficients));
  figures.Add("evaluated_fits", std::to_string(fits));
}

// With -o, the suggested counts fitted as Compute fits them and written with the results.
int SaveSuggestion(const SuggestModeOptions& options, ProblemModel& model, EntryFields fields,
                   ScriptEnvironment& engine, const std::vector<int32_t>& terms, std::FILE* out,
                   std::FILE* err) {
  if (options.Output.empty()) return ExitSuccess;
  for (std::size_t k = 0; k < terms.size(); ++k)
    fields.Variables[k].Terms = std::to_string(terms[k]);
  return FitAndSave(model, fields, engine, options.File, options.Output, out, err);
}

}  // namespace

bool WantsSuggestMode(const std::vector<std::string>& args) {
  return HasOption(args, "--suggest-terms");
}

std::optional<SuggestModeOptions> ParseSuggestArguments(const std::vector<std::string>& args,
                                                        std::FILE* err) {
  SuggestModeOptions options;
  options.Advisor.MaxTerms = 0;  // the kind's default unless --max-terms gives one
  const auto fail = [&](const std::string& text) { return UsageError(err, text); };
  const auto next = [&](std::size_t& i) {
    return i + 1 < args.size() ? std::optional<std::string>(args[++i]) : std::nullopt;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--suggest-terms") {
      const std::optional<std::string> text = next(i);
      const std::optional<double> tolerance = text ? PositiveNumber(*text) : std::nullopt;
      if (!tolerance) return fail("--suggest-terms needs a wanted accuracy above 0, such as 1e-6");
      options.Advisor.Tolerance = *tolerance;
    } else if (arg == "--json") {
      options.Json = true;
    } else if (arg == "--relative") {
      options.Advisor.Relative = true;
    } else if (arg == "--max-terms") {
      const std::optional<std::string> text = next(i);
      const std::optional<int64_t> most =
          text ? WholeNumberIn(*text, 2, MostMaxTerms) : std::nullopt;
      if (!most) {
        return fail("--max-terms needs a whole number from 2 to " + std::to_string(MostMaxTerms));
      }
      options.Advisor.MaxTerms = static_cast<int32_t>(*most);
    } else if (arg == "-o") {
      const std::optional<std::string> text = next(i);
      if (!text || text->empty()) return fail("-o needs the path of the output file");
      options.Output = *text;
    } else if (const auto problem = TakeFileArgument(arg, options.File, "--suggest-terms")) {
      return fail(*problem);
    }
  }
  if (const auto problem = MissingFile(options.File)) return fail(*problem);
  return options;
}

int RunSuggestMode(const SuggestModeOptions& options, std::FILE* out, std::FILE* err) {
  if (!options.Output.empty()) {
    const int code = RefuseOutputOverInput({options.Output, TextFilePath(options.Output)},
                                           {options.File, TextFilePath(options.File)}, err);
    if (code != ExitSuccess) return code;
  }
  ProblemModel model;
  EntryFields fields;
  if (const int code = OpenPair(options.File, model, fields, err); code != ExitSuccess) {
    return code;
  }
  ScriptEnvironment engine;
  AdvisorProblem problem;
  try {
    problem = PrepareAdvisorProblem(model, fields, engine);
  } catch (const AdvisorSetupError& e) {
    Message(err, options.File + ": " + e.what());
    return e.ScriptFailed ? ExitScriptError : ExitNotFittable;
  }
  const ProblemModel gathered = problem.Model;
  const TermAdvice advice =
      SuggestTerms(std::move(problem.Model), *problem.Function, options.Advisor);
  KeyValueOutput figures;
  if (advice.Status == AdviceStatus::Reached) {
    const int code = SaveSuggestion(options, model, fields, engine, advice.Best.Terms, out, err);
    if (code != ExitSuccess) return code;
  } else {
    figures.Add("unreachable", UnreachableReason(gathered, advice, options.Advisor));
  }
  if (!advice.Best.Terms.empty()) {
    AddFigures(gathered, advice.Best.Terms, advice.Best.MaxAbsDiff, advice.Best.MaxRelDiff,
               advice.Best.Coefficients, advice.EvaluatedFits, figures);
  }
  for (const std::string& line : AdviceLines(gathered, advice, options.Advisor)) {
    figures.Add("advice", line);
  }
  if (!figures.Write(out, err, options.Json)) return ExitFile;
  return advice.Status == AdviceStatus::Reached ? ExitSuccess : ExitUnreachable;
}

const char* SuggestModeHelp() {
  return "  quonfit FILE --suggest-terms TOL [--relative] [--max-terms N] [-o OUT] [--json]\n"
         "      Searches for numbers of terms per variable whose fit differs from the\n"
         "      function between the nodes by at most TOL, with as few coefficients as\n"
         "      it finds; prints \"terms: NAME=N\" per variable, max_abs_diff,\n"
         "      max_rel_diff, coefficients and evaluated_fits (the fits it made), or\n"
         "      \"unreachable: <reason>\" with the best counts found and \"advice:\" lines.\n"
         "  --relative     TOL is relative to the function's largest magnitude\n"
         "  --max-terms N  at most N terms per variable (default 30, 257 when every\n"
         "                 variable has Chebyshev terms)\n"
         "  -o OUT         write the pair with the suggested counts and their fit\n"
         "  Exit status as above, and 7 when TOL is out of reach.\n";
}

}  // namespace quon::cli
