// The term advisor on the default problem (four variables on -5..5 of power terms,
// "x^2*sin(y)+4*cos(z)-t") to a largest difference of 1E-03, beside one fit of the size
// it suggests: the search should cost no more than a few dozen such fits. The counter
// "fits" is the number of fits the search made.
#include <benchmark/benchmark.h>

#include "core/advisor/advisor_problem.h"
#include "core/advisor/term_advisor.h"
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
  return p;
}

TermAdvice Suggest(Problem& p, ScriptEnvironment& engine) {
  AdvisorProblem problem = PrepareAdvisorProblem(p.model, p.fields, engine);
  AdvisorOptions options;
  options.Tolerance = 1e-3;
  return SuggestTerms(std::move(problem.Model), *problem.Function, options);
}

void BM_SuggestDefaultProblem(benchmark::State& state) {
  Problem p = DefaultProblem();
  ScriptEnvironment engine;
  int32_t fits = 0;
  for (auto _ : state) fits = Suggest(p, engine).EvaluatedFits;
  state.counters["fits"] = fits;
}
BENCHMARK(BM_SuggestDefaultProblem)->Unit(benchmark::kMillisecond);

void BM_FitOfTheSuggestedSize(benchmark::State& state) {
  Problem p = DefaultProblem();
  ScriptEnvironment engine;
  const TermAdvice advice = Suggest(p, engine);
  for (std::size_t k = 0; k < advice.Best.Terms.size(); ++k) {
    p.fields.Variables[k].Terms = std::to_string(advice.Best.Terms[k]);
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(RunCompute(p.model, p.fields, engine).Status);
  }
}
BENCHMARK(BM_FitOfTheSuggestedSize)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quon

BENCHMARK_MAIN();
