// Chebyshev terms, measured against our power terms in the same run: the whole fit of the
// default function "x^2*sin(y)+4*cos(z)-t" over four variables on [-5, 5] (constants,
// gathering, sampling through the script engine, the solve along each variable) on 4 x 17
// up to 4 x 65 nodes of either kind, the power fit of 4 x 40 nodes as the figure to beat,
// and the solve alone (cosine transforms against eliminations) on the same samples. The
// counter ns_per_node is the wall time per grid node. Then the term search on the issue's
// functions of one variable and on the four-variable problem, all with Chebyshev terms;
// "terms" is the largest count it suggests. bench/chebyshev_peer.py times NumPy's
// numpy.polynomial.chebyshev on the same sizes, and bench/compare_chebyshev.sh runs both.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "core/advisor/advisor_problem.h"
#include "core/advisor/term_advisor.h"
#include "core/fit/compute_command.h"
#include "core/fit/fit_driver.h"
#include "engine/script_environment.h"

namespace quon {
namespace {

EntryFields Fields(const std::string& equation, int variables, int terms, bool chebyshev,
                   const char* lower, const char* upper) {
  EntryFields fields;
  fields.Equation = equation;
  fields.Variables.resize(static_cast<std::size_t>(variables));
  for (VariableFields& v : fields.Variables) {
    v = {lower, upper, "*", "*", std::to_string(terms), true, chebyshev};
  }
  return fields;
}

ProblemModel Named(int variables) {
  ProblemModel model;
  model.AllocatePerVariableArrays();
  model.LastVar = variables - 1;
  model.VarName = {"x", "y", "z", "t"};
  model.VarName.resize(static_cast<std::size_t>(variables));
  return model;
}

void PerNode(benchmark::State& state, const ProblemModel& model) {
  const auto nodes = static_cast<double>(model.Coef.size());
  state.counters["nodes"] = nodes;
  state.counters["ns_per_node"] =
      benchmark::Counter(nodes * static_cast<double>(state.iterations()) * 1e-9,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Arguments: terms per variable, 1 for Chebyshev terms. Every fit takes its coefficient
// array fresh from the system, as the first Compute of a run does: otherwise the C
// library hands a grid of up to 32 MB (4 x 40) the pages of the last fit again, already
// mapped, while a larger one is mapped anew each time, and on this virtual machine the
// first touch of a page costs about a quarter of the whole fit.
void BM_WholeFit(benchmark::State& state) {
  const EntryFields fields = Fields("x^2*sin(y)+4*cos(z)-t", 4, static_cast<int>(state.range(0)),
                                    state.range(1) != 0, "-5", "5");
  ProblemModel model = Named(4);
  ScriptEnvironment engine;
  for (auto _ : state) {
    state.PauseTiming();
    model.Coef = CoefArray();
    malloc_trim(0);
    state.ResumeTiming();
    if (RunCompute(model, fields, engine).Status != ComputeStatus::Success) {
      state.SkipWithError("fit failed");
    }
  }
  PerNode(state, model);
}
BENCHMARK(BM_WholeFit)
    ->ArgsProduct({{17, 33, 65}, {0, 1}})
    ->Args({40, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(false);

// The figure: Chebyshev 4 x 65 against power 4 x 40, fitted by turns so that both
// meet the same load on a shared machine; the best of three rounds of each, per node.
void BM_Chebyshev65AgainstPower40(benchmark::State& state) {
  const EntryFields power = Fields("x^2*sin(y)+4*cos(z)-t", 4, 40, false, "-5", "5");
  const EntryFields chebyshev = Fields("x^2*sin(y)+4*cos(z)-t", 4, 65, true, "-5", "5");
  ProblemModel model = Named(4);
  ScriptEnvironment engine;
  const auto perNode = [&](const EntryFields& fields) {
    model.Coef = CoefArray();
    malloc_trim(0);
    const auto start = std::chrono::steady_clock::now();
    RunCompute(model, fields, engine);
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / static_cast<double>(model.Coef.size());
  };
  double bestPower = 1e300, bestChebyshev = 1e300;
  for (auto _ : state) {
    for (int round = 0; round < 3; ++round) {
      bestPower = std::min(bestPower, perNode(power));
      bestChebyshev = std::min(bestChebyshev, perNode(chebyshev));
    }
  }
  state.counters["power40_ns_per_node"] = bestPower;
  state.counters["chebyshev65_ns_per_node"] = bestChebyshev;
  state.counters["chebyshev_over_power"] = bestChebyshev / bestPower;
}
BENCHMARK(BM_Chebyshev65AgainstPower40)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// One variable: the Runge function on [-1, 1], the whole fit with n Chebyshev terms.
void BM_OneVariableFit(benchmark::State& state) {
  const EntryFields fields =
      Fields("1/(1+25*x^2)", 1, static_cast<int>(state.range(0)), true, "-1", "1");
  ProblemModel model = Named(1);
  ScriptEnvironment engine;
  for (auto _ : state) {
    if (RunCompute(model, fields, engine).Status != ComputeStatus::Success) {
      state.SkipWithError("fit failed");
    }
  }
  PerNode(state, model);
}
BENCHMARK(BM_OneVariableFit)->Arg(17)->Arg(65)->Arg(257)->Arg(1025)->UseRealTime();

// The solve alone, on samples taken once.
void BM_SolveOnly(benchmark::State& state) {
  const EntryFields fields = Fields("x^2*sin(y)+4*cos(z)-t", 4, static_cast<int>(state.range(0)),
                                    state.range(1) != 0, "-5", "5");
  ProblemModel model = Named(4);
  ScriptEnvironment engine;
  RunCompute(model, fields, engine);
  const CoefArray samples = model.Coef;  // coefficients, but as good as samples to time
  for (auto _ : state) {
    state.PauseTiming();
    model.Coef = samples;
    state.ResumeTiming();
    benchmark::DoNotOptimize(SolveSamples(model));
  }
  PerNode(state, model);
}
BENCHMARK(BM_SolveOnly)
    ->ArgsProduct({{17, 33, 65}, {0, 1}})
    ->Args({40, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

struct SearchCase {
  const char* equation;
  int variables;
  double tolerance;
};

const SearchCase kSearches[] = {
    {"Exp(x)", 1, 1e-13},   {"1/(1+25*x^2)", 1, 1e-13},          {"Cos(20*x)", 1, 1e-12},
    {"Abs(x)^3", 1, 1e-12}, {"x^2*sin(y)+4*cos(z)-t", 4, 1e-12},
};

void BM_SuggestChebyshev(benchmark::State& state) {
  const SearchCase& c = kSearches[state.range(0)];
  const bool four = c.variables == 4;
  const EntryFields fields =
      Fields(c.equation, c.variables, 2, true, four ? "-5" : "-1", four ? "5" : "1");
  const ProblemModel model = Named(c.variables);
  ScriptEnvironment engine;
  TermAdvice advice;
  for (auto _ : state) {
    AdvisorProblem problem = PrepareAdvisorProblem(model, fields, engine);
    AdvisorOptions options;
    options.Tolerance = c.tolerance;
    options.MaxTerms = 0;
    advice = SuggestTerms(std::move(problem.Model), *problem.Function, options);
  }
  int32_t most = 0;
  for (const int32_t n : advice.Best.Terms) most = std::max(most, n);
  state.SetLabel(std::string(c.equation) +
                 (advice.Status == AdviceStatus::Reached ? " reached" : " unreachable"));
  state.counters["terms"] = most;
  state.counters["error"] = advice.Best.MaxAbsDiff;
  state.counters["fits"] = advice.EvaluatedFits;
}
BENCHMARK(BM_SuggestChebyshev)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quon

BENCHMARK_MAIN();
