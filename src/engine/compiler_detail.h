// The compiler's working state and steps, shared by its two source files: compiler.cpp
// parses the tokens, compiler_emit.cpp writes the program's code. Nothing else includes
// this header; the compiler's interface is compiler.h.
#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/compiler.h"
#include "engine/lexer.h"

namespace quon::script {

// What a call resolves to when its ")" is reached.
struct CallTarget {
  NameTable::Entry entry;
  bool known = false;  // false: the name is no function (13 when called)
  std::string_view name;
};

// An operator or group waiting on the parser's stack for its operands.
struct Pending {
  enum class Type : uint8_t { Binary, Prefix, Paren, Call };
  Type type = Type::Paren;
  Op op = Op::Push;
  int prec = 0;
  size_t token = 0;  // Paren, Call: the token of its "(", for messages
  uint16_t argc = 0;
  CallTarget target;
  size_t rightStart = 0;  // Binary: where the code of the right operand begins
};

class Compiler {
 public:
  Compiler(std::string_view source, NameTable& names)
      : source_(source),
        names_(names),
        tokens_(Lex(source)),
        program_(std::make_shared<Program>()) {}

  std::shared_ptr<const Program> Run(CompileMode mode);

 private:
  const Token& Peek(size_t ahead = 0) const {
    return tokens_[std::min(at_ + ahead, tokens_.size() - 1)];
  }

  [[noreturn]] void Fail(const Token& token, const std::string& what) const {
    throw SyntaxError(source_, token.pos, what + ", found " + DescribeToken(token));
  }

  // --- emission (compiler_emit.cpp) ---------------------------------------------------

  void Emit(Instr instr, int pops, int pushes);
  void EmitConstant(const Variant& value);
  void EmitText(std::string_view quoted);
  void EmitFailure(ErrNum number, std::string_view name, int pops);
  // An operation on the top of the stack whose (right or only) operand is the value the
  // last instruction pushed: a push of a constant or global is folded into it.
  void EmitOperation(Op op, bool binary);
  // -literal is a constant of its own: the same negation, done once.
  bool FoldNegation(uint32_t constant);
  // A constant number on the left of + or * (4*cos(z)) trades places with the right
  // operand, so that it is read in place: both operators give the same value and kind in
  // either order when one operand is a number, and a constant has no effects to reorder.
  // Only for short right operands, as the constant is taken out of the code.
  bool SwapConstantLeft(const Pending& pending);
  void EmitPending(const Pending& pending);
  void EmitCall(const CallTarget& target, uint16_t argc);

  // --- parsing (compiler.cpp) ----------------------------------------------------------

  // A name (and ".member" after an object) resolved at the current token.
  struct Resolved {
    std::optional<NameTable::Entry> entry;
    std::string_view name;
  };

  // Resolves the name at the current token; leaves at_ on the token after it.
  Resolved ResolveName();
  // A name in operand position: a variable, a call, or a function used without its
  // arguments.
  void NameOperand(std::vector<Pending>& pending);
  // Opens the argument list of a call at "(".
  void OpenCall(std::vector<Pending>& pending, const Resolved& resolved, bool known);
  void Push(std::vector<Pending>& pending, const Pending& entry);
  void Expression();
  void Operand(std::vector<Pending>& pending, const Token& token);
  // Emits pending operators that bind at least as tightly as `prec`.
  void PopWhile(std::vector<Pending>& pending, int prec);
  // ")" or "," after an operand.
  void CloseGroup(std::vector<Pending>& pending, const Token& token);
  void Statement();
  // "Randomize" or "Randomize number": reseeds the random generator.
  void Randomize();

  std::string_view source_;
  NameTable& names_;
  std::vector<Token> tokens_;
  std::shared_ptr<Program> program_;
  size_t at_ = 0;
  int depth_ = 0;
  bool expectOperand_ = true;
  bool missingMember_ = false;
};

}  // namespace quon::script
