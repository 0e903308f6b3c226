#include "engine/compiler.h"

#include <algorithm>

#include "engine/compiler_detail.h"

namespace quon::script {
namespace {

struct BinaryInfo {
  Op op;
  int prec;
};

// Binary operators by token, with their precedence (higher binds tighter).
std::optional<BinaryInfo> BinaryOperator(Tok type) {
  switch (type) {
    case Tok::Caret:
      return BinaryInfo{Op::Pow, 13};
    case Tok::Star:
      return BinaryInfo{Op::Mul, 12};
    case Tok::Slash:
      return BinaryInfo{Op::Div, 12};
    case Tok::Backslash:
      return BinaryInfo{Op::IntDiv, 11};
    case Tok::Mod:
      return BinaryInfo{Op::Mod, 10};
    case Tok::Plus:
      return BinaryInfo{Op::Add, 9};
    case Tok::Minus:
      return BinaryInfo{Op::Sub, 9};
    case Tok::Ampersand:
      return BinaryInfo{Op::Concat, 8};
    case Tok::Eq:
      return BinaryInfo{Op::Eq, 7};
    case Tok::Ne:
      return BinaryInfo{Op::Ne, 7};
    case Tok::Lt:
      return BinaryInfo{Op::Lt, 7};
    case Tok::Gt:
      return BinaryInfo{Op::Gt, 7};
    case Tok::Le:
      return BinaryInfo{Op::Le, 7};
    case Tok::Ge:
      return BinaryInfo{Op::Ge, 7};
    case Tok::And:
      return BinaryInfo{Op::And, 5};
    case Tok::Or:
      return BinaryInfo{Op::Or, 4};
    case Tok::Xor:
      return BinaryInfo{Op::Xor, 3};
    case Tok::Eqv:
      return BinaryInfo{Op::Eqv, 2};
    case Tok::Imp:
      return BinaryInfo{Op::Imp, 1};
    default:
      return std::nullopt;
  }
}

constexpr int kNotPrec = 6;
constexpr int kSignPrec = 14;

// Whether `text` is the word `lower`, in any case.
bool IsWord(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c) != lower[i]) return false;
  }
  return true;
}

}  // namespace

std::shared_ptr<const Program> Compiler::Run(CompileMode mode) {
  if (mode == CompileMode::Expression) {
    Expression();
    // Line feeds after the expression are harmless; anything else is not.
    while (Peek().type == Tok::StatementEnd && Peek().text != ":") ++at_;
    if (Peek().type != Tok::End) {
      Fail(Peek(), "expected an operator or the end of the expression");
    }
    program_->yieldsValue = true;
    program_->real = MakeRealCode(*program_);
  } else {
    while (Peek().type != Tok::End) {
      if (Peek().type == Tok::StatementEnd) {
        ++at_;
        continue;
      }
      Statement();
      if (Peek().type != Tok::End && Peek().type != Tok::StatementEnd) {
        Fail(Peek(), "expected an operator or the end of the statement");
      }
    }
  }
  program_->slotCount = names_.slotCount();
  return program_;
}

Compiler::Resolved Compiler::ResolveName() {
  const Token& first = Peek();
  ++at_;
  Resolved resolved{names_.Find(first.text), first.text};
  if (resolved.entry && resolved.entry->role == NameTable::Role::Object &&
      Peek().type == Tok::Dot) {
    const uint32_t object = resolved.entry->index;
    ++at_;
    if (Peek().type != Tok::Name) Fail(Peek(), "expected a member name after '.'");
    const Token& member = Peek();
    ++at_;
    resolved.name = std::string_view(
        first.text.data(),
        static_cast<size_t>(member.text.data() + member.text.size() - first.text.data()));
    resolved.entry = names_.FindMember(object, member.text);
    if (!resolved.entry) {
      resolved.entry = NameTable::Entry{NameTable::Role::Object, object, 0, Op::Push, 0, 0};
      missingMember_ = true;
    }
  }
  return resolved;
}

void Compiler::NameOperand(std::vector<Pending>& pending) {
  missingMember_ = false;
  Resolved resolved = ResolveName();
  const bool isCall = Peek().type == Tok::LParen;
  if (missingMember_) {
    if (isCall)
      OpenCall(pending, resolved, false);
    else
      EmitFailure(ErrNum::NoSuchMember, resolved.name, 0);
    return;
  }
  if (isCall) {
    const bool known = resolved.entry && (resolved.entry->role == NameTable::Role::Builtin ||
                                          resolved.entry->role == NameTable::Role::ObjectFunction);
    OpenCall(pending, resolved, known);
    return;
  }
  if (!resolved.entry) {
    Emit(Instr{Op::Push, Src::Global, 0, names_.VariableSlot(resolved.name)}, 0, 1);
    return;
  }
  switch (resolved.entry->role) {
    case NameTable::Role::Variable:
      Emit(Instr{Op::Push, Src::Global, 0, resolved.entry->index}, 0, 1);
      return;
    case NameTable::Role::Object:
      EmitFailure(ErrNum::NoSuchMember, resolved.name, 0);
      return;
    case NameTable::Role::Constant:
      EmitConstant(*resolved.entry->constant);
      return;
    default:
      // A function named without parentheses is called without arguments (x = Rnd).
      EmitCall(CallTarget{*resolved.entry, true, resolved.name}, 0);
      return;
  }
}

