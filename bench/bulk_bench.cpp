// Points per second over blocks of points, on one thread, for three texts: the default
// function, one with user constants and one with the extra functions. On a shared machine
// run the repetitions interleaved (--benchmark_repetitions=9
// --benchmark_enable_random_interleaving=true) and compare the medians. Each text runs as a
// hand-written C++ loop (the ceiling), muparser one point at a time and in its bulk mode
// (run with OMP_NUM_THREADS=1 to keep it on one thread), and our program one point at a
// time and in the bulk form. Then the fit's sampling of the 4 x 40 grid on one thread,
// one point at a time against the bulk form.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "core/fit/script_fit_engine.h"
#include "engine/bulk_code.h"
#include "engine/engine.h"
#include "engine/number_text.h"
#include "engine/script_environment.h"

namespace {

constexpr std::size_t kPoints = 4096;
// Constants that hold Doubles: a whole number reads back as an Integer, which no
// all-double form reads (the text then runs its full code on both paths).
constexpr const char* kConstants = "a = 1.5 : b = -0.75 : c = 2.25 : d = 3.25";
constexpr double a = 1.5, b = -0.75, c = 2.25, d = 3.25;

struct Text {
  const char* name;
  const char* ours;
  const char* muparser;
  double (*hand)(double x, double y, double z, double t);
};

const Text kTexts[] = {
    {"Default", "x^2*sin(y)+4*cos(z)-t", "x^2*sin(y)+4*cos(z)-t",
     [](double x, double y, double z, double t) {
       return x * x * std::sin(y) + 4 * std::cos(z) - t;
     }},
    {"UserConstants", "a*x^2 + b*x*y - c*z/(t+d) + a*b*sqr(t) - exp(-x*a)*atn(y/c)",
     "a*x^2 + b*x*y - c*z/(t+d) + a*b*sqrt(t) - exp(-x*a)*atan(y/c)",
     [](double x, double y, double z, double t) {
       return a * (x * x) + b * x * y - c * z / (t + d) + a * b * std::sqrt(t) -
              std::exp(-x * a) * std::atan(y / c);
     }},
    {"ExtraFunctions", "Tanh(x) + Asinh(y*z) - Sinh(t/4)*x", "tanh(x) + asinh(y*z) - sinh(t/4)*x",
     [](double x, double y, double z, double t) {
       return std::tanh(x) + std::asinh(y * z) - std::sinh(t / 4) * x;
     }},
};

// Every variable changes from one point to the next.
struct Columns {
  std::array<std::vector<double>, 4> v;
  Columns() {
    for (std::size_t i = 0; i < kPoints; ++i) {
      const double s = 1e-3 * static_cast<double>(i & 1023);
      v[0].push_back(0.5 + s);
      v[1].push_back(-1.25 + s);
      v[2].push_back(0.75 - s);
      v[3].push_back(2.0 + s);
    }
  }
};

void Items(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPoints));
}

void HandWritten(benchmark::State& state, const Text& text) {
  const Columns p;
  std::vector<double> out(kPoints);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kPoints; ++i) {
      out[i] = text.hand(p.v[0][i], p.v[1][i], p.v[2][i], p.v[3][i]);
    }
    benchmark::DoNotOptimize(out.data());
  }
  Items(state);
}

void DefineConstants(mu::Parser& parser) {
  parser.DefineConst("a", a);
  parser.DefineConst("b", b);
  parser.DefineConst("c", c);
  parser.DefineConst("d", d);
}

void MuparserPerPoint(benchmark::State& state, const Text& text) {
  const Columns p;
  std::vector<double> out(kPoints);
  mu::Parser parser;
  double x = 0, y = 0, z = 0, t = 0;
  parser.DefineVar("x", &x);
  parser.DefineVar("y", &y);
  parser.DefineVar("z", &z);
  parser.DefineVar("t", &t);
  DefineConstants(parser);
  parser.SetExpr(text.muparser);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kPoints; ++i) {
      x = p.v[0][i], y = p.v[1][i], z = p.v[2][i], t = p.v[3][i];
      out[i] = parser.Eval();
    }
    benchmark::DoNotOptimize(out.data());
  }
  Items(state);
}

void MuparserBulk(benchmark::State& state, const Text& text) {
  Columns p;
  std::vector<double> out(kPoints);
  mu::Parser parser;
  parser.DefineVar("x", p.v[0].data());
  parser.DefineVar("y", p.v[1].data());
  parser.DefineVar("z", p.v[2].data());
  parser.DefineVar("t", p.v[3].data());
  DefineConstants(parser);
  parser.SetExpr(text.muparser);
  for (auto _ : state) {
    parser.Eval(out.data(), static_cast<int>(kPoints));
    benchmark::DoNotOptimize(out.data());
  }
  Items(state);
}

// Our engine as the host prepares it, with the user constants and the variables set.
struct Ours {
  quon::ScriptEnvironment env;
  std::shared_ptr<const quon::script::Program> program;
  std::array<uint32_t, 4> slots{};
  explicit Ours(const Text& text) {
    env.ExecuteStatement(kConstants);
    env.ExecuteStatement("x = 0.5 : y = 0.5 : z = 0.5 : t = 0.5");
    program = env.Engine().CompileExpression(text.ours);
    const char* names[] = {"x", "y", "z", "t"};
    for (std::size_t k = 0; k < 4; ++k) slots[k] = *env.Engine().names().FindVariable(names[k]);
  }
};

