#include "compiler.h"

#include <algorithm>
#include <vector>

#include "lexer.h"
#include "operators.h"

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

// What a call resolves to when its ")" is reached.
struct CallTarget {
  NameTable::Entry entry;
  bool known = false;  // false: the name is no function (13 when called)
  std::string_view name;
};

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

  std::shared_ptr<const Program> Run(CompileMode mode) {
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

 private:
  const Token& Peek(size_t ahead = 0) const {
    return tokens_[std::min(at_ + ahead, tokens_.size() - 1)];
  }

  [[noreturn]] void Fail(const Token& token, const std::string& what) const {
    throw SyntaxError(source_, token.pos, what + ", found " + DescribeToken(token));
  }

  // --- emission ---------------------------------------------------------------------

  void Emit(Instr instr, int pops, int pushes) {
    program_->code.push_back(instr);
    depth_ += pushes - pops;
    program_->maxStack = std::max(program_->maxStack, static_cast<uint32_t>(std::max(depth_, 0)));
  }

  void EmitConstant(const Variant& value) {
    Emit(Instr{Op::Push, Src::Const, 0, static_cast<uint32_t>(program_->constants.size())}, 0, 1);
    program_->constants.push_back(value);
  }

  void EmitText(std::string_view quoted) {
    auto text = std::make_unique<std::string>();
    for (size_t i = 1; i + 1 < quoted.size(); ++i) {
      text->push_back(quoted[i]);
      if (quoted[i] == '"') ++i;  // "" stands for one quote
    }
    EmitConstant(Variant::String(text.get()));
    program_->texts.push_back(std::move(text));
  }

  void EmitFailure(ErrNum number, std::string_view name, int pops) {
    Emit(Instr{Op::Fail, Src::Stack, 0, static_cast<uint32_t>(program_->failures.size())}, pops, 1);
    program_->failures.push_back(Failure{number, std::string(name)});
  }

  // An operation on the top of the stack whose (right or only) operand is the value the
  // last instruction pushed: a push of a constant or global is folded into it.
  void EmitOperation(Op op, bool binary) {
    Instr instr{op, Src::Stack, 1, 0};
    if (!program_->code.empty() && program_->code.back().op == Op::Push) {
      const Instr push = program_->code.back();
      if (op == Op::Negate && push.src == Src::Const && FoldNegation(push.index)) return;
      program_->code.pop_back();
      --depth_;
      instr.src = push.src;
      instr.index = push.index;
      // The operand no longer comes from the stack: a binary operation works on the left
      // operand in place, a unary one pushes its result.
      Emit(instr, 0, binary ? 0 : 1);
      return;
    }
    Emit(instr, binary ? 1 : 0, 0);
  }

  // -literal is a constant of its own: the same negation, done once.
  bool FoldNegation(uint32_t constant) {
    Variant& value = program_->constants[constant];
    if (value.Is(Kind::String)) return false;
    Variant negated = value;
    if (Negate(negated) != ErrNum::None) return false;
    value = negated;
    return true;
  }

  // A constant number on the left of + or * (4*cos(z)) trades places with the right
  // operand, so that it is read in place: both operators give the same value and kind in
  // either order when one operand is a number, and a constant has no effects to reorder.
  // Only for short right operands, as the constant is taken out of the code.
  bool SwapConstantLeft(const Pending& pending) {
    constexpr size_t kMaxMove = 64;
    auto& code = program_->code;
    if ((pending.op != Op::Add && pending.op != Op::Mul) || pending.rightStart == 0 ||
        code.back().op == Op::Push || code.size() - pending.rightStart > kMaxMove) {
      return false;
    }
    const Instr left = code[pending.rightStart - 1];
    if (left.op != Op::Push || left.src != Src::Const ||
        program_->constants[left.index].Is(Kind::String)) {
      return false;
    }
    code.erase(code.begin() + static_cast<std::ptrdiff_t>(pending.rightStart - 1));
    --depth_;
    Emit(Instr{pending.op, Src::Const, 1, left.index}, 0, 0);
    return true;
  }

  void EmitPending(const Pending& pending) {
    if (pending.type == Pending::Type::Binary) {
      if (!SwapConstantLeft(pending)) EmitOperation(pending.op, true);
    } else if (pending.op != Op::Push) {  // unary + leaves its operand as it is
      EmitOperation(pending.op, false);
    }
  }

  void EmitCall(const CallTarget& target, uint16_t argc) {
    const NameTable::Entry& entry = target.entry;
    if (!target.known) {
      EmitFailure(ErrNum::TypeMismatch, target.name, argc);
      return;
    }
    if (argc < entry.minArgs || argc > entry.maxArgs) {
      EmitFailure(ErrNum::WrongArgumentCount, target.name, argc);
      return;
    }
    if (entry.role == NameTable::Role::Builtin) {
      if (!entry.pure) program_->pure = false;
      if (argc == 1) {
        EmitOperation(entry.builtin, false);
      } else {
        Emit(Instr{entry.builtin, Src::Stack, argc, 0}, argc, 1);
      }
      return;
    }
    const NameTable::Object& object = names_.object(entry.index);
    Emit(Instr{Op::Call, Src::Stack, argc, static_cast<uint32_t>(program_->calls.size())}, argc, 1);
    program_->calls.push_back(CallSite{object.object.get(), entry.member, object.firstVariable});
    if (std::find(program_->objects.begin(), program_->objects.end(), object.object) ==
        program_->objects.end()) {
      program_->objects.push_back(object.object);
    }
  }

  // --- names --------------------------------------------------------------------------

  // Resolves a name (and ".member" after an object) at the current token; leaves at_ on
  // the token after it.
  struct Resolved {
    std::optional<NameTable::Entry> entry;
    std::string_view name;
  };

  Resolved ResolveName() {
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

  // A name in operand position: a variable, a call, or a function used without its
  // arguments.
  void NameOperand(std::vector<Pending>& pending) {
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
      const bool known =
          resolved.entry && (resolved.entry->role == NameTable::Role::Builtin ||
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

  // Opens the argument list of a call at "(".
  void OpenCall(std::vector<Pending>& pending, const Resolved& resolved, bool known) {
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

  void Push(std::vector<Pending>& pending, const Pending& entry) {
    if (pending.size() >= MaxNesting) {
      throw ScriptError(ErrNum::OutOfStackSpace,
                         "Out of stack space: the expression nests parentheses, calls or signs "
                         "more than " +
                             std::to_string(MaxNesting) + " levels deep",
                        static_cast<int32_t>(Peek().pos));
    }
    pending.push_back(entry);
  }

  // --- expressions ----------------------------------------------------------------------

  void Expression() {
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
        Push(pending, Pending{Pending::Type::Binary,
                              binary->op,
                              binary->prec,
                              at_,
                              0,
                              {},
                              program_->code.size()});
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

  void Operand(std::vector<Pending>& pending, const Token& token) {
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

  // Emits pending operators that bind at least as tightly as `prec`.
  void PopWhile(std::vector<Pending>& pending, int prec) {
    while (!pending.empty()) {
      const Pending& top = pending.back();
      if (top.type == Pending::Type::Paren || top.type == Pending::Type::Call) return;
      if (top.prec < prec) return;
      const Pending done = top;
      pending.pop_back();
      EmitPending(done);
    }
  }

  // ")" or "," after an operand.
  void CloseGroup(std::vector<Pending>& pending, const Token& token) {
    PopWhile(pending, 0);
    if (pending.empty()) {
      if (token.type == Tok::Comma)
        Fail(token, "expected an operator or the end of the expression");
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

  // --- statements -----------------------------------------------------------------------

  void Statement() {
    const Token& first = Peek();
    program_->pure = false;
    if (first.type == Tok::Reserved && IsWord(first.text, "randomize")) return Randomize();
    if (first.type != Tok::Name) Fail(first, "expected a statement such as a = 2");
    missingMember_ = false;
    const Resolved target = ResolveName();
    const bool targetMissing = missingMember_;
    if (Peek().type != Tok::Eq)
      Fail(Peek(), "expected '=' after '" + std::string(target.name) + "'");
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

  // "Randomize" or "Randomize number": reseeds the random generator.
  void Randomize() {
    ++at_;
    uint16_t argc = 0;
    if (Peek().type != Tok::End && Peek().type != Tok::StatementEnd) {
      Expression();
      argc = 1;
    }
    Emit(Instr{Op::Randomize, Src::Stack, argc, 0}, argc, 0);
  }

  static bool IsWord(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c) != lower[i]) return false;
    }
    return true;
  }

  std::string_view source_;
  NameTable& names_;
  std::vector<Token> tokens_;
  std::shared_ptr<Program> program_;
  size_t at_ = 0;
  int depth_ = 0;
  bool expectOperand_ = true;
  bool missingMember_ = false;
};

}  // namespace

std::shared_ptr<const Program> Compile(std::string_view source, CompileMode mode,
                                       NameTable& names) {
  return Compiler(source, names).Run(mode);
}

}  // namespace quon::script
