// The accuracy check against the fit it follows, on the default problem (four variables of
// ten power terms on -5..5, "x^2*sin(y)+4*cos(z)-t"): the check must add at most a fifth of
// the fit's time. BM_Fit is the whole Compute road; BM_Check everything the program does
// after a successful fit (compiling the source, the conditioning estimate, the check).
#include <benchmark/benchmark.h>

#include "core/eval/accuracy_check.h"
#include "core/eval/script_point_function.h"
#include "core/fit/compute_command.h"

namespace quon {
namespace {

struct Problem {
  ProblemModel model;
  EntryFields fields;
};

Problem DefaultProblem(int variables, const char* terms) {
  Problem p;
  p.model.AllocatePerVariableArrays();
  p.model.LastVar = variables - 1;
  p.model.VarName = {"x", "y", "z", "t"};
  p.model.VarName.resize(static_cast<std::size_t>(variables));
  p.fields.Variables.resize(static_cast<std::size_t>(variables));
  for (VariableFields& v : p.fields.Variables) v.Terms = terms;
  return p;
}

void BM_Fit(benchmark::State& state) {
  Problem p = DefaultProblem(4, "10");
  ScriptEnvironment engine;
  for (auto _ : state) {
    const ComputeOutcome outcome = RunCompute(p.model, p.fields, engine);
    benchmark::DoNotOptimize(outcome.Status);
  }
}
BENCHMARK(BM_Fit)->Unit(benchmark::kMillisecond);

void BM_Check(benchmark::State& state) {
  Problem p = DefaultProblem(4, "10");
  ScriptEnvironment engine;
  if (RunCompute(p.model, p.fields, engine).Status != ComputeStatus::Success) {
    state.SkipWithError("the fit failed");
    return;
  }
  int64_t points = 0;
  for (auto _ : state) {
    ScriptPointFunctionSource source(engine, p.model.Equation, p.model.VarName);
    const AccuracyResult result = CheckAccuracy(p.model, source);
    points = result.CheckPoints;
    benchmark::DoNotOptimize(result.MaxAbsDiff);
  }
  state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond);

// The parts of the check on their own: the function at the points on one thread, and the
// conditioning estimate.
void BM_CheckOneThread(benchmark::State& state) {
  Problem p = DefaultProblem(4, "10");
  ScriptEnvironment engine;
  if (RunCompute(p.model, p.fields, engine).Status != ComputeStatus::Success) {
    state.SkipWithError("the fit failed");
    return;
  }
  // A source that refuses threads, wrapping the script one.
  class Serial final : public PointFunctionSource {
   public:
    explicit Serial(PointFunctionSource& inner) : inner_(inner) {}
    std::unique_ptr<PointFunction> NewEvaluator() override { return inner_.NewEvaluator(); }
    bool ThreadSafe() const override { return false; }

   private:
    PointFunctionSource& inner_;
  };
  for (auto _ : state) {
    ScriptPointFunctionSource source(engine, p.model.Equation, p.model.VarName);
    Serial serial(source);
    benchmark::DoNotOptimize(CheckAccuracy(p.model, serial).MaxAbsDiff);
  }
}
BENCHMARK(BM_CheckOneThread)->Unit(benchmark::kMillisecond);

void BM_Conditioning(benchmark::State& state) {
  Problem p = DefaultProblem(4, "10");
  ScriptEnvironment engine;
  (void)RunCompute(p.model, p.fields, engine);
  for (auto _ : state) benchmark::DoNotOptimize(CheckConditioning(p.model).size());
}
BENCHMARK(BM_Conditioning)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quon

BENCHMARK_MAIN();
