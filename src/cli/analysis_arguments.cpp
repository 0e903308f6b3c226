// The options of --extrema, --roots and --sensitivity, and the steps they share: opening
// the pair with its results and checking the options against its variables.
#include "cli/analysis_modes.h"
#include "cli/arguments.h"
#include "cli/cli_output.h"
#include "cli/open_and_fit.h"
#include "core/analysis/analysis_error.h"
#include "core/model/entry_checks.h"
#include "core/model/names_in_use.h"
#include "core/model/variable_names.h"

namespace quon::cli {
namespace {

const char* ModeSwitch(const std::string& arg) {
  for (const char* mode : {"--extrema", "--roots", "--sensitivity"}) {
    if (arg == mode) return mode;
  }
  return nullptr;
}

// A usage message, or empty when the options fit the problem's variables.
std::string CheckAgainstProblem(const AnalysisOptions& options,
                                const std::vector<std::string>& names) {
  if (!options.Box.empty() && options.Box.size() != 2 * names.size()) {
    return "--box needs " + std::to_string(2 * names.size()) +
           " values, a lower and an upper limit per variable";
  }
  if (options.Mode != AnalysisMode::Roots) return {};
  bool known = false;
  for (const std::string& name : names) known = known || SameVariableName(options.Variable, name);
  if (!known) {
    return "--roots: \"" + options.Variable + "\" is not a variable of " + options.File + " (" +
           JoinNames(names) + ")";
  }
  if (options.HaveAt && options.At.size() + 1 != names.size() &&
      options.At.size() != names.size()) {
    return "--at needs " + std::to_string(names.size() - 1) +
           " values, one per other variable (or " + std::to_string(names.size()) +
           ", a whole point)";
  }
  return {};
}

}  // namespace

bool WantsAnalysisMode(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (ModeSwitch(arg) != nullptr) return true;
  }
  return false;
}

std::optional<AnalysisOptions> ParseAnalysisArguments(const std::vector<std::string>& args,
                                                      std::FILE* err) {
  AnalysisOptions options;
  const auto fail = [&](const std::string& text) { return UsageError(err, text); };
  int modes = 0;
  bool haveBox = false;
  const char* mode = nullptr;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string bad;
    if (const char* m = ModeSwitch(arg)) {
      ++modes;
      mode = m;
    }
    if (arg == "--extrema") {
      options.Mode = AnalysisMode::Extrema;
    } else if (arg == "--sensitivity") {
      options.Mode = AnalysisMode::Sensitivity;
    } else if (arg == "--roots") {
      options.Mode = AnalysisMode::Roots;
      if (i + 1 == args.size() || args[i + 1].empty() || args[i + 1][0] == '-') {
        return fail("--roots needs the name of a variable");
      }
      options.Variable = args[++i];
    } else if (arg == "--box") {
      haveBox = true;
      if (!TakeNumbers(args, i, options.Box, bad))
        return fail("--box: \"" + bad + "\" is not a number");
    } else if (arg == "--at") {
      options.HaveAt = true;
      if (!TakeNumbers(args, i, options.At, bad))
        return fail("--at: \"" + bad + "\" is not a number");
    } else if (arg == "--json") {
      options.Json = true;
    } else if (const auto problem = TakeFileArgument(arg, options.File, mode ? mode : "")) {
      return fail(*problem);
    }
  }
  if (const auto problem = MissingFile(options.File)) return fail(*problem);
  if (modes > 1) return fail("--extrema, --roots and --sensitivity exclude each other");
  if (haveBox && options.Mode != AnalysisMode::Extrema) return fail("--box belongs to --extrema");
  if (haveBox && options.Box.empty())
    return fail("--box needs a lower and an upper limit per variable");
  if (options.HaveAt && options.Mode != AnalysisMode::Roots) return fail("--at belongs to --roots");
  return options;
}

int RunAnalysisMode(const AnalysisOptions& options, std::FILE* out, std::FILE* err) {
  ProblemModel model;
  EntryFields fields;
  ScriptEnvironment engine;
  const int opened = OpenWithResults(options.File, model, fields, engine, out, err);
  if (opened != ExitSuccess) return opened;
  if (const std::string problem = CheckAgainstProblem(options, NamesInUse(model));
      !problem.empty()) {
    Message(err, problem + " (see quonfit --help)");
    return ExitUsage;
  }
  try {
    switch (options.Mode) {
      case AnalysisMode::Extrema:
        return RunExtremaMode(options, model, out, err);
      case AnalysisMode::Roots:
        return RunRootsMode(options, model, out, err);
      case AnalysisMode::Sensitivity:
        return RunSensitivityMode(options, model, out, err);
    }
  } catch (const AnalysisError& e) {
    Message(err, options.File + ": " + e.what());
  } catch (const std::bad_alloc&) {
    Message(err, options.File + ": not enough memory for the analysis");
  }
  return ExitNotFittable;
}

const char* AnalysisModeHelp() {
  return "  quonfit FILE --extrema [--box LOW HIGH...] [--json]\n"
         "      maximum: and minimum: the largest and smallest value of the approximation\n"
         "      over the problem's box (or the box with a LOW and a HIGH limit per\n"
         "      variable; equal limits hold a variable), each \"VALUE at NAME=V,...\".\n"
         "      Global: a scan finer than the terms can oscillate, refined by Newton's\n"
         "      method with the exact gradient and Hessian, on the faces too.\n"
         "  quonfit FILE --roots VAR [--at VALUE...] [--json]\n"
         "      roots: every real root of the approximation along VAR within its\n"
         "      interval, ascending, each once; the other variables at the --at values\n"
         "      (one per other variable in order, or a whole point), else at their\n"
         "      centres. By Chebyshev expansion and colleague-matrix eigenvalues,\n"
         "      refined by Newton's method.\n"
         "  quonfit FILE --sensitivity [--json]\n"
         "      mean:, variance: of the approximation over the box (uniform weight),\n"
         "      then main_effect: NAME=S and total_effect: NAME=S per variable (the\n"
         "      first-order and total variance-based indices), exact from the\n"
         "      coefficients.\n";
}

}  // namespace quon::cli
