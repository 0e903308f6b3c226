#include "core/batch/points_evaluation.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
#include <vector>

#include "core/eval/approximation_kernel.h"
#include "core/eval/evaluator.h"
#include "core/export/csv_field.h"
#include "core/io/temporary_file.h"
#include "engine/number_text.h"

namespace quon {
namespace {

std::string HeaderLine(const ProblemModel& model, int variables) {
  std::string line;
  for (int k = 0; k < variables; ++k) {
    line += CsvField(model.VarName[static_cast<std::size_t>(k)]) + ",";
  }
  return line + "function,approximation,difference\n";
}

// The output rows of `points`, handed to `sink` every PointsBlockRows rows after `text`
// (the header, or nothing). Rows already done before these count in the progress; false
// when the progress cancelled.
bool EvaluateRows(ApproximationKernel& kernel, PointFunction& evaluator, const PointsTable& points,
                  std::string text, const std::function<void(std::string_view)>& sink,
                  const PointsProgress& progress, int64_t before, int64_t total,
                  PointsRunSummary& summary) {
  const auto width = static_cast<std::size_t>(points.Variables);
  const int64_t rowsHere = points.Rows();
  std::vector<double> values(static_cast<std::size_t>(PointsBlockRows));
  std::vector<int32_t> errors(values.size());
  for (int64_t start = 0; start < rowsHere; start += PointsBlockRows) {
    if (progress && !progress(before + start, total)) {
      summary.Cancelled = true;
      return false;
    }
    const int64_t end = std::min(rowsHere, start + PointsBlockRows);
    const auto rows = static_cast<std::size_t>(end - start);
    const double* first = points.Coordinates.data() + static_cast<std::size_t>(start) * width;
    evaluator.Values(first, width, rows, values.data(), errors.data());
    for (std::size_t i = 0; i < rows; ++i) {
      const std::span<const double> point(first + i * width, width);
      for (double x : point) text += RoundTripText(x) + ",";
      const double value = values[i];
      int32_t error = errors[i];
      if (error == 0 && !std::isfinite(value)) error = EvalOverflow;
      if (error != 0) {
        ++summary.FunctionFailures;
        text += "error " + std::to_string(error) + ",";
      } else {
        text += RoundTripText(value) + ",";
      }
      try {
        const double approximation = kernel.At(point);
        text += RoundTripText(approximation) + ",";
        if (error == 0) text += RoundTripText(value - approximation);
      } catch (const EvaluationError& e) {
        ++summary.ApproximationFailures;
        text += "error " + std::to_string(e.Number) + ",";
      }
      text += '\n';
    }
    summary.Rows = before + end;
    sink(text);
    text.clear();
  }
  if (!text.empty()) sink(text);
  return true;
}

}  // namespace

PointsRunSummary EvaluatePoints(const ProblemModel& model, PointFunctionSource& function,
                                const PointsTable& points,
                                const std::function<void(std::string_view)>& sink,
                                const PointsProgress& progress) {
  ApproximationKernel kernel(model);
  const std::unique_ptr<PointFunction> evaluator = function.NewEvaluator();
  PointsRunSummary summary;
  const int64_t total = points.Rows();
  if (EvaluateRows(kernel, *evaluator, points, HeaderLine(model, points.Variables), sink, progress,
                   0, total, summary) &&
      progress) {
    progress(total, total);
  }
  return summary;
}

PointsRunSummary EvaluatePointsFile(const ProblemModel& model, PointFunctionSource& function,
                                    const std::string& pointsPath,
                                    const std::vector<std::string>& names,
                                    const std::function<void(std::string_view)>& sink) {
  int64_t total = 0;
  ReadPointsBlocks(pointsPath, names, [&](const PointsTable& block) { total += block.Rows(); });
  ApproximationKernel kernel(model);
  const std::unique_ptr<PointFunction> evaluator = function.NewEvaluator();
  PointsRunSummary summary;
  std::string header = HeaderLine(model, static_cast<int>(names.size()));
  ReadPointsBlocks(pointsPath, names, [&](const PointsTable& block) {
    EvaluateRows(kernel, *evaluator, block, std::move(header), sink, {}, summary.Rows, total,
                 summary);
    header.clear();
  });
  if (!header.empty()) sink(header);
  return summary;
}

PointsRunSummary EvaluatePointsToFile(const ProblemModel& model, PointFunctionSource& function,
                                      const PointsTable& points, const std::string& outPath,
                                      const PointsProgress& progress) {
  TemporaryFile file(outPath);
  const PointsRunSummary summary = EvaluatePoints(
      model, function, points, [&](std::string_view text) { file.Write(text.data(), text.size()); },
      progress);
  if (summary.Cancelled) return summary;  // the temporary file goes with `file`
  file.Close();
  file.Commit();
  return summary;
}

}  // namespace quon
