#include "engine/real_code.h"

#include <algorithm>
#include <optional>

#include "engine/program.h"
#include "engine/real_arithmetic.h"

namespace quon::script {
namespace {

// What the full code would hold at a stack place: a Double, a whole or real constant, a
// variable that may hold a whole number (when the compiler asks whether whole numbers may
// be read), or anything else (no real form then).
enum class Type : uint8_t { Real, Number, Whole, Other };

std::optional<RealOp> RealOpOf(Op op) {
  switch (op) {
    case Op::Push:
      return RealOp::Push;
    case Op::Negate:
      return RealOp::Negate;
    case Op::Add:
      return RealOp::Add;
    case Op::Sub:
      return RealOp::Sub;
    case Op::Mul:
      return RealOp::Mul;
    case Op::Div:
      return RealOp::Div;
    case Op::Pow:
      return RealOp::Pow;
    case Op::Sin:
      return RealOp::Sin;
    case Op::Cos:
      return RealOp::Cos;
    case Op::Atn:
      return RealOp::Atn;
    case Op::Exp:
      return RealOp::Exp;
    case Op::Log:
      return RealOp::Log;
    case Op::Sqr:
      return RealOp::Sqr;
    case Op::Tan:
      return RealOp::Tan;
    case Op::Abs:
      return RealOp::Abs;
    case Op::Fix:
      return RealOp::Fix;
    case Op::Int:
      return RealOp::Int;
    case Op::Call:
      return RealOp::Call;
    default:
      return std::nullopt;
  }
}

class RealCompiler {
 public:
  // `wholeReads`: type every variable read as possibly whole, to learn whether the code
  // gives the full code's value for whole numbers too.
  RealCompiler(const Program& program, bool wholeReads)
      : program_(program), wholeReads_(wholeReads) {}

  RealCode Run() {
    if (!program_.yieldsValue || !program_.failures.empty()) return {};
    for (const Instr& in : program_.code) {
      if (!Translate(in)) return {};
    }
    if (types_.size() != 1 || types_.back() != Type::Real) return {};
    std::sort(real_.reads.begin(), real_.reads.end());
    real_.reads.erase(std::unique(real_.reads.begin(), real_.reads.end()), real_.reads.end());
    return std::move(real_);
  }

 private:
  // The operand of `in`: its type, and where the real code finds it.
  Type Operand(const Instr& in, RealSrc& src, uint32_t& index) {
    switch (in.src) {
      case Src::Stack: {
        src = RealSrc::Stack;
        const Type type = types_.back();
        types_.pop_back();
        return type;
      }
      case Src::Const: {
        const Variant& value = program_.constants[in.index];
        if (!value.Is(Kind::Integer) && !value.Is(Kind::Long) && !value.Is(Kind::Double)) {
          return Type::Other;
        }
        src = RealSrc::Const;
        index = static_cast<uint32_t>(real_.constants.size());
        real_.constants.push_back(value.number());
        return Type::Number;
      }
      case Src::Global:
        src = RealSrc::Global;
        index = in.index;
        real_.reads.push_back(in.index);
        return wholeReads_ ? Type::Whole : Type::Real;
    }
    return Type::Other;
  }

  bool Translate(const Instr& in) {
    const auto op = RealOpOf(in.op);
    if (!op || (in.argc > 1 && in.op != Op::Push)) return false;
    RealCall call;
    if (*op == RealOp::Call) {
      const CallSite& site = program_.calls[in.index];
      const auto members = site.object->Members();
      const auto variables = std::count_if(members.begin(), members.end(),
                                           [](const Member& m) { return !m.isFunction; });
      call = {site.object->RealForm(site.member), site.object->RealBlockForm(site.member),
              site.member, site.firstVariable, static_cast<uint32_t>(variables)};
      if (in.argc != 1 || call.function == nullptr) return false;
    }
    RealSrc src = RealSrc::Stack;
    uint32_t index = 0;
    const Type right = Operand(in, src, index);
    if (right == Type::Other) return false;
    Type result = Type::Real;
    switch (*op) {
      case RealOp::Push:
        result = right;
        break;
      case RealOp::Negate:
        if (right == Type::Whole) return false;  // -0 would be 0 there
        result = right;
        break;
      case RealOp::Add:
      case RealOp::Sub:
      case RealOp::Mul: {
        // Two whole operands would make a whole result: no real form.
        const Type left = types_.back();
        types_.pop_back();
        if (left != Type::Real && right != Type::Real) return false;
        break;
      }
      case RealOp::Div:
      case RealOp::Pow:
        types_.pop_back();
        break;  // any two numbers give a Double
      case RealOp::Abs:
      case RealOp::Fix:
      case RealOp::Int:
        if (right != Type::Real) return false;  // of a whole number: a whole number
        break;
      default:
        break;  // Sin ... Tan: a Double of any number
    }
    types_.push_back(result);
    real_.maxStack = std::max(real_.maxStack, static_cast<uint32_t>(types_.size()));
    if (*op == RealOp::Pow && src == RealSrc::Const && real_.constants[index] == 2.0) {
      EmitSquare();
    } else if (*op == RealOp::Call) {
      real_.code.push_back(RealInstr{EncodeReal(RealOp::Call, RealSrc::Stack),
                                     static_cast<uint32_t>(real_.calls.size())});
      real_.calls.push_back(call);
    } else {
      real_.code.push_back(RealInstr{EncodeReal(*op, src), index});
    }
    return true;
  }

