// The expression engine as a host sees it: objects published under a name, statements
// run at global scope, expressions evaluated under the current globals, and an error
// object with an error event raised before a failing call throws.
//
// Texts are compiled once and cached (the last text of each kind is compared first, so
// that evaluating one text again and again costs no lookup); statements of the form
// "name = number" that assign an existing variable skip the compiler altogether, with
// the same literal typing and the same result as the full path.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/compiler.h"
#include "engine/err_num.h"
#include "engine/globals.h"
#include "engine/named_object.h"
#include "engine/names.h"
#include "engine/program.h"
#include "engine/variant.h"
#include "engine/vm.h"

namespace quon::script {

// The engine's error object: the last failure's number and description.
struct ErrorInfo {
  int32_t Number = 0;
  std::string Description;
};

class Engine {
 public:
  Engine() = default;
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Publishes `object` as `name`; with globalMembers its functions and variables are
  // global names. Throws ScriptError (1041) when a name is already taken.
  void AddObject(std::string_view name, std::shared_ptr<const NamedObject> object,
                 bool globalMembers);

  // Runs assignments at global scope ("a = 2.37"). Throws ScriptError after the event.
  void ExecuteStatement(std::string_view statement);

  // The value of an expression under the current globals. Throws ScriptError after the
  // event.
  Value Eval(std::string_view expression);

  // The error event: called synchronously when a call fails, after Error() is set and
  // before the call throws.
  void SetErrorHandler(std::function<void()> handler) { onError_ = std::move(handler); }
  const ErrorInfo& Error() const { return error_; }

  // For hosts that evaluate one text many times: the compiled form (cached), and its
  // value under the engine's globals, valid until the next run. Both raise as Eval does.
  std::shared_ptr<const Program> CompileExpression(std::string_view expression);
  const Variant& Evaluate(const Program& program);
  // The value of an expression, valid until the next run: Eval without the copy.
  const Variant& Evaluate(std::string_view expression);

  Globals& globals() { return globals_; }
  const NameTable& names() const { return names_; }

 private:
  class Cache {
   public:
    // The program of the text evaluated last, without touching its reference count.
    const Program* FindLast(std::string_view text) const {
      return last_ && text == lastText_ ? last_.get() : nullptr;
    }
    std::shared_ptr<const Program> Find(std::string_view text);
    void Add(std::string_view text, std::shared_ptr<const Program> program);
    void Clear();

   private:
    std::string lastText_;
    std::shared_ptr<const Program> last_;
    std::unordered_map<std::string, std::shared_ptr<const Program>> programs_;
  };

  struct Assigned {
    std::string name;  // as written
    uint32_t slot = 0;
  };

  std::shared_ptr<const Program> Compiled(std::string_view text, CompileMode mode);
  bool TryFastAssignment(std::string_view statement);
  // Sets the error object, runs the error event and throws ScriptError.
  [[noreturn]] void Raise(int32_t number, const std::string& description, int32_t position = -1);

  NameTable names_;
  Globals globals_;
  Runner runner_;
  ErrorInfo error_;
  std::function<void()> onError_;
  Cache expressions_;
  Cache statements_;
  std::array<Assigned, 4> recentAssignments_;
  size_t nextAssignment_ = 0;
};

}  // namespace quon::script
