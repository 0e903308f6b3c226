#include <algorithm>

#include "engine/compiler_detail.h"
#include "engine/operators.h"

namespace quon::script {

void Compiler::Emit(Instr instr, int pops, int pushes) {
  program_->code.push_back(instr);
  depth_ += pushes - pops;
  program_->maxStack = std::max(program_->maxStack, static_cast<uint32_t>(std::max(depth_, 0)));
}

void Compiler::EmitConstant(const Variant& value) {
  Emit(Instr{Op::Push, Src::Const, 0, static_cast<uint32_t>(program_->constants.size())}, 0, 1);
  program_->constants.push_back(value);
}

void Compiler::EmitText(std::string_view quoted) {
  auto text = std::make_unique<std::string>();
  for (size_t i = 1; i + 1 < quoted.size(); ++i) {
    text->push_back(quoted[i]);
    if (quoted[i] == '"') ++i;  // "" stands for one quote
  }
  EmitConstant(Variant::String(text.get()));
  program_->texts.push_back(std::move(text));
}

void Compiler::EmitFailure(ErrNum number, std::string_view name, int pops) {
  Emit(Instr{Op::Fail, Src::Stack, 0, static_cast<uint32_t>(program_->failures.size())}, pops, 1);
  program_->failures.push_back(Failure{number, std::string(name)});
}

void Compiler::EmitOperation(Op op, bool binary) {
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

bool Compiler::FoldNegation(uint32_t constant) {
  Variant& value = program_->constants[constant];
  if (value.Is(Kind::String)) return false;
  Variant negated = value;
  if (Negate(negated) != ErrNum::None) return false;
  value = negated;
  return true;
}

bool Compiler::SwapConstantLeft(const Pending& pending) {
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

void Compiler::EmitPending(const Pending& pending) {
  if (pending.type == Pending::Type::Binary) {
    if (!SwapConstantLeft(pending)) EmitOperation(pending.op, true);
  } else if (pending.op != Op::Push) {  // unary + leaves its operand as it is
    EmitOperation(pending.op, false);
  }
}

void Compiler::EmitCall(const CallTarget& target, uint16_t argc) {
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

}  // namespace quon::script
