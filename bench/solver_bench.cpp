// Speed of the per-variable elimination on four-variable grids of 24 and 48 terms per
// variable (331,776 and 5,308,416 coefficients), samples of a smooth function.
//
// Counters: ns_per_madd is the time per multiply-add on Coef (n (n - 1) per line and
// dimension: half in the elimination, half in the back substitution; the n^3/3 on the
// matrix are left out). coef_GBps is the traffic the solver really needs, one read and one
// write of Coef per dimension, and bw_fraction that rate over the machine's streaming
// bandwidth measured by a triad (a = b + s c) over arrays far larger than the caches.
// axpy_GBps is the rate that streaming every row operation "slice r -= f slice p" through
// memory would need (24 bytes per multiply-add): above the triad's rate means the solver
// does better than any streaming formulation could. The counters rest on the process's
// processor time, not the wall clock, so that other work on a shared machine does not
// count against the solver; the Time column is the wall clock.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <vector>

#include "core/fit/basis.h"
#include "core/fit/solver.h"
#include "core/model/node_geometry.h"
#include "core/model/problem_model.h"

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// A model of four power variables on [-1, 1] with n terms each, and Coef holding the
// samples of a smooth function.
quon::ProblemModel SampledModel(int32_t n) {
  quon::ProblemModel model;
  model.LastVar = 3;
  for (std::size_t k = 0; k < 4; ++k) {
    model.LastTerm[k] = n - 1;
    model.LowerLimit[k] = -1.0;
    model.UpperLimit[k] = 1.0;
  }
  const double step = quon::VariableGeometry(model, 0).NodeStep;
  model.Coef.Allocate(model.LastTerm);
  for (int32_t i3 = 0; i3 < n; ++i3)
    for (int32_t i2 = 0; i2 < n; ++i2)
      for (int32_t i1 = 0; i1 < n; ++i1)
        for (int32_t i0 = 0; i0 < n; ++i0) {
          const double x = -1.0 + i0 * step, y = -1.0 + i1 * step;
          const double z = -1.0 + i2 * step, t = -1.0 + i3 * step;
          model.Coef(i0, i1, i2, i3) = std::exp(0.5 * x) * std::cos(y + z) + t * t * x;
        }
  return model;
}

// Streaming bandwidth of this machine in bytes per second: the best of a few triads over
// three arrays of 64 MiB each.
double TriadBytesPerSecond() {
  static const double rate = [] {
    const std::size_t count = std::size_t{8} << 20;
    std::vector<double> a(count, 0.0), b(count, 1.0), c(count, 2.0);
    double best = 0.0;
    for (int run = 0; run < 5; ++run) {
      const double start = CpuSeconds();
      for (std::size_t i = 0; i < count; ++i) a[i] = b[i] + 0.5 * c[i];
      benchmark::DoNotOptimize(a.data());
      const double seconds = CpuSeconds() - start;
      best = std::max(best, 3.0 * 8.0 * static_cast<double>(count) / seconds);
    }
    return best;
  }();
  return rate;
}

void BM_Triad(benchmark::State& state) {
  const std::size_t count = std::size_t{8} << 20;
  std::vector<double> a(count, 0.0), b(count, 1.0), c(count, 2.0);
  for (auto _ : state) {
    for (std::size_t i = 0; i < count; ++i) a[i] = b[i] + 0.5 * c[i];
    benchmark::DoNotOptimize(a.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 24 *
                          static_cast<int64_t>(count));
}
BENCHMARK(BM_Triad)->Unit(benchmark::kMillisecond);

// Solves along the dimensions [first, last] of a freshly sampled grid per iteration.
void RunSolver(benchmark::State& state, int first, int last) {
  const auto n = static_cast<int32_t>(state.range(0));
  const quon::ProblemModel sampled = SampledModel(n);
  quon::CoefArray coef = sampled.Coef;
  std::vector<quon::BasisMatrix> matrices;
  for (int k = 0; k < 4; ++k) matrices.push_back(quon::BuildBasisMatrix(sampled, k));
  double seconds = 0.0;
  for (auto _ : state) {
    std::copy(sampled.Coef.data(), sampled.Coef.data() + sampled.Coef.size(), coef.data());
    const auto start = Clock::now();
    const double cpuStart = CpuSeconds();
    for (int k = first; k <= last; ++k) {
      quon::BasisMatrix m = matrices[static_cast<std::size_t>(k)];
      benchmark::DoNotOptimize(quon::SolveAlongDimension(m, coef, k));
    }
    seconds += CpuSeconds() - cpuStart;
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  const double dims = last - first + 1;
  const double elements = static_cast<double>(coef.size());
  const double madds = dims * (n - 1.0) * elements * static_cast<double>(state.iterations());
  const double bytes = dims * 16.0 * elements * static_cast<double>(state.iterations());
  state.counters["ns_per_madd"] = seconds * 1e9 / madds;
  state.counters["coef_GBps"] = bytes / seconds / 1e9;
  state.counters["bw_fraction"] = bytes / seconds / TriadBytesPerSecond();
  state.counters["axpy_GBps"] = 24.0 * madds / seconds / 1e9;
  state.counters["triad_GBps"] = TriadBytesPerSecond() / 1e9;
}

void BM_SolveAllDimensions(benchmark::State& state) { RunSolver(state, 0, 3); }
BENCHMARK(BM_SolveAllDimensions)->Arg(24)->Arg(48)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SolveOneDimension(benchmark::State& state) {
  const auto k = static_cast<int>(state.range(1));
  RunSolver(state, k, k);
}
BENCHMARK(BM_SolveOneDimension)
    ->ArgsProduct({{48}, {0, 1, 2, 3}})
    ->ArgNames({"n", "dim"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