  // x^2 as one operation on x, read in place when x was just pushed.
  void EmitSquare() {
    RealInstr square{EncodeReal(RealOp::Square, RealSrc::Stack), 0};
    const RealInstr last = real_.code.back();
    if (last.code == EncodeReal(RealOp::Push, RealSrc::Global) ||
        last.code == EncodeReal(RealOp::Push, RealSrc::Const)) {
      const bool global = last.code == EncodeReal(RealOp::Push, RealSrc::Global);
      square = RealInstr{EncodeReal(RealOp::Square, global ? RealSrc::Global : RealSrc::Const),
                         last.index};
      real_.code.pop_back();
    }
    real_.code.push_back(square);
  }

  const Program& program_;
  const bool wholeReads_;
  RealCode real_;
  std::vector<Type> types_;
};

}  // namespace

RealCode MakeRealCode(const Program& program) {
  RealCode real = RealCompiler(program, false).Run();
  real.wholeReads = !real.code.empty() && !RealCompiler(program, true).Run().code.empty();
  return real;
}

// The three places of an operand, folded into the operation code.
#define REAL_CASES(OP, FETCH_STACK, FETCH_CONST, FETCH_GLOBAL, BODY) \
  case EncodeReal(RealOp::OP, RealSrc::Stack): {                     \
    FETCH_STACK;                                                     \
    BODY;                                                            \
    break;                                                           \
  }                                                                  \
  case EncodeReal(RealOp::OP, RealSrc::Const): {                     \
    FETCH_CONST;                                                     \
    BODY;                                                            \
    break;                                                           \
  }                                                                  \
  case EncodeReal(RealOp::OP, RealSrc::Global): {                    \
    FETCH_GLOBAL;                                                    \
    BODY;                                                            \
    break;                                                           \
  }

// A binary operation: b is the right operand, a the stack's top, replaced by the result.
#define REAL_BINARY(OP, EXPR)                                                   \
  REAL_CASES(OP, const double b = *sp--, const double b = constants[in.index],  \
             const double b = globals[in.index].number(), const double a = *sp; \
             const double r = (EXPR); *sp = r; checks += r - r)

// A function of one argument: the result replaces the argument or is pushed.
#define REAL_UNARY(OP, EXPR, CHECK)                                                            \
  REAL_CASES(OP, const double a = *sp; double* out = sp, const double a = constants[in.index]; \
             double* out = ++sp, const double a = globals[in.index].number();                  \
             double* out = ++sp, const double r = (EXPR); *out = r; if (CHECK) checks += r - r)

bool RunRealCode(const RealCode& real, const Variant* globals, double* stack, double& result) {
  for (const uint32_t slot : real.reads) {
    if (!RealCodeReads(real, globals[slot])) return false;
  }
  const double* constants = real.constants.data();
  double* sp = stack - 1;
  // Sums r - r over the results that may leave the finite range: 0 while all are
  // finite, NaN from the first that is not.
  double checks = 0.0;
  for (const RealInstr& in : real.code) {
    switch (in.code) {
      case EncodeReal(RealOp::Push, RealSrc::Const):
        *++sp = constants[in.index];
        break;
      case EncodeReal(RealOp::Push, RealSrc::Global):
        *++sp = globals[in.index].number();
        break;
        REAL_BINARY(Add, real::Add(a, b))
        REAL_BINARY(Sub, real::Sub(a, b))
        REAL_BINARY(Mul, real::Mul(a, b))
        REAL_BINARY(Div, real::Div(a, b))
        REAL_BINARY(Pow, real::Pow(a, b))
        REAL_UNARY(Square, real::Square(a), true)
        REAL_UNARY(Negate, real::Negate(a), false)
        REAL_UNARY(Sin, real::Sin(a), false)
        REAL_UNARY(Cos, real::Cos(a), false)
        REAL_UNARY(Atn, real::Atn(a), false)
        REAL_UNARY(Tan, real::Tan(a), false)
        REAL_UNARY(Abs, real::Abs(a), false)
        REAL_UNARY(Fix, real::Fix(a), false)
        REAL_UNARY(Int, real::Int(a), false)
        REAL_UNARY(Exp, real::Exp(a), true)
        REAL_UNARY(Log, real::Log(a), true)
        REAL_UNARY(Sqr, real::Sqr(a), true)
      case EncodeReal(RealOp::Call, RealSrc::Stack): {
        const RealCall& call = real.calls[in.index];
        if (!call.function(call.member, *sp, globals + call.firstVariable, *sp)) return false;
        break;
      }
      default:
        return false;
    }
  }
  if (checks != 0.0) return false;
  result = *sp;
  return true;
}

#undef REAL_UNARY
#undef REAL_BINARY
#undef REAL_CASES

}  // namespace quon::script
