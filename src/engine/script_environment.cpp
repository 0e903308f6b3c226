#include "engine/script_environment.h"

#include <utility>

#include "engine/bulk_code.h"
#include "engine/class1.h"
#include "engine/conversions.h"
#include "engine/engine.h"
#include "engine/lexer.h"

namespace quon {
namespace {

// Class1's ErrorNumber: the second variable of the first object published, whose
// variables take the first slots of the store.
constexpr uint32_t kErrorNumberSlot = 1;

}  // namespace

struct ScriptEnvironment::Impl {
  script::Engine engine;
  MessageSink showMessage;
};

ScriptEnvironment::ScriptEnvironment(MessageSink showMessage) : impl_(std::make_unique<Impl>()) {
  impl_->showMessage = std::move(showMessage);
  impl_->engine.SetErrorHandler([this] {
    // The error event: record the number, and tell the user about all but the numeric
    // failures, which the callers handle.
    const script::ErrorInfo& error = impl_->engine.Error();
    LastErrorNumber = error.Number;
    if (!IsNumericFailure(error.Number) && impl_->showMessage) {
      impl_->showMessage(error.Description);
    }
  });
  impl_->engine.AddObject("sh", std::make_shared<Class1>(), true);
  ExecuteStatement("halfpi = Atn(1) * 2");
  ExecuteStatement("pi = Atn(1) * 4");
  ExecuteStatement("e = Exp(1)");
  LastErrorNumber = 0;
}

ScriptEnvironment::~ScriptEnvironment() = default;

void ScriptEnvironment::ExecuteStatement(std::string_view statement) {
  impl_->engine.ExecuteStatement(statement);
}

int32_t ScriptEnvironment::TryFunctionValue(const script::Program& program,
                                            script::Globals& globals, script::Runner& runner,
                                            double& value) {
  globals.Resize(kErrorNumberSlot + 1);
  globals.data()[kErrorNumberSlot] = script::Variant::Long(0);
  if (const script::ErrNum err = script::Run(program, globals, runner);
      err != script::ErrNum::None) {
    return static_cast<int32_t>(err);
  }
  if (const script::ErrNum err = script::ToDouble(runner.result(), value);
      err != script::ErrNum::None) {
    return static_cast<int32_t>(err);
  }
  return globals[kErrorNumberSlot].integer();
}

bool ScriptEnvironment::TryFunctionValues(const script::Program& program, script::Globals& globals,
                                          script::BulkRunner& bulk,
                                          std::span<const script::BulkColumn> columns,
                                          std::size_t count, double* values, bool* pointPath) {
  // The store as TryFunctionValue leaves it before its run; a successful real run changes
  // nothing in it, so every value the bulk form gives is returned with the number 0.
  globals.Resize(kErrorNumberSlot + 1);
  globals.data()[kErrorNumberSlot] = script::Variant::Long(0);
  return bulk.Run(program, globals, columns, count, values, pointPath);
}

double ScriptEnvironment::fna(std::string_view equation) {
  script::Engine& engine = impl_->engine;
  engine.globals().data()[kErrorNumberSlot] = script::Variant::Long(0);
  const script::Variant* result = &engine.Evaluate(equation);
  // The value as a number (a Boolean true is -1); a text that is none fails here, in fna,
  // without the engine's error event.
  double value = 0.0;
  if (const script::ErrNum err = script::ToDouble(*result, value); err != script::ErrNum::None) {
    throw ScriptFailure(static_cast<int32_t>(err), script::ErrorDescription(err));
  }
  if (const int32_t recorded = engine.globals()[kErrorNumberSlot].integer(); recorded != 0) {
    throw ScriptFailure(recorded, script::ErrorDescription(recorded));
  }
  return value;
}

script::Value ScriptEnvironment::Eval(std::string_view expression) {
  script::Engine& engine = impl_->engine;
  engine.globals().data()[kErrorNumberSlot] = script::Variant::Long(0);
  script::Value value = engine.Eval(expression);
  if (const int32_t recorded = engine.globals()[kErrorNumberSlot].integer(); recorded != 0) {
    throw ScriptFailure(recorded, script::ErrorDescription(recorded));
  }
  return value;
}

script::Engine& ScriptEnvironment::Engine() { return impl_->engine; }

std::optional<uint32_t> ScriptEnvironment::VariableSlot(std::string_view name) {
  while (!name.empty() && script::IsBlank(name.front())) name.remove_prefix(1);
  while (!name.empty() && script::IsBlank(name.back())) name.remove_suffix(1);
  return impl_->engine.names().FindVariable(name);
}

}  // namespace quon
