#include "core/eval/script_point_function.h"

#include <algorithm>
#include <array>

#include "core/model/problem_model.h"
#include "engine/bulk_code.h"
#include "engine/engine.h"

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

  // Blocks of points in the bulk form; the points it leaves go through Value.
  void Values(const double* points, std::size_t vars, std::size_t count, double* values,
              int32_t* errors) override {
    for (std::size_t first = 0; first < count; first += script::kBulkBlock) {
      const std::size_t size = std::min(script::kBulkBlock, count - first);
      const std::span<const double> block(points + first * vars, size * vars);
      const bool bulk = SetColumns(block, vars, size) &&
                        ScriptEnvironment::TryFunctionValues(*program_, globals_, bulk_, columns_,
                                                             size, values + first, pointPath_);
      for (std::size_t i = 0; i < size; ++i) {
        if (bulk && !pointPath_[i]) {
          errors[first + i] = 0;
        } else {
          errors[first + i] = Value(block.subspan(i * vars, vars), values[first + i]);
        }
      }
    }
  }

 private:
  // The coordinates of each variable in use as a column; false when a variable would not
  // hold the Double it is given (its declared kind converts it).
  bool SetColumns(std::span<const double> block, std::size_t stride, std::size_t size) {
    columns_.clear();
    for (std::size_t k = 0; k < stride && k < slots_.size(); ++k) {
      if (!slots_[k]) continue;
      if (columns_.size() == coordinates_.size()) return false;
      const script::Variant first = script::Variant::Double(block[k]);
      if (globals_.Assign(*slots_[k], first) != script::ErrNum::None ||
          !globals_[*slots_[k]].Is(script::Kind::Double)) {
        return false;
      }
      double* column = coordinates_[columns_.size()].data();
      for (std::size_t i = 0; i < size; ++i) column[i] = block[i * stride + k];
      columns_.push_back({*slots_[k], column});
    }
    return true;
  }

 private:
  std::shared_ptr<const script::Program> program_;
  script::Globals globals_;
  script::Runner runner_;
  const std::vector<std::optional<uint32_t>>& slots_;
  script::BulkRunner bulk_;
  std::vector<script::BulkColumn> columns_;
  std::array<std::array<double, script::kBulkBlock>, MaxVars> coordinates_;
  bool pointPath_[script::kBulkBlock];
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
  for (const std::string& name : names) slots_.push_back(engine.VariableSlot(name));
}

ScriptPointFunctionSource::~ScriptPointFunctionSource() = default;

std::unique_ptr<PointFunction> ScriptPointFunctionSource::NewEvaluator() {
  return std::make_unique<ScriptPointFunction>(program_, *snapshot_, slots_);
}

bool ScriptPointFunctionSource::ThreadSafe() const { return program_->pure; }

}  // namespace quon
