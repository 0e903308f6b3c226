// quonfit's check mode: opens a specification file pair, fits as Compute does, runs the
// accuracy check and prints its figures for scripts, one "key: value" line each (or, with
// --json, one JSON object): max_abs_diff, max_rel_diff, rms_diff, worst_point (the
// coordinates, comma-separated), check_points, failed_points, then one "warning: ..." line
// per ill-conditioned variable.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/eval/check_grid.h"

namespace quon::cli {

struct CheckModeOptions {
  std::string File;
  CheckBudget Budget;
  bool Json = false;
};

// Whether the arguments ask for the check mode (they hold --check).
bool WantsCheckMode(const std::vector<std::string>& args);

// The options from the arguments after the program's name, or nullopt after a message on
// `err` when they are not usable.
std::optional<CheckModeOptions> ParseCheckArguments(const std::vector<std::string>& args,
                                                    std::FILE* err);

// Runs the mode; returns one of the fit mode's exit codes. Results go to `out`, messages
// to `err`.
int RunCheckMode(const CheckModeOptions& options, std::FILE* out, std::FILE* err);

// The lines of quonfit --help that describe the check mode.
const char* CheckModeHelp();

}  // namespace quon::cli
