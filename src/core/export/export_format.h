// The ways a fitted approximation leaves the program: as the source of one function in C,
// Python or Fortran that evaluates it exactly as the program does, or as data (a CSV
// table of the coefficients, a JSON document of the whole problem). Every export is a
// text made from the model with results; writing it goes through a temporary file renamed
// into place, so a failure never leaves half a file.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/eval/accuracy_check.h"
#include "core/model/problem_model.h"

namespace quon {

enum class ExportFormat { C, Python, Fortran, Csv, Json };

// A refused export (no results, a bad function name, a coefficient that is not finite).
// what() is a message for the user.
class ExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "c", "python", "fortran", "csv", "json" (any case), or nothing.
std::optional<ExportFormat> ParseExportFormat(const std::string& text);
// The lower-case name ParseExportFormat reads.
const char* ExportFormatName(ExportFormat format);
// The usual file name extension, with its point (".c", ".py", ".f90", ".csv", ".json").
const char* ExportExtension(ExportFormat format);

inline constexpr const char* DefaultFunctionName = "approximation";

// What the export tells beside the model: the exported function's name, the user
// constants, and the last accuracy check when there was one.
struct ExportInfo {
  std::string FunctionName = DefaultFunctionName;
  std::vector<std::string> Constants;
  std::optional<AccuracyResult> Accuracy;
};

// The text of the export. Throws ExportError.
std::string ExportText(ExportFormat format, const ProblemModel& model, const ExportInfo& info);

// ExportText written to `path`. Throws ExportError, or SpecFileError when the file cannot
// be written (an older file at `path` is then left as it was).
void WriteExport(const std::string& path, ExportFormat format, const ProblemModel& model,
                 const ExportInfo& info);

}  // namespace quon
