// The steps the modes share: opening a specification file pair as Open does, fitting as
// Compute does, and reporting a fit that did not succeed.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "core/fit/compute_command.h"
#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"
#include "engine/script_environment.h"

namespace quon::cli {

// ExitSuccess, or ExitUsage after a message when one of `outputs` is one of `inputs` (the
// same existing file, compared by device and inode): writing it would destroy an input.
int RefuseOutputOverInput(const std::vector<std::string>& outputs,
                          const std::vector<std::string>& inputs, std::FILE* err);

// Opens the pair FILE and FILE.str as Open does. ExitSuccess, or ExitFile after a message
// on `err`.
int OpenPair(const std::string& file, ProblemModel& model, EntryFields& fields, std::FILE* err);

// RunCompute with progress on `err` when the fit is long: after the sampling, the
// eliminations' estimated time, then a line per variable solved.
ComputeOutcome FitFile(ProblemModel& model, const EntryFields& fields, ScriptEnvironment& engine,
                       const std::string& file, std::FILE* err);

// What a fit that did not succeed leaves for the user: the singular-matrix line on `out`,
// or a message on `err` naming `file`. Returns the exit code (ExitSuccess after success).
int ReportFitFailure(const ComputeOutcome& outcome, const std::string& file, std::FILE* out,
                     std::FILE* err);

// After a fit: its failure reported, or its pair written to `output` when that is not
// empty. ExitSuccess, or the exit code after the message.
int SaveFit(const ComputeOutcome& outcome, ProblemModel& model, const EntryFields& fields,
            const std::string& file, const std::string& output, std::FILE* out, std::FILE* err);

// Fits as Compute does, then SaveFit.
int FitAndSave(ProblemModel& model, const EntryFields& fields, ScriptEnvironment& engine,
               const std::string& file, const std::string& output, std::FILE* out, std::FILE* err);

// Opens the pair `file` and makes sure the model holds results: those the file stores
// (the user constants then go to the engine), or else a fit as the listing makes it.
// Returns ExitSuccess, or the exit code after the message (see ReportFitFailure).
int OpenWithResults(const std::string& file, ProblemModel& model, EntryFields& fields,
                    ScriptEnvironment& engine, std::FILE* out, std::FILE* err);

}  // namespace quon::cli
