// The user's function through the program's script engine, for the accuracy check and the
// plot. The function text is compiled once by the engine; every evaluator runs that shared
// program on its own copy of the engine's globals (the user constants, pi, e, halfpi and
// the math object's variables as they were when the source was made), with the variables
// set straight in the copy. So the engine's own globals, such as the values the fit left
// in the variables, are never touched, and evaluators may run on threads of their own when
// the compiled text is pure. A failure is returned as its number, as fna would fail, with
// no error event and no message.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/eval/point_function.h"
#include "engine/script_environment.h"

namespace quon {

namespace script {
class Globals;
}

class ScriptPointFunctionSource final : public PointFunctionSource {
 public:
  // Compiles `equation` (the engine shows a syntax error through its error event, then
  // this throws ScriptFailure) and takes the copy of the globals; `names` are the
  // variables in use, in order.
  ScriptPointFunctionSource(ScriptEnvironment& engine, const std::string& equation,
                            const std::vector<std::string>& names);
  ~ScriptPointFunctionSource() override;

  std::unique_ptr<PointFunction> NewEvaluator() override;
  bool ThreadSafe() const override;

 private:
  std::shared_ptr<const script::Program> program_;
  std::unique_ptr<script::Globals> snapshot_;
  std::vector<std::optional<uint32_t>> slots_;  // of the variables; none when never used
};

}  // namespace quon
