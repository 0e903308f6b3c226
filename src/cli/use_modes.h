// quonfit's modes that take the fit elsewhere: --export (source code or data),
// --eval-file (function and approximation at every point of a CSV file), --derivative
// and --integral (calculus on the approximation). Each opens FILE with its stored results
// or fits it first (OpenWithResults in open_and_fit.h).
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/export/export_format.h"

namespace quon::cli {

enum class UseMode { Export, EvalFile, Derivative, Integral };

struct UseOptions {
  UseMode Mode = UseMode::Export;
  std::string File;
  std::string Output;  // -o OUT; empty: the standard output
  ExportFormat Format = ExportFormat::C;
  std::string FunctionName = DefaultFunctionName;
  std::string PointsFile;
  std::vector<std::string> Variables;  // --derivative, one per order
  std::vector<double> At;              // --at
  std::vector<double> Box;             // --box: lower and upper limit per variable
  bool Json = false;                   // --json: the figure as a JSON object
};

// Whether the arguments ask for one of these modes.
bool WantsUseMode(const std::vector<std::string>& args);

// The options, or nullopt after a message on `err`.
std::optional<UseOptions> ParseUseArguments(const std::vector<std::string>& args, std::FILE* err);

int RunUseMode(const UseOptions& options, std::FILE* out, std::FILE* err);

int RunExportMode(const UseOptions& options, std::FILE* out, std::FILE* err);
int RunEvalFileMode(const UseOptions& options, std::FILE* out, std::FILE* err);
int RunCalculusMode(const UseOptions& options, std::FILE* out, std::FILE* err);

const char* UseModeHelp();

}  // namespace quon::cli
