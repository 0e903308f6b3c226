// The whole fit of the default function "x^2*sin(y)+4*cos(z)-t" over four power variables
// on [-5, 5] with 10, 24 and 40 terms each (10^4 to 2.56 million grid points): constants,
// gathering, sampling through the script engine and the four eliminations; and the text of
// the pair written with the 2.56 million coefficients of the largest fit.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/fit/compute_command.h"
#include "core/io/spec_file.h"
#include "engine/script_environment.h"

namespace {

quon::EntryFields DefaultProblem(int terms) {
  quon::EntryFields fields;
  fields.Variables.resize(4);
  for (quon::VariableFields& v : fields.Variables) v.Terms = std::to_string(terms);
  return fields;
}

quon::ProblemModel ModelWithNames() {
  quon::ProblemModel model;
  model.LastVar = 3;
  model.AllocatePerVariableArrays();
  model.VarName = {"x", "y", "z", "t"};
  return model;
}

void BM_WholeFit(benchmark::State& state) {
  const int terms = static_cast<int>(state.range(0));
  const quon::EntryFields fields = DefaultProblem(terms);
  quon::ProblemModel model = ModelWithNames();
  quon::ScriptEnvironment engine;
  for (auto _ : state) {
    const quon::ComputeOutcome outcome = quon::RunCompute(model, fields, engine);
    if (outcome.Status != quon::ComputeStatus::Success) state.SkipWithError("fit failed");
    benchmark::DoNotOptimize(model.Coef.data());
  }
  const double samples = static_cast<double>(model.Coef.size());
  state.counters["samples"] = samples;
  state.counters["samples_per_s"] = benchmark::Counter(
      samples * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WholeFit)->Arg(10)->Arg(24)->Arg(40)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WritePairWithCoefficients(benchmark::State& state) {
  const quon::EntryFields fields = DefaultProblem(40);
  quon::ProblemModel model = ModelWithNames();
  quon::ScriptEnvironment engine;
  quon::RunCompute(model, fields, engine);
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("quon_fit_bench_" + std::to_string(::getpid()));
  for (auto _ : state) {
    quon::WriteSpecFile(path.string(), fields, model);
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  state.counters["lines_per_s"] = benchmark::Counter(
      static_cast<double>(model.Coef.size()) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
  std::filesystem::remove(path);
  std::filesystem::remove(path.string() + ".str");
}
BENCHMARK(BM_WritePairWithCoefficients)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
