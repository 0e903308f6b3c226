// quonfit's fit mode: opens a specification file pair as the Open command does, fits as
// Compute does (gathering from the texts that opening put into the fields), and prints the
// coefficient listing, the report, or the values at a point, or writes the pair with the
// results.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "fit/compute_command.h"
#include "model/entry_fields.h"
#include "model/problem_model.h"
#include "script_environment.h"

namespace quon::cli {

// Exit codes of the fit mode.
enum ExitCode : int {
  ExitSuccess = 0,
  ExitUsage = 2,        // bad arguments
  ExitFile = 3,         // a pair that cannot be read, is malformed, or cannot be written
  ExitScriptError = 4,  // a script error ended the fit, a constant failed, or the function
                        // failed at the --eval point
  ExitSingular = 5,     // the fit met a singular system
  ExitNotFittable = 6,  // the problem cannot be fitted (a grid too large), or the
                        // approximation overflows at the --eval point
};

struct FitModeOptions {
  std::string File;
  std::string Output;  // -o OUT, or FILE itself with --save; empty: no writing
  bool Report = false;
  bool Eval = false;
  std::vector<std::string> EvalTexts;  // one per variable
};

// The options from the arguments after the program's name, or nullopt after a message on
// `err` when they are not usable.
std::optional<FitModeOptions> ParseFitArguments(const std::vector<std::string>& args,
                                                std::FILE* err);

// "quonfit: <text>" on `err`.
void Message(std::FILE* err, const std::string& text);

// Whether `option` is one of the arguments.
bool HasOption(const std::vector<std::string>& args, const std::string& option);

// What a fit that did not succeed leaves for the user: the singular-matrix line on `out`,
// or a message on `err` naming `file`. Returns the exit code (ExitSuccess after success).
int ReportFitFailure(const ComputeOutcome& outcome, const std::string& file, std::FILE* out,
                     std::FILE* err);

// Opens the pair FILE and FILE.str as Open does. ExitSuccess, or ExitFile after a message
// on `err`.
int OpenPair(const std::string& file, ProblemModel& model, EntryFields& fields, std::FILE* err);

// Fits as Compute does and, when `output` is not empty, writes the pair with the results
// there. ExitSuccess, or the exit code after the failure's report (ReportFitFailure).
int FitAndSave(ProblemModel& model, const EntryFields& fields, ScriptEnvironment& engine,
               const std::string& file, const std::string& output, std::FILE* out, std::FILE* err);

// Opens the pair `file` and makes sure the model holds results: those the file stores
// (the user constants then go to the engine), or else a fit as the listing makes it.
// Returns ExitSuccess, or the exit code after the message (see ReportFitFailure).
int OpenWithResults(const std::string& file, ProblemModel& model, EntryFields& fields,
                    ScriptEnvironment& engine, std::FILE* out, std::FILE* err);

// Runs the mode; returns the exit code. Results go to `out`, messages to `err`.
int RunFitMode(const FitModeOptions& options, std::FILE* out, std::FILE* err);

// The lines of quonfit --help that describe the fit mode.
const char* FitModeHelp();

}  // namespace quon::cli
