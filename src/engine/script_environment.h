// The program's script host: one expression engine prepared for the user's function and
// constants (the math object published with global members, then halfpi, pi and e
// defined), the value of the function at the point the engine holds, and the error event
// that tells the user about every failure other than the numeric ones.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/err_num.h"

namespace quon {

namespace script {
class Engine;
class Globals;
class Runner;
class BulkRunner;
struct BulkColumn;
struct Program;
struct Value;
}  // namespace script

// A failed call into the engine, carrying the error number that arrived in the caller:
// always the error's own number (5, 6, 11, 13, 1002 for a syntax error, ...), never the
// already-reported code, so that the error event and the caller judge a failure alike.
// It is the engine's one error type.
using ScriptFailure = script::ScriptError;

class ScriptEnvironment {
 public:
  // Shows an error's description to the user (a message box with OK in the window).
  using MessageSink = std::function<void(const std::string& description)>;

  // Creates the engine and runs the load set-up.
  explicit ScriptEnvironment(MessageSink showMessage = {});
  ~ScriptEnvironment();
  ScriptEnvironment(const ScriptEnvironment&) = delete;
  ScriptEnvironment& operator=(const ScriptEnvironment&) = delete;

  // Runs one statement at global scope ("a=2.37", "x= .5"). Throws ScriptFailure.
  void ExecuteStatement(std::string_view statement);

  // The value of the function text under the current globals (a Boolean true is -1).
  // Throws ScriptFailure: the engine's error, 13 for a text that is not a number, or the
  // number a math function recorded.
  double fna(std::string_view equation);

  // The value of an expression with its kind, for callers that show more than a number:
  // fails as fna does, with the engine's error or with the number a math function
  // recorded, but converts nothing.
  script::Value Eval(std::string_view expression);

  // Number of the last error seen, 0 after the set-up; the fit's trap writes it too.
  int32_t LastErrorNumber = 0;

  // True for the numbers the error event passes over silently: 5, 6, 11 and the
  // already-reported code.
  static bool IsNumericFailure(int32_t number) { return script::IsNumericFailure(number); }

  // For callers that evaluate the function on threads of their own: the engine (compile
  // the text once with CompileExpression, give each thread a copy of globals() and a
  // Runner), and fna's steps on such a copy. Returns 0 with the function's value, or the
  // number fna would fail with; raises no error event and shows no message.
  script::Engine& Engine();
  // The slot of the variable that the statement "name=..." assigns, the name read as the
  // language reads it (blanks around it skipped, letters in either case); nothing when the
  // engine has no such variable yet. Every caller that sets a variable outside a statement
  // finds it here, so that it sets the one the fit's statements set.
  std::optional<uint32_t> VariableSlot(std::string_view name);
  static int32_t TryFunctionValue(const script::Program& program, script::Globals& globals,
                                  script::Runner& runner, double& value);
  // TryFunctionValue over a block of points in the bulk form (bulk_code.h): at point i
  // each column's variable holds values[i]. Writes the value of every point the bulk form
  // answers and sets pointPath[i] for the others, which the caller then passes to
  // TryFunctionValue; false when no point of the block has a bulk form.
  static bool TryFunctionValues(const script::Program& program, script::Globals& globals,
                                script::BulkRunner& bulk,
                                std::span<const script::BulkColumn> columns, std::size_t count,
                                double* values, bool* pointPath);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quon