void OursPerPoint(benchmark::State& state, const Text& text) {
  using namespace quon::script;
  const Columns p;
  std::vector<double> out(kPoints);
  Ours ours(text);
  Globals globals = ours.env.Engine().globals();
  Runner runner;
  for (auto _ : state) {
    for (std::size_t i = 0; i < kPoints; ++i) {
      for (std::size_t k = 0; k < 4; ++k)
        globals.data()[ours.slots[k]] = Variant::Double(p.v[k][i]);
      if (quon::ScriptEnvironment::TryFunctionValue(*ours.program, globals, runner, out[i]) != 0) {
        state.SkipWithError("failed");
      }
    }
    benchmark::DoNotOptimize(out.data());
  }
  Items(state);
}

void OursBulk(benchmark::State& state, const Text& text) {
  using namespace quon::script;
  const Columns p;
  std::vector<double> out(kPoints);
  Ours ours(text);
  Globals globals = ours.env.Engine().globals();
  Runner runner;
  BulkRunner bulk;
  bool pointPath[kBulkBlock];
  for (auto _ : state) {
    for (std::size_t first = 0; first < kPoints; first += kBulkBlock) {
      std::array<BulkColumn, 4> columns;
      for (std::size_t k = 0; k < 4; ++k) columns[k] = {ours.slots[k], p.v[k].data() + first};
      const bool all = quon::ScriptEnvironment::TryFunctionValues(
          *ours.program, globals, bulk, columns, kBulkBlock, out.data() + first, pointPath);
      // Points the bulk form leaves: one at a time, as the callers do.
      for (std::size_t i = 0; i < kBulkBlock; ++i) {
        if (all && !pointPath[i]) continue;
        for (std::size_t k = 0; k < 4; ++k) {
          globals.data()[ours.slots[k]] = Variant::Double(p.v[k][first + i]);
        }
        quon::ScriptEnvironment::TryFunctionValue(*ours.program, globals, runner, out[first + i]);
      }
    }
    benchmark::DoNotOptimize(out.data());
  }
  Items(state);
}

// The fit's sampling of the default function on 4 x 40 nodes over [lower, lower + 10], on
// one thread: the node values are those of the fit's statements. On [-5, 5] the end nodes
// read back as whole numbers (Integers), which this text's real code reads as well.
void Sampling(benchmark::State& state, bool bulk, double lower) {
  quon::ScriptEnvironment env;
  quon::ScriptFitEngine engine(env, "x^2*sin(y)+4*cos(z)-t");
  const char* names[] = {"x", "y", "z", "t"};
  std::array<std::vector<std::string>, 4> statements;
  for (std::size_t k = 0; k < 4; ++k) {
    for (int j = 0; j < 40; ++j) {
      statements[k].push_back(std::string(names[k]) + "=" +
                              quon::PrintForm(j * (10.0 / 39) + lower));
    }
  }
  engine.ExecuteStatement("x=0:y=0:z=0:t=0");
  (void)engine.fna();
  const auto function = engine.PrepareParallel(statements);
  const auto evaluator = function->NewEvaluator();
  constexpr std::size_t kAtOnce = 256;
  std::vector<std::array<int32_t, 4>> nodes;
  for (int32_t n = 0; n < 40 * 40 * 40 * 40; ++n) {
    nodes.push_back({n % 40, n / 40 % 40, n / 1600 % 40, n / 64000});
  }
  std::vector<double> values(nodes.size());
  std::vector<int32_t> errors(nodes.size());
  for (auto _ : state) {
    for (std::size_t first = 0; first < nodes.size(); first += kAtOnce) {
      if (bulk) {
        evaluator->Values(&nodes[first], kAtOnce, &values[first], &errors[first]);
      } else {
        evaluator->quon::ParallelFunction::Evaluator::Values(&nodes[first], kAtOnce, &values[first],
                                                             &errors[first]);
      }
    }
    benchmark::DoNotOptimize(values.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * nodes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  for (const Text& text : kTexts) {
    const std::string name = text.name;
    benchmark::RegisterBenchmark((name + "/HandWritten").c_str(), HandWritten, text);
    benchmark::RegisterBenchmark((name + "/MuparserPerPoint").c_str(), MuparserPerPoint, text);
    benchmark::RegisterBenchmark((name + "/MuparserBulk").c_str(), MuparserBulk, text);
    benchmark::RegisterBenchmark((name + "/OursPerPoint").c_str(), OursPerPoint, text);
    benchmark::RegisterBenchmark((name + "/OursBulk").c_str(), OursBulk, text);
  }
  for (const double lower : {-5.0, -4.9}) {
    const std::string range = lower == -5.0 ? "Sampling4x40/WholeEnds" : "Sampling4x40/NoWholeNode";
    benchmark::RegisterBenchmark((range + "/PerPoint").c_str(), Sampling, false, lower)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((range + "/Bulk").c_str(), Sampling, true, lower)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
