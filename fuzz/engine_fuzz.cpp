// Feeds arbitrary text to the engine through the host: every line but the last is a
// statement, the last one the function. Nothing may crash, hang or leak past the
// sanitizers, and where an expression has a real form, the real form and the full code
// must agree on its value, bit for bit, or on its failure.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "engine.h"
#include "script_environment.h"

namespace {

void CheckRealFormAgrees(quon::script::Engine& engine, std::string_view expression) {
  using namespace quon::script;
  std::shared_ptr<const Program> program;
  try {
    program = engine.CompileExpression(expression);
  } catch (const ScriptError&) {
    return;
  }
  if (program->real.code.empty()) return;
  Globals globals = engine.globals();
  for (uint32_t slot : program->real.reads) {
    globals.Assign(slot, Variant::Double(0.375 + slot));
  }
  Runner fast;
  Runner full;
  const ErrNum fastResult = Run(*program, globals, fast, RunMode::Fastest);
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
