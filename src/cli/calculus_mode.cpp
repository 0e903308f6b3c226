// quonfit FILE --derivative VAR[,VAR...] --at VALUE... and quonfit FILE --integral.
#include "cli/cli_output.h"
#include "cli/key_value_output.h"
#include "cli/open_and_fit.h"
#include "cli/use_modes.h"
#include "core/calculus/calculus.h"
#include "core/model/entry_checks.h"
#include "core/model/names_in_use.h"
#include "core/model/variable_names.h"
#include "engine/number_text.h"

namespace quon::cli {
namespace {

// A usage message, or empty when the options fit the problem's variables.
std::string CheckAgainstProblem(const UseOptions& options, const std::vector<std::string>& names) {
  const std::string count = std::to_string(names.size());
  if (options.Mode == UseMode::Derivative) {
    for (const std::string& variable : options.Variables) {
      bool known = false;
      for (const std::string& name : names) known = known || SameVariableName(variable, name);
      if (!known) {
        return "--derivative: \"" + variable + "\" is not a variable of " + options.File + " (" +
               JoinNames(names) + ")";
      }
    }
    if (options.At.size() != names.size())
      return "--at needs " + count + " values, one per variable";
  }
  if (options.Mode == UseMode::Integral && !options.Box.empty() &&
      options.Box.size() != 2 * names.size()) {
    return "--box needs " + std::to_string(2 * names.size()) +
           " values, a lower and an upper limit per variable";
  }
  return {};
}

}  // namespace

int RunCalculusMode(const UseOptions& options, std::FILE* out, std::FILE* err) {
  ProblemModel model;
  EntryFields fields;
  ScriptEnvironment engine;
  const int opened = OpenWithResults(options.File, model, fields, engine, out, err);
  if (opened != ExitSuccess) return opened;
  const std::vector<std::string> names = NamesInUse(model);
  if (const std::string problem = CheckAgainstProblem(options, names); !problem.empty()) {
    Message(err, problem + " (see quonfit --help)");
    return ExitUsage;
  }
  KeyValueOutput figure("=");
  try {
    if (options.Mode == UseMode::Derivative) {
      figure.Add("Derivative", TextForm(PartialDerivative(model, options.Variables, options.At)));
      return figure.Write(out, err, options.Json) ? ExitSuccess : ExitFile;
    }
    std::vector<double> lower;
    std::vector<double> upper;
    for (std::size_t i = 0; i + 1 < options.Box.size(); i += 2) {
      lower.push_back(options.Box[i]);
      upper.push_back(options.Box[i + 1]);
    }
    figure.Add("Integral", TextForm(Integral(model, lower, upper)));
    return figure.Write(out, err, options.Json) ? ExitSuccess : ExitFile;
  } catch (const CalculusError& e) {
    Message(err, options.File + ": " + e.what());
    return ExitNotFittable;
  }
}

}  // namespace quon::cli
