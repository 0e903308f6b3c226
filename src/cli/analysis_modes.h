// quonfit's modes that answer questions about the fit: --extrema (the largest and smallest
// value over the box or a sub-box, with where they lie), --roots (every root along one
// variable, the others held), --sensitivity (mean, variance and the variance-based
// sensitivity indices). Each opens FILE with its stored results or fits it first, and
// prints "key: value" lines, or one JSON object with --json (key_value_output.h); numbers
// have 17 significant digits.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/model/problem_model.h"

namespace quon::cli {

enum class AnalysisMode { Extrema, Roots, Sensitivity };

struct AnalysisOptions {
  AnalysisMode Mode = AnalysisMode::Extrema;
  std::string File;
  std::vector<double> Box;  // --box: lower and upper limit per variable; empty: the problem's
  std::string Variable;     // --roots VAR
  bool HaveAt = false;
  std::vector<double> At;  // --at: the other variables' values, or a whole point
  bool Json = false;
};

// Whether the arguments ask for one of these modes.
bool WantsAnalysisMode(const std::vector<std::string>& args);

// The options, or nullopt after a message on `err`.
std::optional<AnalysisOptions> ParseAnalysisArguments(const std::vector<std::string>& args,
                                                      std::FILE* err);

// Opens and fits FILE, checks the options against its variables, runs the mode.
int RunAnalysisMode(const AnalysisOptions& options, std::FILE* out, std::FILE* err);

int RunExtremaMode(const AnalysisOptions& options, const ProblemModel& model, std::FILE* out,
                   std::FILE* err);
int RunRootsMode(const AnalysisOptions& options, const ProblemModel& model, std::FILE* out,
                 std::FILE* err);
int RunSensitivityMode(const AnalysisOptions& options, const ProblemModel& model, std::FILE* out,
                       std::FILE* err);

const char* AnalysisModeHelp();

}  // namespace quon::cli