void Compiler::OpenCall(std::vector<Pending>& pending, const Resolved& resolved, bool known) {
  Pending call;
  call.type = Pending::Type::Call;
  call.token = at_;  // the "("
  call.target = CallTarget{resolved.entry.value_or(NameTable::Entry{}), known, resolved.name};
  Push(pending, call);
  ++at_;  // "("
  expectOperand_ = true;
  if (Peek().type == Tok::RParen) {
    ++at_;
    pending.pop_back();
    EmitCall(call.target, 0);
    expectOperand_ = false;
  }
}

void Compiler::Push(std::vector<Pending>& pending, const Pending& entry) {
  if (pending.size() >= MaxNesting) {
    throw ScriptError(ErrNum::OutOfStackSpace,
                      "Out of stack space: the expression nests parentheses, calls or signs "
                      "more than " +
                          std::to_string(MaxNesting) + " levels deep",
                      static_cast<int32_t>(Peek().pos));
  }
  pending.push_back(entry);
}

void Compiler::Expression() {
  std::vector<Pending> pending;
  expectOperand_ = true;
  while (true) {
    const Token& token = Peek();
    if (expectOperand_) {
      Operand(pending, token);
      continue;
    }
    if (const auto binary = BinaryOperator(token.type)) {
      PopWhile(pending, binary->prec);
      Push(pending,
           Pending{
               Pending::Type::Binary, binary->op, binary->prec, at_, 0, {}, program_->code.size()});
      ++at_;
      expectOperand_ = true;
      continue;
    }
    if (token.type == Tok::RParen || token.type == Tok::Comma) {
      CloseGroup(pending, token);
      continue;
    }
    // The expression ends here; every group must have been closed.
    PopWhile(pending, 0);
    if (!pending.empty()) {
      const Token& open = tokens_[pending.back().token];
      Fail(token, "expected ')' to close the '(' at character " + std::to_string(open.pos + 1));
    }
    return;
  }
}

void Compiler::Operand(std::vector<Pending>& pending, const Token& token) {
  switch (token.type) {
    case Tok::Literal:
      EmitConstant(token.literal);
      ++at_;
      expectOperand_ = false;
      return;
    case Tok::Text:
      EmitText(token.text);
      ++at_;
      expectOperand_ = false;
      return;
    case Tok::Name:
      expectOperand_ = false;
      NameOperand(pending);
      return;
    case Tok::Minus:
    case Tok::Plus:
      Push(pending, Pending{Pending::Type::Prefix,
                            token.type == Tok::Minus ? Op::Negate : Op::Push,
                            kSignPrec,
                            at_,
                            0,
                            {}});
      ++at_;
      return;
    case Tok::Not:
      Push(pending, Pending{Pending::Type::Prefix, Op::Not, kNotPrec, at_, 0, {}});
      ++at_;
      return;
    case Tok::LParen:
      Push(pending, Pending{Pending::Type::Paren, Op::Push, 0, at_, 0, {}});
      ++at_;
      return;
    default:
      Fail(token, "expected an expression");
  }
}

void Compiler::PopWhile(std::vector<Pending>& pending, int prec) {
  while (!pending.empty()) {
    const Pending& top = pending.back();
    if (top.type == Pending::Type::Paren || top.type == Pending::Type::Call) return;
    if (top.prec < prec) return;
    const Pending done = top;
    pending.pop_back();
    EmitPending(done);
  }
}

void Compiler::CloseGroup(std::vector<Pending>& pending, const Token& token) {
  PopWhile(pending, 0);
  if (pending.empty()) {
    if (token.type == Tok::Comma) Fail(token, "expected an operator or the end of the expression");
    throw SyntaxError(source_, token.pos, "this ')' has no matching '('");
  }
  Pending& group = pending.back();
  ++at_;
  if (group.type == Pending::Type::Paren) {
    if (token.type == Tok::Comma) Fail(token, "expected ')'");
    pending.pop_back();
    return;
  }
  ++group.argc;
  if (token.type == Tok::Comma) {
    if (group.argc == UINT16_MAX) Fail(token, "expected ')' (too many arguments)");
    expectOperand_ = true;
    return;
  }
  const Pending call = group;
  pending.pop_back();
  EmitCall(call.target, call.argc);
}

void Compiler::Statement() {
  const Token& first = Peek();
  program_->pure = false;
  if (first.type == Tok::Reserved && IsWord(first.text, "randomize")) return Randomize();
  if (first.type != Tok::Name) Fail(first, "expected a statement such as a = 2");
  missingMember_ = false;
  const Resolved target = ResolveName();
  const bool targetMissing = missingMember_;
  if (Peek().type != Tok::Eq) Fail(Peek(), "expected '=' after '" + std::string(target.name) + "'");
  ++at_;
  Expression();
  if (targetMissing) {
    EmitFailure(ErrNum::NoSuchMember, target.name, 1);
  } else if (!target.entry) {
    Emit(Instr{Op::Store, Src::Stack, 0, names_.VariableSlot(target.name)}, 1, 0);
    return;
  } else if (target.entry->role == NameTable::Role::Variable) {
    Emit(Instr{Op::Store, Src::Stack, 0, target.entry->index}, 1, 0);
    return;
  } else {
    EmitFailure(ErrNum::IllegalAssignment, target.name, 1);
  }
  depth_ = 0;
}

void Compiler::Randomize() {
  ++at_;
  uint16_t argc = 0;
  if (Peek().type != Tok::End && Peek().type != Tok::StatementEnd) {
    Expression();
    argc = 1;
  }
  Emit(Instr{Op::Randomize, Src::Stack, argc, 0}, argc, 0);
}

std::shared_ptr<const Program> Compile(std::string_view source, CompileMode mode,
                                       NameTable& names) {
  return Compiler(source, names).Run(mode);
}

}  // namespace quon::script
