#include <algorithm>
#include <string_view>

#include "cli/arguments.h"
#include "cli/cli_output.h"
#include "cli/use_modes.h"

namespace quon::cli {
namespace {

bool IsModeSwitch(const std::string& arg) {
  return arg == "--export" || arg == "--eval-file" || arg == "--derivative" || arg == "--integral";
}

std::vector<std::string> SplitAtCommas(const std::string& text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == ',') {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  return parts;
}

}  // namespace

bool WantsUseMode(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (IsModeSwitch(arg)) return true;
  }
  return false;
}

std::optional<UseOptions> ParseUseArguments(const std::vector<std::string>& args, std::FILE* err) {
  UseOptions options;
  const auto fail = [&](const std::string& text) { return UsageError(err, text); };
  int modes = 0;
  std::vector<std::string> switches;
  bool haveAt = false;
  bool haveBox = false;
  bool haveName = false;
  bool haveJson = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size() && !args[i + 1].empty();
    std::string bad;
    if (IsModeSwitch(arg)) {
      if (std::find(switches.begin(), switches.end(), arg) != switches.end()) {
        return fail(arg + " is given twice");
      }
      switches.push_back(arg);
      ++modes;
    }
    if (arg == "--export") {
      options.Mode = UseMode::Export;
      const auto format = hasValue ? ParseExportFormat(args[i + 1]) : std::nullopt;
      if (!format) return fail("--export needs one of c, python, fortran, csv, json");
      options.Format = *format;
      ++i;
    } else if (arg == "--eval-file") {
      options.Mode = UseMode::EvalFile;
      if (!hasValue) return fail("--eval-file needs the path of a points file");
      options.PointsFile = args[++i];
    } else if (arg == "--derivative") {
      options.Mode = UseMode::Derivative;
      if (!hasValue) return fail("--derivative needs variable names, one per order (x,x)");
      options.Variables = SplitAtCommas(args[++i]);
    } else if (arg == "--integral") {
      options.Mode = UseMode::Integral;
    } else if (arg == "--at") {
      haveAt = true;
      if (!TakeNumbers(args, i, options.At, bad))
        return fail("--at: \"" + bad + "\" is not a number");
    } else if (arg == "--box") {
      haveBox = true;
      if (!TakeNumbers(args, i, options.Box, bad))
        return fail("--box: \"" + bad + "\" is not a number");
    } else if (arg == "--json") {
      haveJson = true;
    } else if (arg == "--name") {
      if (!hasValue) return fail("--name needs the name of the function");
      options.FunctionName = args[++i];
      haveName = true;
    } else if (arg == "-o") {
      if (!hasValue) return fail("-o needs the path of the output file");
      if (!options.Output.empty()) return fail("-o is given twice");
      options.Output = args[++i];
    } else if (const auto problem = TakeFileArgument(arg, options.File)) {
      return fail(*problem);
    }
  }
  if (const auto problem = MissingFile(options.File)) return fail(*problem);
  if (modes > 1)
    return fail("--export, --eval-file, --derivative and --integral exclude each other");
  if (haveName && options.Mode != UseMode::Export) return fail("--name belongs to --export");
  if (haveAt != (options.Mode == UseMode::Derivative)) {
    return fail(haveAt ? "--at belongs to --derivative" : "--derivative needs --at and the point");
  }
  if (haveBox && options.Mode != UseMode::Integral) return fail("--box belongs to --integral");
  if (haveBox && options.Box.empty())
    return fail("--box needs a lower and an upper limit per variable");
  const bool calculus = options.Mode == UseMode::Derivative || options.Mode == UseMode::Integral;
  if (calculus && !options.Output.empty())
    return fail("-o does not go with --derivative or --integral");
  if (haveJson && !calculus) return fail("--json goes with --derivative or --integral");
  options.Json = haveJson;
  return options;
}

int RunUseMode(const UseOptions& options, std::FILE* out, std::FILE* err) {
  switch (options.Mode) {
    case UseMode::Export:
      return RunExportMode(options, out, err);
    case UseMode::EvalFile:
      return RunEvalFileMode(options, out, err);
    case UseMode::Derivative:
    case UseMode::Integral:
      return RunCalculusMode(options, out, err);
  }
  return ExitUsage;
}

const char* UseModeHelp() {
  return "  quonfit FILE --export c|python|fortran|csv|json [--name NAME] [-o OUT]\n"
         "      Uses the results FILE stores, or fits it first, and writes the\n"
         "      approximation as the source of one function NAME (default\n"
         "      approximation) that evaluates it as quon does (to the last place,\n"
         "      but for NumPy's sin and cos in Python), or its coefficients as a CSV\n"
         "      table or the whole problem as JSON.\n"
         "  quonfit FILE --eval-file POINTS.csv [-o OUT.csv]\n"
         "      POINTS.csv: a header naming the variables in any order, one point per\n"
         "      row. Writes per point its coordinates, function, approximation and\n"
         "      difference; a failing value reads \"error N\" with its error number.\n"
         "  quonfit FILE --derivative VAR[,VAR...] --at VALUE... [--json]\n"
         "      Derivative= the partial derivative of the approximation, once in VAR\n"
         "      for each name given (x,x: second derivative in x), at the point.\n"
         "  quonfit FILE --integral [--box LOW HIGH...] [--json]\n"
         "      Integral= the integral of the approximation over the problem's box,\n"
         "      or over the box with a LOW and a HIGH limit per variable.\n";
}

}  // namespace quon::cli
