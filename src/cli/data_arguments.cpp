#include "cli/arguments.h"
#include "cli/cli_output.h"
#include "cli/data_modes.h"
#include "cli/key_value_output.h"
#include "cli/line_writer.h"
#include "core/io/spec_file.h"
#include "core/report/fit_statistics.h"
#include "core/report/listing.h"

namespace quon::cli {
namespace {

bool IsModeSwitch(const std::string& arg) {
  return arg == "--nodes" || arg == "--values" || arg == "--fit-data";
}

}  // namespace

bool WantsDataMode(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (IsModeSwitch(arg)) return true;
  }
  return false;
}

std::optional<DataOptions> ParseDataArguments(const std::vector<std::string>& args,
                                              std::FILE* err) {
  DataOptions options;
  const auto fail = [&](const std::string& text) { return UsageError(err, text); };
  int modes = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size() && !args[i + 1].empty();
    if (IsModeSwitch(arg)) ++modes;
    if (arg == "--nodes") {
      options.Mode = DataMode::Nodes;
    } else if (arg == "--values" || arg == "--fit-data") {
      options.Mode = arg == "--values" ? DataMode::Values : DataMode::FitData;
      if (!hasValue) return fail(arg + " needs the path of a table");
      options.Table = args[++i];
    } else if (arg == "--weights") {
      if (!hasValue) return fail("--weights needs the name of the weight column");
      options.Weights = args[++i];
    } else if (arg == "--stats") {
      options.Stats = true;
    } else if (arg == "--json") {
      options.Json = true;
    } else if (arg == "-o") {
      if (!hasValue) return fail("-o needs the path of the output file");
      if (!options.Output.empty()) return fail("-o is given twice");
      options.Output = args[++i];
    } else if (const auto problem = TakeFileArgument(arg, options.File)) {
      return fail(*problem);
    }
  }
  if (const auto problem = MissingFile(options.File)) return fail(*problem);
  if (modes > 1) return fail("--nodes, --values and --fit-data exclude each other");
  if (options.Weights && options.Mode != DataMode::FitData) {
    return fail("--weights belongs to --fit-data");
  }
  if (options.Stats && options.Mode != DataMode::FitData)
    return fail("--stats belongs to --fit-data");
  if (options.Json && !options.Stats) return fail("--json belongs to --stats");
  // The listing and the object would share the output.
  if (options.Json && options.Output.empty()) return fail("--json needs -o OUT");
  return options;
}

int RunDataMode(const DataOptions& options, std::FILE* out, std::FILE* err) {
  switch (options.Mode) {
    case DataMode::Nodes:
      return RunNodesMode(options, out, err);
    case DataMode::Values:
      return RunValuesMode(options, out, err);
    case DataMode::FitData:
      return RunFitDataMode(options, out, err);
  }
  return ExitUsage;
}

int WriteDataFitResults(const DataOptions& options, ProblemModel& model, const EntryFields& fields,
                        std::FILE* out, std::FILE* err) {
  if (!options.Output.empty()) {
    try {
      WriteSpecFile(options.Output, fields, model);
    } catch (const SpecFileError& e) {
      Message(err, e.what());
      return ExitFile;
    }
  }
  if (options.Output.empty()) {
    LineWriter writer(out);
    ListCoefficients(model, writer.Sink(), [] {});
    if (!writer.Flush()) return ResultsNotWritten(err);
  }
  if (!options.Stats) return ExitSuccess;
  KeyValueOutput figures;
  for (const auto& [key, value] : DataFitStatistics(model)) {
    // "LABEL VALUE STANDARD_ERROR".
    const std::size_t second = value.rfind(' ');
    const std::size_t first = second == std::string::npos || second == 0
                                  ? std::string::npos
                                  : value.rfind(' ', second - 1);
    if (key != "coefficient" || first == std::string::npos) {
      figures.Add(key, value);
      continue;
    }
    figures.AddLabelled(key, value.substr(0, first), {"value", "standard_error"},
                        {value.substr(first + 1, second - first - 1), value.substr(second + 1)});
  }
  return figures.Write(out, err, options.Json) ? ExitSuccess : ExitFile;
}

const char* DataModeHelp() {
  return "  quonfit FILE --nodes [-o NODES.csv]\n"
         "      Writes the nodes of FILE's grid, one row per node under a header naming\n"
         "      the variables, each coordinate with 17 significant digits.\n"
         "  quonfit FILE --values VALUES.csv [-o OUT]\n"
         "      VALUES.csv: the nodes table with one more column, value, computed\n"
         "      elsewhere, rows and columns in any order. Fits those values exactly as\n"
         "      Compute fits the function's samples: the same listing, the same pair.\n"
         "  quonfit FILE --fit-data DATA.csv [--weights COLUMN] [-o OUT] [--stats [--json]]\n"
         "      DATA.csv: a header naming the variables and value (and the weight\n"
         "      column), one observation per row. FILE gives the kinds, intervals,\n"
         "      centres, periods and numbers of terms; the coefficients minimise the\n"
         "      (weighted) sum of squared residuals. Prints the listing, or writes the\n"
         "      pair to OUT; --stats adds one \"key: value\" line per diagnostic, or with\n"
         "      --json (and -o) writes them as one JSON object.\n"
         "  Exit status: 3 a table or file cannot be read or is malformed, 5 singular\n"
         "  system (--values), 6 the table cannot be fitted.\n";
}

}  // namespace quon::cli
