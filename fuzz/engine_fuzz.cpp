// Feeds arbitrary text to the engine through the host: every line but the last is a
// statement, the last one the function. Nothing may crash, hang or leak past the
// sanitizers, and where an expression has a real form, the real form and the full code
// must agree on its value, bit for bit, or on its failure; so must the bulk form over a
// few points and the per-point run at each of them.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bulk_code.h"
#include "engine/engine.h"
#include "engine/script_environment.h"

namespace {

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The bulk form at a few points against the real code and the full run at each: the
// variables read are columns, but for every `fixedEvery`-th one (none for 0), which is fixed.
void CheckBulkFormAgrees(const quon::script::Program& program, const quon::script::Globals& start,
                         std::size_t fixedEvery) {
  using namespace quon::script;
  constexpr double kValues[] = {0.375, 0.0, -1.5, 710.0, 1e308, -0.0, 2.0, -3e-320};
  constexpr std::size_t kPoints = std::size(kValues);
  Globals globals = start;
  globals.Resize(program.slotCount);
  std::vector<std::vector<double>> numbers;
  std::vector<BulkColumn> columns;
  for (std::size_t r = 0; r < program.real.reads.size(); ++r) {
    const uint32_t slot = program.real.reads[r];
    if (fixedEvery != 0 && r % fixedEvery == 1) {
      globals.Assign(slot, Variant::Double(kValues[r % kPoints]));
      continue;
    }
    // A declared kind would convert the values the bulk form takes as Doubles.
    if (globals.Assign(slot, Variant::Double(1.0)) != ErrNum::None ||
        !globals[slot].Is(Kind::Double)) {
      return;
    }
    numbers.emplace_back();
    for (std::size_t i = 0; i < kPoints; ++i) numbers.back().push_back(kValues[(i + r) % kPoints]);
    columns.push_back({slot, nullptr});
  }
  for (std::size_t c = 0; c < columns.size(); ++c) columns[c].values = numbers[c].data();
  double results[kPoints];
  bool pointPath[kPoints];
  BulkRunner bulk;
  if (!bulk.Run(program, globals, columns, kPoints, results, pointPath)) return;
  Runner runner;
  std::vector<double> stack(program.real.maxStack + 1);
  for (std::size_t i = 0; i < kPoints; ++i) {
    for (const BulkColumn& column : columns) {
      globals.Assign(column.slot, Variant::Double(column.values[i]));
    }
    double real = 0.0;
    const bool realSucceeds = RunRealCode(program.real, globals.data(), stack.data(), real);
    if (pointPath[i] == realSucceeds) __builtin_trap();
    if (pointPath[i]) continue;
    if (Run(program, globals, runner, RunMode::FullCodeOnly) != ErrNum::None) __builtin_trap();
    if (!runner.result().Is(Kind::Double) || !SameDouble(runner.result().number(), results[i]) ||
        !SameDouble(real, results[i])) {
      __builtin_trap();
    }
  }
}

void CheckRealFormAgrees(quon::script::Engine& engine, std::string_view expression) {
  using namespace quon::script;
  std::shared_ptr<const Program> program;
  try {
    program = engine.CompileExpression(expression);
  } catch (const ScriptError&) {
    return;
  }
  if (program->real.code.empty()) return;
  CheckBulkFormAgrees(*program, engine.globals(), 2);
  CheckBulkFormAgrees(*program, engine.globals(), 0);
  Globals globals = engine.globals();
  for (uint32_t slot : program->real.reads) {
    globals.Assign(slot, Variant::Double(0.375 + slot));
  }
  // Each run starts from the same store, as the host hands every evaluation a store whose
  // error record is clear: a failing call of the math object writes that record, and the
  // other run must not read it.
  Globals fastGlobals = globals;
  Runner fast;
  Runner full;
  const ErrNum fastResult = Run(*program, fastGlobals, fast, RunMode::Fastest);
  const ErrNum fullResult = Run(*program, globals, full, RunMode::FullCodeOnly);
  if (fastResult != fullResult) __builtin_trap();
  if (fastResult != ErrNum::None) return;
  const double a = fast.result().number();
  const double b = full.result().number();
  if (fast.result().kind() != full.result().kind() || std::memcmp(&a, &b, sizeof a) != 0) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  quon::ScriptEnvironment env([](const std::string& description) {
    if (description.empty()) __builtin_trap();  // every shown error says something
  });
  size_t start = 0;
  while (true) {
    const size_t end = input.find('\n', start);
    if (end == std::string_view::npos) break;
    try {
      env.ExecuteStatement(input.substr(start, end - start));
    } catch (const quon::ScriptFailure&) {
    }
    start = end + 1;
  }
  const std::string_view function = input.substr(start);
  try {
    env.fna(function);
  } catch (const quon::ScriptFailure& failure) {
    if (failure.Number == 0) __builtin_trap();
  }
  CheckRealFormAgrees(env.Engine(), function);
  return 0;
}
