#include "core/fit/script_fit_engine.h"

#include <algorithm>
#include <optional>
#include <span>

#include "engine/bulk_code.h"
#include "engine/engine.h"
#include "engine/real_code.h"

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
        nodeValues_(std::move(nodeValues)) {
    for (std::size_t k = 0; k < 4; ++k) {
      for (const script::Variant& value : nodeValues_[k]) {
        nodeNumbers_[k].push_back(value.number());
        nodeReadable_[k].push_back(script::RealCodeReads(program_->real, value));
      }
      for (std::size_t other = 0; other < k; ++other) {
        const bool bothVary = !nodeValues_[k].empty() && !nodeValues_[other].empty();
        if (bothVary && slots_[k] == slots_[other]) distinctSlots_ = false;
      }
    }
  }

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
    // Blocks of points in the bulk form, with every variable as a column; a point where a
    // node value is one the real code cannot read, or which the bulk form leaves, goes
    // through Value.
    void Values(const std::array<int32_t, 4>* nodes, std::size_t count, double* values,
                int32_t* errors) override {
      for (std::size_t first = 0; first < count; first += script::kBulkBlock) {
        const std::size_t size = std::min(script::kBulkBlock, count - first);
        const bool bulk =
            function_.distinctSlots_ && BulkBlock(nodes + first, size, values + first);
        for (std::size_t i = 0; i < size; ++i) {
          if (bulk && !pointPath_[i]) {
            errors[first + i] = 0;
            continue;
          }
          for (int k = 0; k < 4; ++k) SetNode(k, nodes[first + i][static_cast<std::size_t>(k)]);
          errors[first + i] = Value(values[first + i]);
        }
      }
    }

   private:
    bool BulkBlock(const std::array<int32_t, 4>* nodes, std::size_t size, double* values) {
      std::array<uint8_t, script::kBulkBlock> otherKind{};
      std::array<script::BulkColumn, 4> columns;
      std::size_t used = 0;
      for (std::size_t k = 0; k < 4; ++k) {
        if (function_.nodeNumbers_[k].empty()) continue;
        const double* numbers = function_.nodeNumbers_[k].data();
        const std::vector<uint8_t>& readable = function_.nodeReadable_[k];
        double* column = coordinates_[used].data();
        for (std::size_t i = 0; i < size; ++i) {
          const auto j = static_cast<std::size_t>(nodes[i][k]);
          column[i] = numbers[j];
          otherKind[i] |= !readable[j];
        }
        columns[used++] = {function_.slots_[k], column};
      }
      if (!ScriptEnvironment::TryFunctionValues(*function_.program_, globals_, bulk_,
                                                std::span(columns.data(), used), size, values,
                                                pointPath_)) {
        return false;
      }
      for (std::size_t i = 0; i < size; ++i) pointPath_[i] = pointPath_[i] || otherKind[i] != 0;
      return true;
    }

    const ScriptParallelFunction& function_;
    script::Globals globals_;
    script::Runner runner_;
    script::BulkRunner bulk_;
    std::array<std::array<double, script::kBulkBlock>, 4> coordinates_;
    bool pointPath_[script::kBulkBlock];
  };

  std::shared_ptr<const script::Program> program_;
  script::Globals globals_;
  std::array<uint32_t, 4> slots_;
  std::array<std::vector<script::Variant>, 4> nodeValues_;
  // The node values as numbers, and whether the real code reads each (only those go in
  // bulk: Doubles, and whole numbers where the text allows).
  std::array<std::vector<double>, 4> nodeNumbers_;
  std::array<std::vector<uint8_t>, 4> nodeReadable_;
  bool distinctSlots_ = true;  // false when two varying variables share a slot
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
          engine_.VariableSlot(std::string_view(statement).substr(0, statement.find('=')));
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
