// Turns a text of the language into a Program: an operator-precedence parser with
// explicit stacks (no recursion, so nesting depth costs heap, not the machine stack)
// that emits stack code in postfix order, resolves names to slots, and fuses a push into
// the operation that consumes it. Precedence, tightest first: unary - and +, ^ (left to
// right), * and /, \, Mod, + and -, &, the comparisons, Not, And, Or, Xor, Eqv, Imp.
//
// Linear in the length of the text. Syntax errors raise ScriptError with number 1002
// and a description of what was expected where; nesting beyond MaxNesting raises 28.
// Calls of unknown functions, wrong numbers of arguments and assignments to functions
// compile into operations that fail when reached, as the language reports them at run
// time.
#pragma once

#include <memory>
#include <string_view>

#include "engine/names.h"
#include "engine/program.h"

namespace quon::script {

// Deepest nesting of parentheses, calls and signs a text may have.
inline constexpr size_t MaxNesting = 10000;

enum class CompileMode {
  Expression,  // one expression whose value the program leaves
  Statements,  // assignments "name = expression", separated by ":" or line feeds
};

// Throws ScriptError; new variable names are added to `names`.
std::shared_ptr<const Program> Compile(std::string_view source, CompileMode mode, NameTable& names);

}  // namespace quon::script
