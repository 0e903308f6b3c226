// quonfit FILE --eval-file on the default problem ("x^2*sin(y)+4*cos(z)-t", four power
// variables of 10 terms on [-5, 5], 10^4 coefficients): a million random points read from
// CSV text, the function through the script engine and the approximation through the
// kernel at each, and the output table made, all on one thread. The figure to watch is
// points_per_minute, which must stay above a million. Also the kernel alone, beside the
// evaluator it matches bit for bit.
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <string>

#include "core/batch/points_evaluation.h"
#include "core/eval/approximation_kernel.h"
#include "core/eval/evaluator.h"
#include "core/eval/script_point_function.h"
#include "core/fit/compute_command.h"
#include "engine/number_text.h"
#include "engine/script_environment.h"

namespace {

struct FittedDefault {
  quon::ProblemModel Model;
  quon::ScriptEnvironment Engine;
  FittedDefault() {
    Model.LastVar = 3;
    Model.AllocatePerVariableArrays();
    Model.VarName = {"x", "y", "z", "t"};
    quon::EntryFields fields;
    fields.Variables.resize(4);
    if (quon::RunCompute(Model, fields, Engine).Status != quon::ComputeStatus::Success) {
      throw std::runtime_error("the default problem did not fit");
    }
  }
};

std::string PointsText(int64_t points) {
  std::mt19937 random(1);
  std::uniform_real_distribution<double> coordinate(-5.0, 5.0);
  std::string text = "x,y,z,t\n";
  for (int64_t i = 0; i < points; ++i) {
    for (int k = 0; k < 4; ++k) {
      text += quon::RoundTripText(coordinate(random)) + (k < 3 ? "," : "\n");
    }
  }
  return text;
}

void BM_EvalFileDefaultProblem(benchmark::State& state) {
  FittedDefault fit;
  const int64_t points = state.range(0);
  const std::string input = PointsText(points);
  quon::ScriptPointFunctionSource function(fit.Engine, fit.Model.Equation, fit.Model.VarName);
  std::size_t bytes = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    const quon::PointsTable table = quon::ParsePoints(input, fit.Model.VarName, "points.csv");
    quon::EvaluatePoints(fit.Model, function, table,
                         [&](std::string_view text) { bytes += text.size(); });
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  benchmark::DoNotOptimize(bytes);
  const double done = static_cast<double>(points) * static_cast<double>(state.iterations());
  state.counters["points_per_minute"] = done * 60.0 / elapsed.count();
}
BENCHMARK(BM_EvalFileDefaultProblem)
    ->Arg(1000000)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

void BM_KernelAtPoint(benchmark::State& state) {
  FittedDefault fit;
  quon::ApproximationKernel kernel(fit.Model);
  const std::vector<double> point = {1.25, -2.5, 3.75, 0.5};
  for (auto _ : state) benchmark::DoNotOptimize(kernel.At(point));
}
BENCHMARK(BM_KernelAtPoint);

void BM_EvaluatorAtPoint(benchmark::State& state) {
  FittedDefault fit;
  const std::vector<double> point = {0.0, 1.25, 2.5, 3.75};
  for (auto _ : state) benchmark::DoNotOptimize(quon::Evaluate(fit.Model, point));
}
BENCHMARK(BM_EvaluatorAtPoint);

}  // namespace

BENCHMARK_MAIN();
