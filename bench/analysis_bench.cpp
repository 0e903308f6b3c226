// The analysis of a fit beside the fit it analyses, on the default problem with 40 power
// terms per variable (2.56 million coefficients, "x^2*sin(y)+4*cos(z)-t" on -5..5): the
// extremes (a scan of 79^4 points and the refinements), the mean, variance and
// sensitivity indices, and the roots along one variable. BM_Fit, the whole Compute road
// of the same problem, is the peer: report each as a ratio to it.
#include <benchmark/benchmark.h>

#include "core/analysis/extrema.h"
#include "core/analysis/roots.h"
#include "core/analysis/variance_decomposition.h"
#include "core/eval/plot_series.h"
#include "core/fit/compute_command.h"

namespace quon {
namespace {

struct Problem {
  ProblemModel model;
  EntryFields fields;
};

Problem DefaultProblem() {
  Problem p;
  p.model.AllocatePerVariableArrays();
  p.model.LastVar = 3;
  p.model.VarName = {"x", "y", "z", "t"};
  p.fields.Variables.resize(4);
  for (VariableFields& v : p.fields.Variables) v.Terms = "40";
  return p;
}

// The problem fitted once for all the analyses.
const ProblemModel& Fitted() {
  static const ProblemModel model = [] {
    Problem p = DefaultProblem();
    ScriptEnvironment engine;
    RunCompute(p.model, p.fields, engine);
    return p.model;
  }();
  return model;
}

void BM_Fit(benchmark::State& state) {
  Problem p = DefaultProblem();
  ScriptEnvironment engine;
  for (auto _ : state) benchmark::DoNotOptimize(RunCompute(p.model, p.fields, engine).Status);
}
BENCHMARK(BM_Fit)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Extrema(benchmark::State& state) {
  const ProblemModel& model = Fitted();
  int64_t points = 0;
  for (auto _ : state) {
    const Extremes found = FindExtremes(model, ProblemBox(model));
    points = found.ScanPoints;
    benchmark::DoNotOptimize(found.Maximum.Value);
  }
  state.counters["scan_points"] = static_cast<double>(points);
}
BENCHMARK(BM_Extrema)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Sensitivity(benchmark::State& state) {
  const ProblemModel& model = Fitted();
  for (auto _ : state) benchmark::DoNotOptimize(DecomposeVariance(model).Variance);
}
BENCHMARK(BM_Sensitivity)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RootsAlongY(benchmark::State& state) {
  const ProblemModel& model = Fitted();
  const std::vector<double> centre = CentrePoint(model);
  for (auto _ : state) benchmark::DoNotOptimize(RootsAlong(model, 1, centre).Roots.size());
}
BENCHMARK(BM_RootsAlongY)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quon

BENCHMARK_MAIN();
