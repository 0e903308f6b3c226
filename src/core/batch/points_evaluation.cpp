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

}  // namespace

PointsRunSummary EvaluatePoints(const ProblemModel& model, PointFunctionSource& function,
                                const PointsTable& points,
                                const std::function<void(std::string_view)>& sink,
                                const PointsProgress& progress) {
  ApproximationKernel kernel(model);
  const std::unique_ptr<PointFunction> evaluator = function.NewEvaluator();
  const int variables = points.Variables;
  const auto width = static_cast<std::size_t>(variables);
  PointsRunSummary summary;
  const int64_t total = points.Rows();
  std::string text = HeaderLine(model, variables);
  std::vector<double> values(static_cast<std::size_t>(PointsBlockRows));
  std::vector<int32_t> errors(values.size());
  for (int64_t start = 0; start < total; start += PointsBlockRows) {
    if (progress && !progress(start, total)) {
      summary.Cancelled = true;
      return summary;
    }
    const int64_t end = std::min(total, start + PointsBlockRows);
    const auto rows = static_cast<std::size_t>(end - start);
    const double* first = points.Coordinates.data() + static_cast<std::size_t>(start) * width;
    evaluator->Values(first, width, rows, values.data(), errors.data());
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
    summary.Rows = end;
    sink(text);
    text.clear();
  }
  if (total == 0) sink(text);
  if (progress) progress(total, total);
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
