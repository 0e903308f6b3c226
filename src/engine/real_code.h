// A second, faster form of an expression for the common case of a fit: every variable it
// reads holds a Double and every operation it does stays in doubles (+ - * / ^ with at
// least one real operand, negation, Sin Cos Atn Exp Log Sqr Tan, Abs Fix Int of a real,
// and the functions of an object that offers their real form). The real code works on
// plain doubles with the operand's place folded into each operation code, and notes
// whether any result was not finite instead of checking each.
//
// The real code gives the same value as the full code whenever it succeeds: both compute
// the same IEEE operations in the same order, and every failure of the full code (an
// overflow, a division by zero, a logarithm or root outside its domain) shows as a result
// that is not finite, or as a call whose real form declines. When a run of the real code
// sees one, or a variable holds another kind, the caller runs the full code, which raises
// the error the language gives.
//
// Some texts give the same value when their variables hold whole numbers (Integers or
// Longs, as a fit's nodes at whole values do): those where every + - * still has an
// operand computed in doubles (a function's value, a quotient, a power), no whole value is
// negated (the language negates 0 to 0, not -0) and Abs, Fix and Int never take one. The
// language then computes every operation in doubles on the exact value of the whole
// number, as the real code does. Such a text's real code reads whole numbers as well.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/named_object.h"
#include "engine/variant.h"

namespace quon::script {

struct Program;

enum class RealOp : uint8_t {
  Push,
  Negate,
  Add,
  Sub,
  Mul,
  Div,
  Pow,
  Square,  // x^2, the form ^ takes for an exponent of 2
  Sin,
  Cos,
  Atn,
  Exp,
  Log,
  Sqr,
  Tan,
  Abs,
  Fix,
  Int,
  Call,  // a function of an object with a real form: calls[index] of the stack's top
};

// Where an operand is: the stack, the real constants, or a global slot.
enum class RealSrc : uint8_t { Stack, Const, Global };

struct RealInstr {
  uint8_t code = 0;  // RealOp * 3 + RealSrc
  uint32_t index = 0;
};

constexpr uint8_t EncodeReal(RealOp op, RealSrc src) {
  return static_cast<uint8_t>(static_cast<int>(op) * 3 + static_cast<int>(src));
}

struct RealCall {
  RealMemberFunction function = nullptr;
  RealBlockFunction block = nullptr;  // its form over blocks, if the object has one
  uint32_t member = 0;
  uint32_t firstVariable = 0;  // the globals slot of the object's first variable
  uint32_t variableCount = 0;  // and how many it has
};

struct RealCode {
  std::vector<RealInstr> code;  // empty: the expression has no real form
  std::vector<double> constants;
  std::vector<RealCall> calls;
  std::vector<uint32_t> reads;  // global slots that must hold Doubles
  uint32_t maxStack = 0;
  bool wholeReads = false;  // the slots read may hold Integers or Longs as well
};

// Whether the real code can read `value`: a Double, or a whole number where it allows.
inline bool RealCodeReads(const RealCode& real, const Variant& value) {
  return value.Is(Kind::Double) ||
         (real.wholeReads && (value.Is(Kind::Integer) || value.Is(Kind::Long)));
}

// The real form of a compiled expression, or an empty one.
RealCode MakeRealCode(const Program& program);

// Runs the real code; false when a global it reads holds what RealCodeReads refuses or a
// result was not finite (the caller then runs the full code). `stack` has maxStack + 1 places.
bool RunRealCode(const RealCode& real, const Variant* globals, double* stack, double& result);

}  // namespace quon::script
