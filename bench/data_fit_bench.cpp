// The fit on data from memory (no table to parse): scattered observations of a smooth
// function of 2 variables with N x N power terms, through the tall-skinny QR and the
// refinement passes; and the same number of observations on a full grid, through the
// tensor structure. The peer (NumPy's lstsq) is run beside quonfit by data_fit_peer.sh.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "core/datafit/data_fit.h"
#include "core/model/gather_specs.h"

namespace {

quon::ProblemModel TwoVariables(int terms) {
  quon::ProblemModel model;
  model.LastVar = 1;
  model.AllocatePerVariableArrays();
  model.VarName = {"x", "y"};
  quon::EntryFields fields;
  fields.Variables.resize(2);
  for (quon::VariableFields& v : fields.Variables) {
    v.LowerLimit = "-1";
    v.UpperLimit = "1";
    v.Terms = std::to_string(terms);
  }
  quon::GatherSpecs(model, fields);
  return model;
}

quon::DataBlock Observations(int64_t count, bool grid) {
  quon::DataBlock data;
  std::mt19937 random(3);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  const auto side = static_cast<int64_t>(std::sqrt(static_cast<double>(count)));
  for (int64_t i = 0; i < count; ++i) {
    const double x =
        grid ? -1.0 + 2.0 * static_cast<double>(i % side) / static_cast<double>(side - 1)
             : uniform(random);
    const double y =
        grid ? -1.0 + 2.0 * static_cast<double>(i / side) / static_cast<double>(side - 1)
             : uniform(random);
    data.Coordinates.insert(data.Coordinates.end(), {x, y});
    data.Values.push_back(std::exp(x) * std::cos(2.0 * y));
  }
  return data;
}

void BM_FitScattered(benchmark::State& state) {
  const auto terms = static_cast<int>(state.range(0));
  quon::MemoryDataSource source(2, Observations(state.range(1), false));
  for (auto _ : state) {
    quon::ProblemModel model = TwoVariables(terms);
    quon::FitData(model, source, "memory");
    benchmark::DoNotOptimize(model.Coef.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(1));
}
BENCHMARK(BM_FitScattered)->Args({10, 100000})->Args({20, 100000})->Unit(benchmark::kMillisecond);

void BM_FitGrid(benchmark::State& state) {
  const auto terms = static_cast<int>(state.range(0));
  quon::MemoryDataSource source(2, Observations(state.range(1), true));
  for (auto _ : state) {
    quon::ProblemModel model = TwoVariables(terms);
    quon::FitData(model, source, "memory");
    benchmark::DoNotOptimize(model.Coef.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(1));
}
BENCHMARK(BM_FitGrid)->Args({20, 99856})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
