#include "cli/check_mode.h"

#include <cstdint>

#include "cli/arguments.h"
#include "cli/cli_output.h"
#include "cli/key_value_output.h"
#include "cli/open_and_fit.h"
#include "core/eval/accuracy_check.h"
#include "core/eval/accuracy_text.h"
#include "core/eval/script_point_function.h"
#include "core/fit/compute_command.h"
#include "core/model/names_in_use.h"
#include "engine/script_environment.h"

namespace quon::cli {

bool WantsCheckMode(const std::vector<std::string>& args) { return HasOption(args, "--check"); }

std::optional<CheckModeOptions> ParseCheckArguments(const std::vector<std::string>& args,
                                                    std::FILE* err) {
  CheckModeOptions options;
  const auto fail = [&](const std::string& text) { return UsageError(err, text); };
  constexpr int64_t kMostPoints = int64_t{1} << 40;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--check") continue;
    if (arg == "--json") {
      options.Json = true;
      continue;
    }
    if (arg == "--check-points" || arg == "--check-per-interval") {
      const bool points = arg == "--check-points";
      const int64_t most = points ? kMostPoints : MaxPointsPerInterval;
      const std::optional<int64_t> value =
          i + 1 < args.size() ? WholeNumberIn(args[i + 1], 1, most) : std::nullopt;
      if (!value) {
        return fail(arg + " needs a whole number from 1 to " + std::to_string(most));
      }
      ++i;
      if (points) {
        options.Budget.MaxPoints = *value;
      } else {
        options.Budget.PointsPerInterval = static_cast<int32_t>(*value);
      }
    } else if (const auto problem = TakeFileArgument(arg, options.File, "--check")) {
      return fail(*problem);
    }
  }
  if (const auto problem = MissingFile(options.File)) return fail(*problem);
  return options;
}

int RunCheckMode(const CheckModeOptions& options, std::FILE* out, std::FILE* err) {
  ProblemModel model;
  EntryFields fields;
  if (const int code = OpenPair(options.File, model, fields, err); code != ExitSuccess) {
    return code;
  }
  ScriptEnvironment engine;
  const ComputeOutcome outcome = FitFile(model, fields, engine, options.File, err);
  if (outcome.Status != ComputeStatus::Success) {
    return ReportFitFailure(outcome, options.File, out, err);
  }
  AccuracyResult result;
  try {
    ScriptPointFunctionSource source(engine, model.Equation, NamesInUse(model));
    result = CheckAccuracy(model, source, options.Budget);
  } catch (const ScriptFailure& failure) {
    Message(err, options.File + ": the function cannot be checked: " + failure.what());
    return ExitScriptError;
  } catch (const std::bad_alloc&) {
    Message(err, options.File + ": not enough memory for the check; use --check-points " +
                     "to check fewer points");
    return ExitNotFittable;
  }
  KeyValueOutput figures;
  for (const auto& [key, value] : AccuracyKeyValues(result)) {
    if (key != "worst_point" || value.empty()) {
      figures.Add(key, value);
      continue;
    }
    // The coordinates, comma-separated on the line, are an array of numbers in JSON.
    std::vector<std::string> coordinates(1);
    for (const char c : value) {
      if (c == ',') {
        coordinates.emplace_back();
      } else {
        coordinates.back() += c;
      }
    }
    figures.AddList(key, coordinates, ",");
  }
  if (!figures.Write(out, err, options.Json)) return ExitFile;
  return result.FailedPoints < result.CheckPoints ? ExitSuccess : ExitNotFittable;
}

const char* CheckModeHelp() {
  return "  quonfit FILE --check [--check-points N] [--check-per-interval K] [--json]\n"
         "      Fits FILE as above, then compares function and approximation between\n"
         "      the nodes and prints max_abs_diff, max_rel_diff (relative to the\n"
         "      function's largest magnitude there), rms_diff, worst_point,\n"
         "      check_points and failed_points, one \"key: value\" line each, and one\n"
         "      \"warning:\" line per variable whose terms are ill-conditioned; when\n"
         "      every variable has Chebyshev terms also estimated_error, the error\n"
         "      the tails of the coefficients estimate, and a \"warning:\" line per\n"
         "      variable whose series has not converged.\n"
         "  --check-points N        compare at most about N points (default: a tenth\n"
         "                          of the nodes, from 256 to 65536)\n"
         "  --check-per-interval K  K points inside every node interval of every\n"
         "                          variable, 1 the midpoints (default: as many, up to\n"
         "                          8, as the points allow); raise both to go finer\n"
         "  --json                  one JSON object with the same keys instead of the\n"
         "                          lines (here and with --suggest-terms, --derivative,\n"
         "                          --integral, --extrema, --roots and --sensitivity)\n";
}

}  // namespace quon::cli
