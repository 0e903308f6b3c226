// Evaluations per second of the default function x^2*sin(y)+4*cos(z)-t with the four
// variables changing before every evaluation: the engine's compiled form, the host's fna
// (cache lookup, error record and conversion included), a hand-written C++ expression
// as the ceiling, and muparser as the yardstick. Also the statement fast path
// ("x= .5") against the same statements through the compiler.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/number_text.h"
#include "engine/script_environment.h"

namespace {

constexpr const char* kFunction = "x^2*sin(y)+4*cos(z)-t";

// The point of evaluation i: every variable changes from one evaluation to the next.
struct Point {
  double x, y, z, t;
};
inline Point PointAt(int i) {
  const double s = 1e-3 * (i & 1023);
  return Point{0.5 + s, -1.25 + s, 0.75 - s, 2.0 + s};
}

void BM_HandWrittenCpp(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    const Point p = PointAt(i++);
    double v = p.x * p.x * std::sin(p.y) + 4 * std::cos(p.z) - p.t;
    benchmark::DoNotOptimize(v);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HandWrittenCpp);

void BM_Muparser(benchmark::State& state) {
  mu::Parser parser;
  double x = 0, y = 0, z = 0, t = 0;
  parser.DefineVar("x", &x);
  parser.DefineVar("y", &y);
  parser.DefineVar("z", &z);
  parser.DefineVar("t", &t);
  parser.SetExpr(kFunction);
  int i = 0;
  for (auto _ : state) {
    const Point p = PointAt(i++);
    x = p.x, y = p.y, z = p.z, t = p.t;
    double v = parser.Eval();
    benchmark::DoNotOptimize(v);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Muparser);

// The compiled program run directly on a store whose variables are set by slot.
void BM_EngineCompiled(benchmark::State& state) {
  using namespace quon::script;
  Engine engine;
  const auto program = engine.CompileExpression(kFunction);
  Globals& globals = engine.globals();
  const uint32_t sx = *engine.names().FindVariable("x");
  const uint32_t sy = *engine.names().FindVariable("y");
  const uint32_t sz = *engine.names().FindVariable("z");
  const uint32_t st = *engine.names().FindVariable("t");
  Runner runner;
  int i = 0;
  for (auto _ : state) {
    const Point p = PointAt(i++);
    Variant* g = globals.data();
    g[sx] = Variant::Double(p.x);
    g[sy] = Variant::Double(p.y);
    g[sz] = Variant::Double(p.z);
    g[st] = Variant::Double(p.t);
    if (Run(*program, globals, runner) != ErrNum::None) state.SkipWithError("failed");
    double v = runner.result().number();
    benchmark::DoNotOptimize(v);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EngineCompiled);

// fna on the text, as the fit calls it, with the variables set by slot.
void BM_Fna(benchmark::State& state) {
  using namespace quon::script;
  quon::ScriptEnvironment env;
  env.ExecuteStatement("x=0:y=0:z=0:t=0");
  Engine& engine = env.Engine();
  const uint32_t sx = *engine.names().FindVariable("x");
  const uint32_t sy = *engine.names().FindVariable("y");
  const uint32_t sz = *engine.names().FindVariable("z");
  const uint32_t st = *engine.names().FindVariable("t");
  int i = 0;
  for (auto _ : state) {
    const Point p = PointAt(i++);
    Variant* g = engine.globals().data();
    g[sx] = Variant::Double(p.x);
    g[sy] = Variant::Double(p.y);
    g[sz] = Variant::Double(p.z);
    g[st] = Variant::Double(p.t);
    double v = env.fna(kFunction);
    benchmark::DoNotOptimize(v);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Fna);

// The fit's innermost step: one statement "x=<print form>" and one fna.
void BM_StatementAndFna(benchmark::State& state) {
  quon::ScriptEnvironment env;
  env.ExecuteStatement("x=0:y=-1.25:z= .75:t= 2");
  const std::string statements[] = {"x= .5", "x= .625", "x= 1", "x= 1.375", "x=-2.5E-05"};
  int i = 0;
  for (auto _ : state) {
    env.ExecuteStatement(statements[i++ % 5]);
    double v = env.fna(kFunction);
    benchmark::DoNotOptimize(v);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StatementAndFna);

// Statements such as the fit sends: a variable, "=" and a value in the print form, a
// different value each time.
std::vector<std::string> NodeStatements(const char* prefix, const char* suffix) {
  std::vector<std::string> statements;
  for (int i = 0; i < 1024; ++i) {
    const double value = -1.25 + i * 0.0123456789;
    std::string text = quon::PrintForm(value);
    statements.push_back(prefix + text + suffix);
  }
  return statements;
}

void BM_StatementFastPath(benchmark::State& state) {
  quon::ScriptEnvironment env;
  env.ExecuteStatement("x=0");
  const auto statements = NodeStatements("x=", "");
  size_t i = 0;
  for (auto _ : state) env.ExecuteStatement(statements[i++ & 1023]);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StatementFastPath);

// The same assignments through the compiler: parentheses keep them off the fast path.
void BM_StatementCompiled(benchmark::State& state) {
  quon::ScriptEnvironment env;
  const auto statements = NodeStatements("x=(", ")");
  size_t i = 0;
  for (auto _ : state) env.ExecuteStatement(statements[i++ & 1023]);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StatementCompiled);

}  // namespace

BENCHMARK_MAIN();
