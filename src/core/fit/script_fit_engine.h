// The program's script engine as the fit's engine: statements go to ExecuteStatement, the
// function's value comes from fna over the equation given, and the trap's numbers land in
// the engine's LastErrorNumber. The compiled function runs on several threads at once,
// each with its own copy of the engine's variables.
#pragma once

#include <string>

#include "core/fit/fit_engine.h"
#include "engine/script_environment.h"

namespace quon {

class ScriptFitEngine final : public FitEngine {
 public:
  ScriptFitEngine(ScriptEnvironment& engine, std::string equation)
      : engine_(engine), equation_(std::move(equation)) {}

  void ExecuteStatement(std::string_view statement) override {
    engine_.ExecuteStatement(statement);
  }
  double fna() override { return engine_.fna(equation_); }
  void RecordError(int32_t number) override { engine_.LastErrorNumber = number; }
  std::unique_ptr<ParallelFunction> PrepareParallel(
      const std::array<std::vector<std::string>, 4>& nodeStatements) override;

 private:
  ScriptEnvironment& engine_;
  std::string equation_;
};

}  // namespace quon
