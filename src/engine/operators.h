// The language's operators on variants, each with the language's rules for kinds:
// Null propagates; Empty counts as 0 (or "" beside a text); a text is read as a number
// where arithmetic needs one (13 when it is none) except that + joins two texts.
// + - * keep the wider operand kind along Byte, Integer (and Boolean), Long, Single,
// Double and widen a whole result that does not fit (Byte to Integer to Long to Double)
// and a Single one to Double; a Single beside a Long gives a Double; a Currency operand
// makes the result Currency (6 when it does not fit), except that * ranks a Double above
// it. / gives a Double, or a Single for Singles beside Byte, Integer or Single; ^ always
// a Double; \, Mod and the logical operators round their operands half-even to Long
// first (6 beyond its range) and keep Byte and Integer kinds. Every Double result is
// checked: infinity is 6, not-a-number 5, a division by zero 11 (0/0 is 6).
//
// Each function writes its result over the left operand, so that the interpreter works
// in place on its stack; texts it builds go to the run's scratch.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/err_num.h"
#include "engine/real_arithmetic.h"
#include "engine/string_scratch.h"
#include "engine/variant.h"

namespace quon::script {

enum class BinaryOp : uint8_t {
  Add,
  Sub,
  Mul,
  Div,
  IntDiv,
  Mod,
  Pow,
  Concat,
  Eq,
  Ne,
  Lt,
  Gt,
  Le,
  Ge,
  And,
  Or,
  Xor,
  Eqv,
  Imp,
};

ErrNum Add(Variant& left, const Variant& right, StringScratch& scratch);
ErrNum Subtract(Variant& left, const Variant& right);
ErrNum Multiply(Variant& left, const Variant& right);
ErrNum Divide(Variant& left, const Variant& right);
ErrNum IntegerDivide(Variant& left, const Variant& right);
ErrNum Modulo(Variant& left, const Variant& right);
ErrNum Power(Variant& left, const Variant& right);
ErrNum Concatenate(Variant& left, const Variant& right, StringScratch& scratch);
ErrNum Compare(BinaryOp op, Variant& left, const Variant& right);
ErrNum Logical(BinaryOp op, Variant& left, const Variant& right);

ErrNum Negate(Variant& value);
ErrNum Not(Variant& value);

// A checked Double result: 6 for an infinity, 5 for not-a-number.
inline ErrNum CheckedDouble(double result, Variant& out) {
  const ErrNum err = real::ResultFailure(result);
  if (err == ErrNum::None) out = Variant::Double(result);
  return err;
}

}  // namespace quon::script
