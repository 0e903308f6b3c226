#include "eval/script_point_function.h"

#include "engine.h"

namespace quon {
namespace {

class ScriptPointFunction final : public PointFunction {
 public:
  ScriptPointFunction(std::shared_ptr<const script::Program> program,
                      const script::Globals& snapshot,
                      const std::vector<std::optional<uint32_t>>& slots)
      : program_(std::move(program)), globals_(snapshot), slots_(slots) {
    globals_.Resize(std::max<std::size_t>(globals_.size(), program_->slotCount));
  }

  int32_t Value(std::span<const double> point, double& value) override {
    for (std::size_t k = 0; k < point.size() && k < slots_.size(); ++k) {
      if (!slots_[k]) continue;
      const script::ErrNum err = globals_.Assign(*slots_[k], script::Variant::Double(point[k]));
      if (err != script::ErrNum::None) return static_cast<int32_t>(err);
    }
    return ScriptEnvironment::TryFunctionValue(*program_, globals_, runner_, value);
  }

 private:
  std::shared_ptr<const script::Program> program_;
  script::Globals globals_;
  script::Runner runner_;
  const std::vector<std::optional<uint32_t>>& slots_;
};

}  // namespace

ScriptPointFunctionSource::ScriptPointFunctionSource(ScriptEnvironment& engine,
                                                     const std::string& equation,
                                                     const std::vector<std::string>& names) {
  script::Engine& inner = engine.Engine();
  try {
    program_ = inner.CompileExpression(equation);
  } catch (const script::ScriptError& error) {
    throw ScriptFailure(error.Number, error.what());
  }
  snapshot_ = std::make_unique<script::Globals>(inner.globals());
  // Compiling resolved every name of the text to a slot, so a variable the function uses
  // has one now, assigned or not.
  for (const std::string& name : names) slots_.push_back(inner.names().FindVariable(name));
}

ScriptPointFunctionSource::~ScriptPointFunctionSource() = default;

std::unique_ptr<PointFunction> ScriptPointFunctionSource::NewEvaluator() {
  return std::make_unique<ScriptPointFunction>(program_, *snapshot_, slots_);
}

bool ScriptPointFunctionSource::ThreadSafe() const { return program_->pure; }

}  // namespace quon
