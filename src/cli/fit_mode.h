// quonfit's fit mode: opens a specification file pair as the Open command does, fits as
// Compute does (gathering from the texts that opening put into the fields), and prints the
// coefficient listing, the report, or the values at a point, or writes the pair with the
// results.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace quon::cli {

struct FitModeOptions {
  std::string File;
  std::string Output;  // -o OUT, or FILE itself with --save; empty: no writing
  bool Save = false;   // --save: Output is FILE on purpose
  bool Report = false;
  bool Eval = false;
  std::vector<std::string> EvalTexts;  // one per variable
};

// The options from the arguments after the program's name, or nullopt after a message on
// `err` when they are not usable.
std::optional<FitModeOptions> ParseFitArguments(const std::vector<std::string>& args,
                                                std::FILE* err);

// Runs the mode; returns the exit code. Results go to `out`, messages to `err`.
int RunFitMode(const FitModeOptions& options, std::FILE* out, std::FILE* err);

// The lines of quonfit --help that describe the fit mode.
const char* FitModeHelp();

}  // namespace quon::cli
