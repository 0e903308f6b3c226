#include "engine/engine.h"

#include "engine/conversions.h"
#include "engine/lexer.h"
#include "engine/operators.h"

namespace quon::script {
namespace {

// Caches of compiled texts are dropped when they hold more texts than this; longer texts
// than kMaxCachedText are kept only as the last one, so that the cache stays small.
constexpr size_t kMaxCachedPrograms = 256;
constexpr size_t kMaxCachedText = 16 * 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The parts of "name = [-]number" with blanks anywhere between them, or false.
struct SimpleAssignment {
  std::string_view name;
  bool negative = false;
  std::string_view number;
};

bool SplitSimpleAssignment(std::string_view text, SimpleAssignment& parts) {
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  skipBlanks();
  const size_t nameStart = i;
  if (i >= text.size() || !IsLetter(text[i])) return false;
  while (i < text.size() && (IsLetter(text[i]) || IsDigit(text[i]) || text[i] == '_')) ++i;
  parts.name = text.substr(nameStart, i - nameStart);
  skipBlanks();
  if (i >= text.size() || text[i] != '=') return false;
  ++i;
  skipBlanks();
  if (i < text.size() && text[i] == '-') {
    parts.negative = true;
    ++i;
    skipBlanks();
  }
  const size_t numberStart = i;
  while (i < text.size() && (IsDigit(text[i]) || text[i] == '.')) ++i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
  }
  parts.number = text.substr(numberStart, i - numberStart);
  skipBlanks();
  return i == text.size() && !parts.number.empty();
}

}  // namespace

std::shared_ptr<const Program> Engine::Cache::Find(std::string_view text) {
  if (last_ && text == lastText_) return last_;
  const auto found = programs_.find(std::string(text));
  if (found == programs_.end()) return nullptr;
  lastText_ = text;
  last_ = found->second;
  return last_;
}

void Engine::Cache::Add(std::string_view text, std::shared_ptr<const Program> program) {
  if (text.size() <= kMaxCachedText) {
    if (programs_.size() >= kMaxCachedPrograms) programs_.clear();
    programs_.emplace(std::string(text), program);
  }
  lastText_ = text;
  last_ = std::move(program);
}

void Engine::Cache::Clear() {
  programs_.clear();
  lastText_.clear();
  last_.reset();
}

void Engine::Raise(int32_t number, const std::string& description, int32_t position) {
  error_.Number = number;
  error_.Description = description;
  if (onError_) onError_();
  throw ScriptError(number, description, position);
}

void Engine::AddObject(std::string_view name, std::shared_ptr<const NamedObject> object,
                       bool globalMembers) {
  const ErrNum err = names_.AddObject(name, std::move(object), globalMembers, globals_);
  if (err != ErrNum::None)
    Raise(static_cast<int32_t>(err), ErrorDescription(err) + ": '" + std::string(name) + "'");
  // A text compiled before may have called one of the new names as an unknown function.
  expressions_.Clear();
  statements_.Clear();
}

std::shared_ptr<const Program> Engine::Compiled(std::string_view text, CompileMode mode) {
  Cache& cache = mode == CompileMode::Expression ? expressions_ : statements_;
  if (auto program = cache.Find(text)) return program;
  std::shared_ptr<const Program> program;
  try {
    program = Compile(text, mode, names_);
  } catch (const ScriptError& error) {
    Raise(error.Number, error.what(), error.Position);
  }
  // New names get their slots now, so that a host may set them before the first run.
  globals_.Resize(names_.slotCount());
  cache.Add(text, program);
  return program;
}

bool Engine::TryFastAssignment(std::string_view statement) {
  SimpleAssignment parts;
  if (!SplitSimpleAssignment(statement, parts)) return false;
  const Assigned* known = nullptr;
  for (const Assigned& recent : recentAssignments_) {
    if (!recent.name.empty() && recent.name == parts.name) known = &recent;
  }
  uint32_t slot = 0;
  if (known != nullptr) {
    slot = known->slot;
  } else {
    // Only variables the engine already knows: a new name, a function or a reserved
    // word takes the full path, which creates the variable or reports the error.
    const auto found = names_.FindVariable(parts.name);
    if (!found) return false;
    slot = *found;
    recentAssignments_[nextAssignment_] = Assigned{std::string(parts.name), slot};
    nextAssignment_ = (nextAssignment_ + 1) % recentAssignments_.size();
  }
  Variant value;
  if (!DecimalLiteral(parts.number, value)) return false;
  if (parts.negative) Negate(value);
  if (slot >= globals_.size()) globals_.Resize(names_.slotCount());
  const ErrNum err = globals_.Assign(slot, value);
  if (err != ErrNum::None) Raise(static_cast<int32_t>(err), ErrorDescription(err));
  return true;
}

void Engine::ExecuteStatement(std::string_view statement) {
  if (TryFastAssignment(statement)) return;
  const auto program = Compiled(statement, CompileMode::Statements);
  const ErrNum err = Run(*program, globals_, runner_);
  if (err != ErrNum::None) Raise(static_cast<int32_t>(err), RunErrorDescription(err, runner_));
}

std::shared_ptr<const Program> Engine::CompileExpression(std::string_view expression) {
  return Compiled(expression, CompileMode::Expression);
}

const Variant& Engine::Evaluate(const Program& program) {
  const ErrNum err = Run(program, globals_, runner_);
  if (err != ErrNum::None) Raise(static_cast<int32_t>(err), RunErrorDescription(err, runner_));
  return runner_.result();
}

const Variant& Engine::Evaluate(std::string_view expression) {
  if (const Program* last = expressions_.FindLast(expression)) return Evaluate(*last);
  const auto program = CompileExpression(expression);
  return Evaluate(*program);
}

Value Engine::Eval(std::string_view expression) { return Value::From(Evaluate(expression)); }

}  // namespace quon::script
