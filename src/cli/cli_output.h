// quonfit's exit codes and how every mode writes its messages and its results.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace quon::cli {

enum ExitCode : int {
  ExitSuccess = 0,
  ExitUsage = 2,        // bad arguments
  ExitFile = 3,         // a pair that cannot be read, is malformed, or cannot be written
  ExitScriptError = 4,  // a script error ended the fit, a constant failed, or the function
                        // failed at the --eval point
  ExitSingular = 5,     // the fit met a singular system
  ExitNotFittable = 6,  // the problem cannot be fitted (a grid too large, a fit that
                        // overflows), or the approximation overflows at the --eval point
  ExitUnreachable = 7,  // --suggest-terms: the wanted accuracy is out of reach
};

// "quonfit: <text>" on `err`.
void Message(std::FILE* err, const std::string& text);

// "<description> (error <number>)".
std::string WithNumber(const std::string& description, int32_t number);

// The message after the results could not be written to the standard output; returns
// ExitFile.
int ResultsNotWritten(std::FILE* err);

// Writes `text` whole to `out`; false (after a message on `err`) when it could not.
bool WriteAll(std::FILE* out, std::FILE* err, const std::string& text);

// Each line followed by a line end, as WriteAll.
bool WriteLines(const std::vector<std::string>& lines, std::FILE* out, std::FILE* err);

}  // namespace quon::cli
