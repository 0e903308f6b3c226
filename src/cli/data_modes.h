// quonfit's modes that fit without sampling the function: --nodes (the grid's nodes, for
// values computed elsewhere), --values (those values fitted as Compute fits samples) and
// --fit-data (least squares on a table of observations, with --stats for its diagnostics).
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"

namespace quon::cli {

enum class DataMode { Nodes, Values, FitData };

struct DataOptions {
  DataMode Mode = DataMode::Nodes;
  std::string File;
  std::string Output;  // -o OUT; empty: the standard output
  std::string Table;   // --values or --fit-data
  std::optional<std::string> Weights;
  bool Stats = false;
  bool Json = false;  // the diagnostics as one JSON object (with --stats and -o)
};

// Whether the arguments ask for one of these modes.
bool WantsDataMode(const std::vector<std::string>& args);

// The options, or nullopt after a message on `err`.
std::optional<DataOptions> ParseDataArguments(const std::vector<std::string>& args, std::FILE* err);

int RunDataMode(const DataOptions& options, std::FILE* out, std::FILE* err);

int RunNodesMode(const DataOptions& options, std::FILE* out, std::FILE* err);
int RunValuesMode(const DataOptions& options, std::FILE* out, std::FILE* err);
int RunFitDataMode(const DataOptions& options, std::FILE* out, std::FILE* err);

// After a fit from data or values: the pair written to -o, or else the listing; then the
// statistics lines when asked for. ExitSuccess or the exit code after a message.
int WriteDataFitResults(const DataOptions& options, ProblemModel& model, const EntryFields& fields,
                        std::FILE* out, std::FILE* err);

const char* DataModeHelp();

}  // namespace quon::cli
