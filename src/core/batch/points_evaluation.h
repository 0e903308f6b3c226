// Function and approximation at every point of a points table, written as a CSV table:
// a header (the variables' names, "function", "approximation", "difference"), then per
// point its coordinates, the two values and function minus approximation, each number in
// the shortest text that reads back exactly. A value that cannot be had keeps its row:
// the field says "error N" with the error number (the function failing, the approximation
// overflowing), and the difference stays empty.
//
// Runs on the calling thread, in blocks of rows; between blocks it reports progress and
// may be cancelled. Cost per point: one evaluation of the function through its compiled
// program and one multiply-add per coefficient (approximation_kernel.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/batch/points_table.h"
#include "core/eval/point_function.h"
#include "core/model/problem_model.h"

namespace quon {

struct PointsRunSummary {
  int64_t Rows = 0;
  int64_t FunctionFailures = 0;
  int64_t ApproximationFailures = 0;
  bool Cancelled = false;
};

// Called between blocks with the rows done and the rows in all; returning false cancels.
using PointsProgress = std::function<bool(int64_t done, int64_t total)>;

// Rows per block between two progress calls.
inline constexpr int64_t PointsBlockRows = 4096;

// Hands the output text to `sink` block by block. The model must hold results; `function`
// takes the coordinates in the variables' order. Throws std::logic_error without results.
PointsRunSummary EvaluatePoints(const ProblemModel& model, PointFunctionSource& function,
                                const PointsTable& points,
                                const std::function<void(std::string_view)>& sink,
                                const PointsProgress& progress = {});

// The points file at `pointsPath` evaluated as EvaluatePoints does, read twice in blocks
// (ReadPointsBlocks): once to check every row, so that a bad row costs no output, once to
// evaluate. Memory holds one block, whatever the size of the file. Throws PointsFileError.
PointsRunSummary EvaluatePointsFile(const ProblemModel& model, PointFunctionSource& function,
                                    const std::string& pointsPath,
                                    const std::vector<std::string>& names,
                                    const std::function<void(std::string_view)>& sink);

// Writes the output to `outPath` under a temporary name renamed into place at the end, so
// that a failure or a cancel leaves no file (and an older file at outPath as it was).
// Throws SpecFileError when the file cannot be written.
PointsRunSummary EvaluatePointsToFile(const ProblemModel& model, PointFunctionSource& function,
                                      const PointsTable& points, const std::string& outPath,
                                      const PointsProgress& progress = {});

}  // namespace quon
