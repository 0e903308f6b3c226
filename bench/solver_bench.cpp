// Speed of the per-variable elimination on four-variable grids of 24, 40 and 48 terms per
// variable (331,776, 2,560,000 and 5,308,416 coefficients), samples of a smooth function.
//
// BM_OneThreadBeforeAndAfter runs the solver as it was before the lane-block kernels
// (solver_before.cpp) and the solver of today, both on one thread, alternately on the same
// samples in each iteration: speedup is the ratio of their processor times, and
// arith_fraction today's multiply-adds per second over the peak of separate vector
// multiplies and adds that this processor reaches in registers (BM_MultiplyAddPeak).
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
#include <functional>
#include <vector>

#include "core/fit/basis.h"
#include "core/fit/solver.h"
#include "core/model/node_geometry.h"
#include "core/model/problem_model.h"
#include "solver_before.h"

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

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
BENCHMARK(BM_SolveAllDimensions)
    ->Arg(24)
    ->Arg(40)
    ->Arg(48)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_SolveOneDimension(benchmark::State& state) {
  const auto k = static_cast<int>(state.range(1));
  RunSolver(state, k, k);
}
BENCHMARK(BM_SolveOneDimension)
    ->ArgsProduct({{48}, {0, 1, 2, 3}})
    ->ArgNames({"n", "dim"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Multiply-adds per second in registers: independent sums of products, each product and
// sum a separate vector instruction as in the solver, on the solver's widest vectors.
typedef double Lanes8 __attribute__((vector_size(64)));

template <typename Vec>
__attribute__((always_inline)) inline double PeakLoop(long rounds, const double* factors) {
  constexpr int kChains = 12;
  Vec sum[kChains];
  Vec x[kChains];
  for (int c = 0; c < kChains; ++c) {
    sum[c] = Vec{} + 0.0;
    x[c] = Vec{} + (1.0 + 1e-9 * c);
  }
  asm volatile("" : "+m"(x));  // lanes the compiler cannot see alike
  for (long i = 0; i < rounds; ++i) {
    const double a = factors[i & 15];  // a fresh factor each round: no product is hoisted
    for (int c = 0; c < kChains; ++c) sum[c] = sum[c] + a * x[c];
  }
  double total = 0.0;
  for (int c = 0; c < kChains; ++c) total += sum[c][0];
  return total;
}

#if defined(__x86_64__)
__attribute__((target("avx512f"))) double PeakAvx512(long rounds, const double* factors) {
  return PeakLoop<Lanes8>(rounds, factors);
}
#endif

double MultiplyAddsPerSecond() {
  static const double rate = [] {
    const long rounds = 20000000;
    std::vector<double> factors(16);
    for (std::size_t i = 0; i < factors.size(); ++i) factors[i] = 1e-12 * static_cast<double>(i);
    double best = 0.0;
    for (int run = 0; run < 3; ++run) {
      const double start = ThreadCpuSeconds();
#if defined(__x86_64__)
      const bool wide = quon::BestLaneIsa() == quon::LaneIsa::Avx512;
      benchmark::DoNotOptimize(wide ? PeakAvx512(rounds, factors.data())
                                    : PeakLoop<Lanes8>(rounds, factors.data()));
#else
      benchmark::DoNotOptimize(PeakLoop<Lanes8>(rounds, factors.data()));
#endif
      best =
          std::max(best, 12.0 * 8.0 * static_cast<double>(rounds) / (ThreadCpuSeconds() - start));
    }
    return best;
  }();
  return rate;
}

void BM_MultiplyAddPeak(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(MultiplyAddsPerSecond());
  state.counters["Gmadd_per_s"] = MultiplyAddsPerSecond() / 1e9;
}
BENCHMARK(BM_MultiplyAddPeak)->Iterations(1);

// Processor seconds of `solve` along every dimension of `coef`, restored from `samples`.
double SolveSeconds(const quon::CoefArray& samples, quon::CoefArray& coef,
                    const std::vector<quon::BasisMatrix>& matrices,
                    const std::function<void(quon::BasisMatrix&, int)>& solve) {
  std::copy(samples.data(), samples.data() + samples.size(), coef.data());
  const double start = ThreadCpuSeconds();
  for (int k = 0; k < 4; ++k) {
    quon::BasisMatrix m = matrices[static_cast<std::size_t>(k)];
    solve(m, k);
  }
  return ThreadCpuSeconds() - start;
}

void BM_OneThreadBeforeAndAfter(benchmark::State& state) {
  const auto n = static_cast<int32_t>(state.range(0));
  const quon::ProblemModel sampled = SampledModel(n);
  quon::CoefArray coef = sampled.Coef;
  std::vector<quon::BasisMatrix> matrices;
  for (int k = 0; k < 4; ++k) matrices.push_back(quon::BuildBasisMatrix(sampled, k));
  double before = 1e30;
  double after = 1e30;
  quon::SolveOptions oneThread;
  oneThread.threads = 1;
  for (auto _ : state) {
    before = std::min(before, SolveSeconds(sampled.Coef, coef, matrices, [&](auto& m, int k) {
                        quon::bench::SolveAlongDimensionBefore(m, coef, k);
                      }));
    after = std::min(after, SolveSeconds(sampled.Coef, coef, matrices, [&](auto& m, int k) {
                       quon::SolveAlongDimension(m, coef, k, oneThread);
                     }));
  }
  const double madds = 4.0 * (n - 1.0) * static_cast<double>(coef.size());
  state.counters["before_ms"] = before * 1e3;
  state.counters["after_ms"] = after * 1e3;
  state.counters["speedup"] = before / after;
  state.counters["ns_per_madd"] = after * 1e9 / madds;
  state.counters["arith_fraction"] = madds / after / MultiplyAddsPerSecond();
  state.counters["bw_fraction"] =
      4.0 * 16.0 * static_cast<double>(coef.size()) / after / TriadBytesPerSecond();
}
BENCHMARK(BM_OneThreadBeforeAndAfter)->Arg(24)->Arg(40)->Arg(48)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
