#include "fit/script_fit_engine.h"

#include <optional>

#include "engine.h"

namespace quon {
namespace {

// The compiled function with the engine's variables as they stood after every node
// statement, and for each variable the value each of its node statements gave it.
class ScriptParallelFunction final : public ParallelFunction {
 public:
  ScriptParallelFunction(std::shared_ptr<const script::Program> program, script::Globals globals,
                         std::array<uint32_t, 4> slots,
                         std::array<std::vector<script::Variant>, 4> nodeValues)
      : program_(std::move(program)),
        globals_(std::move(globals)),
        slots_(slots),
        nodeValues_(std::move(nodeValues)) {}

  std::unique_ptr<Evaluator> NewEvaluator() override {
    return std::make_unique<ScriptEvaluator>(*this);
  }

 private:
  class ScriptEvaluator final : public Evaluator {
   public:
    explicit ScriptEvaluator(const ScriptParallelFunction& function)
        : function_(function), globals_(function.globals_) {}

    void SetNode(int k, int32_t j) override {
      const auto slot = static_cast<std::size_t>(k);
      if (function_.nodeValues_[slot].empty()) return;
      globals_.data()[function_.slots_[slot]] =
          function_.nodeValues_[slot][static_cast<std::size_t>(j)];
    }
    int32_t Value(double& value) override {
      return ScriptEnvironment::TryFunctionValue(*function_.program_, globals_, runner_, value);
    }

   private:
    const ScriptParallelFunction& function_;
    script::Globals globals_;
    script::Runner runner_;
  };

  std::shared_ptr<const script::Program> program_;
  script::Globals globals_;
  std::array<uint32_t, 4> slots_;
  std::array<std::vector<script::Variant>, 4> nodeValues_;
};

}  // namespace

std::unique_ptr<ParallelFunction> ScriptFitEngine::PrepareParallel(
    const std::array<std::vector<std::string>, 4>& nodeStatements) {
  script::Engine& engine = engine_.Engine();
  std::shared_ptr<const script::Program> program;
  try {
    // Compiled (and cached) already by the first sample.
    program = engine.CompileExpression(equation_);
  } catch (const script::ScriptError&) {
    return nullptr;
  }
  // A text that assigns would change the variables other points see.
  if (!program->pure) return nullptr;

  std::array<uint32_t, 4> slots{};
  std::array<std::vector<script::Variant>, 4> nodeValues;
  for (std::size_t k = 0; k < nodeStatements.size(); ++k) {
    for (const std::string& statement : nodeStatements[k]) {
      try {
        engine_.ExecuteStatement(statement);
      } catch (const ScriptFailure&) {
        return nullptr;
      }
      // The variable the statement assigned: the name before its "=".
      const std::optional<uint32_t> slot =
          engine.names().FindVariable(std::string_view(statement).substr(0, statement.find('=')));
      if (!slot || *slot >= engine.globals().size()) return nullptr;
      const script::Variant& value = engine.globals()[*slot];
      // A text lives in the engine's store; only numbers are copied between threads.
      if (!value.IsNumeric()) return nullptr;
      slots[k] = *slot;
      nodeValues[k].push_back(value);
    }
  }
  return std::make_unique<ScriptParallelFunction>(std::move(program), engine.globals(), slots,
                                                  std::move(nodeValues));
}

}  // namespace quon
