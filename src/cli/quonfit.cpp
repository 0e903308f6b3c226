// quonfit, the command-line companion: picks the mode from the arguments and runs it.
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/analysis_modes.h"
#include "cli/arguments.h"
#include "cli/check_mode.h"
#include "cli/cli_output.h"
#include "cli/data_modes.h"
#include "cli/expr_mode.h"
#include "cli/fit_mode.h"
#include "cli/suggest_mode.h"
#include "cli/use_modes.h"
#include "core/io/temporary_file.h"

namespace {

void PrintHelp(std::FILE* out) {
  std::fprintf(out, "Usage:\n%s%s%s%s%s%s%s", quon::cli::FitModeHelp(), quon::cli::CheckModeHelp(),
               quon::cli::SuggestModeHelp(), quon::cli::UseModeHelp(),
               quon::cli::AnalysisModeHelp(), quon::cli::DataModeHelp(), quon::cli::ExprModeHelp());
}

bool WantsHelp(const std::vector<std::string>& args) {
  return quon::cli::HasOption(args, "--help") || quon::cli::HasOption(args, "-h");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quon::cli;
  // The window program runs under the user's numeric locale; so does quonfit. Numbers are
  // read and written in the program's own locale-free forms, so the output is the same
  // under any locale, and the tests run quonfit under a comma-decimal one to prove it.
  std::setlocale(LC_NUMERIC, "");
  // Ctrl+C or a kill during a long -o run leaves no temporary file beside OUT.
  quon::RemoveTemporaryFilesOnSignals();
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (WantsHelp(args)) {
    PrintHelp(stdout);
    return ExitSuccess;
  }
  if (args.empty()) {
    PrintHelp(stderr);
    return ExitUsage;
  }
  if (WantsExprMode(args)) {
    const auto options = ParseExprArguments(args, stderr);
    return options ? RunExprMode(*options, stdin, stdout, stderr) : ExitUsage;
  }
  if (WantsCheckMode(args)) {
    const auto options = ParseCheckArguments(args, stderr);
    return options ? RunCheckMode(*options, stdout, stderr) : ExitUsage;
  }
  if (WantsSuggestMode(args)) {
    const auto options = ParseSuggestArguments(args, stderr);
    return options ? RunSuggestMode(*options, stdout, stderr) : ExitUsage;
  }
  if (WantsAnalysisMode(args)) {
    const auto options = ParseAnalysisArguments(args, stderr);
    return options ? RunAnalysisMode(*options, stdout, stderr) : ExitUsage;
  }
  if (WantsDataMode(args)) {
    const auto options = ParseDataArguments(args, stderr);
    return options ? RunDataMode(*options, stdout, stderr) : ExitUsage;
  }
  if (WantsUseMode(args)) {
    const auto options = ParseUseArguments(args, stderr);
    return options ? RunUseMode(*options, stdout, stderr) : ExitUsage;
  }
  const auto options = ParseFitArguments(args, stderr);
  return options ? RunFitMode(*options, stdout, stderr) : ExitUsage;
}
