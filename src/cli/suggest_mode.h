// quonfit's suggest mode: opens a specification file pair, asks the term advisor for
// numbers of terms that reach a wanted largest difference between the nodes, and prints
// them for scripts, one "key: value" line each: "terms: NAME=N" per variable,
// max_abs_diff and max_rel_diff of the suggested fit (fitted again as Compute fits and
// checked as --check checks), coefficients, evaluated_fits; or, when the accuracy is out
// of reach, "unreachable: <reason>", the same lines for the best counts found, and one
// "advice: ..." line per thing that would help. With --json, one JSON object instead.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/advisor/term_advisor.h"

namespace quon::cli {

struct SuggestModeOptions {
  std::string File;
  std::string Output;  // -o OUT: the pair with the suggested counts and their fit
  AdvisorOptions Advisor;
  bool Json = false;
};

// Whether the arguments ask for the suggest mode (they hold --suggest-terms).
bool WantsSuggestMode(const std::vector<std::string>& args);

// The options from the arguments after the program's name, or nullopt after a message on
// `err` when they are not usable.
std::optional<SuggestModeOptions> ParseSuggestArguments(const std::vector<std::string>& args,
                                                        std::FILE* err);

// Runs the mode; returns one of the fit mode's exit codes or ExitUnreachable.
int RunSuggestMode(const SuggestModeOptions& options, std::FILE* out, std::FILE* err);

// The lines of quonfit --help that describe the suggest mode.
const char* SuggestModeHelp();

}  // namespace quon::cli
