#include "engine/vm.h"

#include <new>
#include <span>

#include "engine/builtins.h"

namespace quon::script {

const std::string Runner::kNoName;

namespace {

// Comparisons and logical operators share their order with BinaryOp.
static_assert(static_cast<int>(Op::Imp) - static_cast<int>(Op::Add) ==
              static_cast<int>(BinaryOp::Imp));
static_assert(static_cast<int>(Op::Eq) - static_cast<int>(Op::Add) ==
              static_cast<int>(BinaryOp::Eq));

constexpr uint32_t Bit(Kind kind) { return 1u << static_cast<uint32_t>(kind); }
constexpr uint32_t kNumericKinds = Bit(Kind::Empty) | Bit(Kind::Boolean) | Bit(Kind::Integer) |
                                   Bit(Kind::Long) | Bit(Kind::Double);

// Two operands whose result the language computes in doubles: both numeric and one a
// Double (an Integer beside a Double widens to Double). Empty is left out for + only,
// where it returns the other operand unchanged (so -0 stays -0).
inline bool RealOperands(const Variant& a, const Variant& b, uint32_t allowed) {
  const uint32_t kinds = Bit(a.kind()) | Bit(b.kind());
  return (kinds & ~allowed) == 0 && (kinds & Bit(Kind::Double)) != 0;
}

}  // namespace

ErrNum RunProgram(const Program& program, Globals& globals, Runner& runner, RunMode mode) {
  if (globals.size() < program.slotCount) globals.Resize(program.slotCount);
  if (mode == RunMode::Fastest && !program.real.code.empty()) {
    // Real code needs a stack of doubles: on the machine stack when it is small.
    constexpr uint32_t kLocalStack = 64;
    double local[kLocalStack];
    double* stack = local;
    if (program.real.maxStack >= kLocalStack) {
      if (runner.reals_.size() < program.real.maxStack + 1)
        runner.reals_.resize(program.real.maxStack + 1);
      stack = runner.reals_.data();
    }
    double value = 0.0;
    if (RunRealCode(program.real, globals.data(), stack, value)) {
      runner.result_ = Variant::Double(value);
      return ErrNum::None;
    }
  }
  if (runner.stack_.size() < program.maxStack + 1) runner.stack_.resize(program.maxStack + 1);
  runner.scratch_.Reset();
  runner.failedName_ = &Runner::kNoName;

  BuiltinContext context{runner.scratch_, runner.random_};
  const Variant* constants = program.constants.data();
  Variant* g = globals.data();
  Variant* sp = runner.stack_.data() - 1;  // the top of the stack
  ErrNum err = ErrNum::None;

  // Constants and globals by Src, so that reading an operand in place is one index.
  static_assert(static_cast<int>(Src::Const) == 1 && static_cast<int>(Src::Global) == 2);
  const Variant* const places[3] = {nullptr, constants, g};

  // The operand of an instruction: popped from the stack or read in place.
  auto operand = [&](const Instr& in) -> const Variant& {
    if (in.src == Src::Stack) return *sp--;
    return places[static_cast<int>(in.src)][in.index];
  };
  // The argument of a one-argument operation, on top of the stack, to be replaced in place.
  auto argument = [&](const Instr& in) -> Variant& {
    if (in.src != Src::Stack) *++sp = places[static_cast<int>(in.src)][in.index];
    return *sp;
  };

  for (const Instr& in : program.code) {
    switch (in.op) {
      case Op::Push:
        *++sp = places[static_cast<int>(in.src)][in.index];
        break;
      case Op::Store:
        err = globals.Assign(in.index, *sp--);
        break;
      case Op::Fail: {
        const Failure& failure = program.failures[in.index];
        runner.failedName_ = &failure.name;
        return failure.number;
      }
      case Op::Call: {
        const CallSite& call = program.calls[in.index];
        Variant* args = sp - in.argc + 1;
        Variant result;
        err = call.object->Call(call.member, std::span<const Variant>(args, in.argc),
                                g + call.firstVariable, result);
        sp = args;
        *sp = result;
        break;
      }
      case Op::Negate: {
        Variant& a = argument(in);
        if (a.Is(Kind::Double)) {
          a = Variant::Double(real::Negate(a.number()));
        } else {
          err = Negate(a);
        }
        break;
      }
      case Op::Not:
        err = Not(argument(in));
        break;
      case Op::Add: {
        const Variant& b = operand(in);
        Variant& a = *sp;
        if (RealOperands(a, b, kNumericKinds & ~Bit(Kind::Empty))) {
          err = CheckedDouble(real::Add(a.number(), b.number()), a);
        } else {
          err = Add(a, b, runner.scratch_);
        }
        break;
      }
      case Op::Sub: {
        const Variant& b = operand(in);
        Variant& a = *sp;
        if (RealOperands(a, b, kNumericKinds)) {
          err = CheckedDouble(real::Sub(a.number(), b.number()), a);
        } else {
          err = Subtract(a, b);
        }
        break;
      }
      case Op::Mul: {
        const Variant& b = operand(in);
        Variant& a = *sp;
        if (RealOperands(a, b, kNumericKinds)) {
          err = CheckedDouble(real::Mul(a.number(), b.number()), a);
        } else {
          err = Multiply(a, b);
        }
        break;
      }
      case Op::Div: {
        const Variant& b = operand(in);
        Variant& a = *sp;
        // Byte, Single and Currency leave this to Divide: a Single quotient stays Single.
        if (((Bit(a.kind()) | Bit(b.kind())) & ~kNumericKinds) == 0 && b.number() != 0.0) {
          err = CheckedDouble(real::Div(a.number(), b.number()), a);
        } else {
          err = Divide(a, b);
        }
        break;
      }
      case Op::Pow: {
        const Variant& b = operand(in);
        Variant& a = *sp;
        if (a.IsNumeric() && b.IsNumeric()) {
          err = CheckedDouble(real::Pow(a.number(), b.number()), a);
        } else {
          err = Power(a, b);
        }
        break;
      }
      case Op::IntDiv: {
        const Variant& b = operand(in);
        err = IntegerDivide(*sp, b);
        break;
      }
      case Op::Mod: {
        const Variant& b = operand(in);
        err = Modulo(*sp, b);
        break;
      }
      case Op::Concat: {
        const Variant& b = operand(in);
        err = Concatenate(*sp, b, runner.scratch_);
        break;
      }
      case Op::Eq:
      case Op::Ne:
      case Op::Lt:
      case Op::Gt:
      case Op::Le:
      case Op::Ge: {
        const Variant& b = operand(in);
        err = Compare(static_cast<BinaryOp>(static_cast<int>(in.op) - static_cast<int>(Op::Add)),
                      *sp, b);
        break;
      }
      case Op::And:
      case Op::Or:
      case Op::Xor:
      case Op::Eqv:
      case Op::Imp: {
        const Variant& b = operand(in);
        err = Logical(static_cast<BinaryOp>(static_cast<int>(in.op) - static_cast<int>(Op::Add)),
                      *sp, b);
        break;
      }
      case Op::Sin:
      case Op::Cos:
      case Op::Atn: {
        Variant& a = argument(in);
        if (a.IsNumeric()) {
          const double x = a.number();
          a = Variant::Double(in.op == Op::Sin   ? real::Sin(x)
                              : in.op == Op::Cos ? real::Cos(x)
                                                 : real::Atn(x));
        } else {
          err = CallBuiltin(in.op, &a, 1, a, context);
        }
        break;
      }
      case Op::Randomize: {
        // A statement: takes its argument, if any, and leaves nothing.
        Variant unused;
        err = CallBuiltin(in.op, sp - in.argc + 1, in.argc, unused, context);
        sp -= in.argc;
        break;
      }
      default: {
        // The other built-ins: one argument in place, or argc arguments on the stack (none
        // pushes a place for the result).
        if (in.argc == 1) {
          Variant& a = argument(in);
          err = CallBuiltin(in.op, &a, 1, a, context);
        } else {
          Variant* args = sp - in.argc + 1;
          if (in.argc == 0) *++sp = Variant();
          err = CallBuiltin(in.op, args, in.argc, *args, context);
          sp = args;
        }
        break;
      }
    }
    if (err != ErrNum::None) return err;
    // The texts the operation consumed are freed now, not at the end of the run.
    if (runner.scratch_.InUse()) {
      runner.scratch_.KeepOnly(std::span<const Variant>(
          runner.stack_.data(), static_cast<std::size_t>(sp + 1 - runner.stack_.data())));
    }
  }
  runner.result_ = program.yieldsValue ? *sp : Variant();
  return ErrNum::None;
}

ErrNum Run(const Program& program, Globals& globals, Runner& runner, RunMode mode) {
  try {
    return RunProgram(program, globals, runner, mode);
  } catch (const std::bad_alloc&) {
    // A text or a stack larger than memory fails the run like any other error.
    runner.scratch_.Reset();
    return ErrNum::OutOfMemory;
  }
}

std::string RunErrorDescription(ErrNum number, const Runner& runner) {
  std::string description = ErrorDescription(number);
  if (!runner.failedName().empty()) description += ": '" + runner.failedName() + "'";
  return description;
}

}  // namespace quon::script
