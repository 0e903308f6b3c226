#include "engine/operators.h"

#include <algorithm>
#include <cmath>

#include "engine/conversions.h"
#include "engine/currency.h"
#include "engine/operand_rank.h"

namespace quon::script {
namespace {

enum class Arith { Add, Sub, Mul };

// The kind of + - * results. Currency outranks everything for + and -, while * ranks a
// Double (or a text) above it.
Rank ArithmeticRank(Arith op, Rank a, Rank b) {
  const Rank high = std::max(a, b);
  if (high == Rank::Currency) {
    return op == Arith::Mul && std::min(a, b) == Rank::Double ? Rank::Double : Rank::Currency;
  }
  if (high == Rank::Single && !GivesSingle(a, b)) return Rank::Double;
  return high == Rank::Empty ? Rank::Integer : high;
}

ErrNum CurrencyArithmetic(Arith op, Variant& left, const Variant& right) {
  int64_t a = 0;
  int64_t b = 0;
  int64_t result = 0;
  if (ErrNum err = ToCurrency(left, a); err != ErrNum::None) return err;
  if (ErrNum err = ToCurrency(right, b); err != ErrNum::None) return err;
  const ErrNum err = op == Arith::Add   ? currency::Add(a, b, result)
                     : op == Arith::Sub ? currency::Subtract(a, b, result)
                                        : currency::Multiply(a, b, result);
  if (err == ErrNum::None) left = Variant::Currency(result);
  return err;
}

ErrNum Arithmetic(Arith op, Variant& left, const Variant& right) {
  if (left.Is(Kind::Null) || right.Is(Kind::Null)) {
    left = Variant::Null();
    return ErrNum::None;
  }
  Operand a;
  Operand b;
  if (ErrNum err = ToOperand(left, a); err != ErrNum::None) return err;
  if (ErrNum err = ToOperand(right, b); err != ErrNum::None) return err;
  const Rank rank = ArithmeticRank(op, a.rank, b.rank);
  if (rank == Rank::Currency) return CurrencyArithmetic(op, left, right);
  if (rank == Rank::Double || rank == Rank::Single) {
    const double r = op == Arith::Add   ? real::Add(a.number, b.number)
                     : op == Arith::Sub ? real::Sub(a.number, b.number)
                                        : real::Mul(a.number, b.number);
    return rank == Rank::Single ? SingleResult(r, left) : CheckedDouble(r, left);
  }
  const auto x = static_cast<int64_t>(a.number);
  const auto y = static_cast<int64_t>(b.number);
  left = WholeResult(op == Arith::Add ? x + y : op == Arith::Sub ? x - y : x * y, rank);
  return ErrNum::None;
}

int32_t BitwiseResult(BinaryOp op, int32_t a, int32_t b) {
  switch (op) {
    case BinaryOp::And:
      return a & b;
    case BinaryOp::Or:
      return a | b;
    case BinaryOp::Xor:
      return a ^ b;
    case BinaryOp::Eqv:
      return ~(a ^ b);
    default:
      return ~a | b;  // Imp
  }
}

// A logical operator with one Null operand: the result is known only where the other
// operand decides it alone (False And Null is False, True Or Null is True, ...).
ErrNum LogicalWithNull(BinaryOp op, Variant& left, const Variant& right) {
  const bool leftNull = left.Is(Kind::Null);
  const Variant& other = leftNull ? right : left;
  if (other.Is(Kind::Null)) {
    left = Variant::Null();
    return ErrNum::None;
  }
  int32_t value = 0;
  Rank rank = Rank::Integer;
  if (ErrNum err = ToWhole(other, value, rank); err != ErrNum::None) return err;
  bool decided = false;
  int32_t result = 0;
  switch (op) {
    case BinaryOp::And:
      decided = value == 0, result = 0;
      break;
    case BinaryOp::Or:
      decided = value == -1, result = -1;
      break;
    case BinaryOp::Imp:
      // Null Imp True and False Imp Null are True.
      decided = leftNull ? value == -1 : value == 0, result = -1;
      break;
    default:
      break;
  }
  if (!decided) {
    left = Variant::Null();
  } else if (other.Is(Kind::Boolean)) {
    left = Variant::Boolean(result != 0);
  } else {
    left = WholeOfRank(result, rank);
  }
  return ErrNum::None;
}

}  // namespace

ErrNum Add(Variant& left, const Variant& right, StringScratch& scratch) {
  if (left.Is(Kind::Null) || right.Is(Kind::Null)) {
    left = Variant::Null();
    return ErrNum::None;
  }
  if (left.Is(Kind::String) && right.Is(Kind::String)) {
    if (left.text().size() + right.text().size() > MaxTextLength) return ErrNum::OutOfStringSpace;
    std::string& joined = scratch.Next();
    joined.reserve(left.text().size() + right.text().size());
    joined.append(left.text()).append(right.text());
    left = Variant::String(&joined);
    return ErrNum::None;
  }
  // One Empty operand gives the other unchanged; two give the Integer 0.
  if (left.Is(Kind::Empty) && right.Is(Kind::Empty)) {
    left = Variant::Integer(0);
    return ErrNum::None;
  }
  if (right.Is(Kind::Empty)) return ErrNum::None;
  if (left.Is(Kind::Empty)) {
    left = right;
    return ErrNum::None;
  }
  return Arithmetic(Arith::Add, left, right);
}

ErrNum Subtract(Variant& left, const Variant& right) { return Arithmetic(Arith::Sub, left, right); }

ErrNum Multiply(Variant& left, const Variant& right) { return Arithmetic(Arith::Mul, left, right); }

ErrNum Divide(Variant& left, const Variant& right) {
  if (left.Is(Kind::Null) || right.Is(Kind::Null)) {
    left = Variant::Null();
    return ErrNum::None;
  }
  Operand a;
  Operand b;
  if (ErrNum err = ToOperand(left, a); err != ErrNum::None) return err;
  if (ErrNum err = ToOperand(right, b); err != ErrNum::None) return err;
  if (ErrNum err = real::DivideFailure(a.number, b.number); err != ErrNum::None) return err;
  const double quotient = real::Div(a.number, b.number);
  return GivesSingle(a.rank, b.rank) ? SingleResult(quotient, left) : CheckedDouble(quotient, left);
}

namespace {

// \ and Mod: Null propagates; otherwise both operands are rounded to whole numbers, a zero
// divisor is error 11, and `whole` combines them in 64 bits (so that -2147483648 Mod -1 is
// 0 rather than a trap). The result has the wider rank of the two operands.
template <typename WholeOperation>
ErrNum WholeDivision(Variant& left, const Variant& right, WholeOperation whole) {
  if (left.Is(Kind::Null) || right.Is(Kind::Null)) {
    left = Variant::Null();
    return ErrNum::None;
  }
  int32_t a = 0;
  int32_t b = 0;
  Rank ra = Rank::Integer;
  Rank rb = Rank::Integer;
  if (ErrNum err = ToWhole(left, a, ra); err != ErrNum::None) return err;
  if (ErrNum err = ToWhole(right, b, rb); err != ErrNum::None) return err;
  if (b == 0) return ErrNum::DivisionByZero;
  const int64_t result = whole(int64_t{a}, int64_t{b});
  if (result > INT32_MAX) return ErrNum::Overflow;  // only -2147483648 \ -1
  left = WholeResult(result, std::max(ra, rb));
  return ErrNum::None;
}

}  // namespace

ErrNum IntegerDivide(Variant& left, const Variant& right) {
  return WholeDivision(left, right, [](int64_t a, int64_t b) { return a / b; });
}

ErrNum Modulo(Variant& left, const Variant& right) {
  // The sign of the remainder follows the dividend.
  return WholeDivision(left, right, [](int64_t a, int64_t b) { return a % b; });
}

ErrNum Power(Variant& left, const Variant& right) {
  if (left.Is(Kind::Null) || right.Is(Kind::Null)) {
    left = Variant::Null();
    return ErrNum::None;
  }
  Operand a;
  Operand b;
  if (ErrNum err = ToOperand(left, a); err != ErrNum::None) return err;
  if (ErrNum err = ToOperand(right, b); err != ErrNum::None) return err;
  return CheckedDouble(real::Pow(a.number, b.number), left);
}

ErrNum Concatenate(Variant& left, const Variant& right, StringScratch& scratch) {
  if (left.Is(Kind::Null) && right.Is(Kind::Null)) return ErrNum::None;
  std::string& joined = scratch.Next();
  AppendText(left, joined);
  AppendText(right, joined);
  // Both parts are at most MaxTextLength long, so the joined text stays bounded too.
  if (joined.size() > MaxTextLength) return ErrNum::OutOfStringSpace;
  left = Variant::String(&joined);
  return ErrNum::None;
}

ErrNum Compare(BinaryOp op, Variant& left, const Variant& right) {
  if (left.Is(Kind::Null) || right.Is(Kind::Null)) {
    left = Variant::Null();
    return ErrNum::None;
  }
  int order = 0;
  const bool leftText = left.Is(Kind::String);
  const bool rightText = right.Is(Kind::String);
  if (left.Is(Kind::Currency) && right.Is(Kind::Currency)) {
    // Exactly: counts near the ends of the range share their nearest double.
    const int64_t a = left.currency();
    const int64_t b = right.currency();
    order = a < b ? -1 : a > b ? 1 : 0;
  } else if (!leftText && !rightText) {
    order = left.number() < right.number() ? -1 : left.number() > right.number() ? 1 : 0;
  } else if (leftText && rightText) {
    order = left.text().compare(right.text());
  } else if (left.Is(Kind::Empty)) {
    order = right.text().empty() ? 0 : -1;
  } else if (right.Is(Kind::Empty)) {
    order = left.text().empty() ? 0 : 1;
  } else {
    order = leftText ? 1 : -1;  // a number sorts before a text
  }
  bool result = false;
  switch (op) {
    case BinaryOp::Eq:
      result = order == 0;
      break;
    case BinaryOp::Ne:
      result = order != 0;
      break;
    case BinaryOp::Lt:
      result = order < 0;
      break;
    case BinaryOp::Gt:
      result = order > 0;
      break;
    case BinaryOp::Le:
      result = order <= 0;
      break;
    default:
      result = order >= 0;
      break;  // Ge
  }
  left = Variant::Boolean(result);
  return ErrNum::None;
}

ErrNum Logical(BinaryOp op, Variant& left, const Variant& right) {
  if (left.Is(Kind::Null) || right.Is(Kind::Null)) return LogicalWithNull(op, left, right);
  if (left.Is(Kind::Boolean) && right.Is(Kind::Boolean)) {
    left = Variant::Boolean(BitwiseResult(op, left.integer(), right.integer()) != 0);
    return ErrNum::None;
  }
  int32_t a = 0;
  int32_t b = 0;
  Rank ra = Rank::Integer;
  Rank rb = Rank::Integer;
  if (ErrNum err = ToWhole(left, a, ra); err != ErrNum::None) return err;
  if (ErrNum err = ToWhole(right, b, rb); err != ErrNum::None) return err;
  left = WholeOfRank(BitwiseResult(op, a, b), std::max(ra, rb));
  return ErrNum::None;
}

ErrNum Negate(Variant& value) {
  switch (value.kind()) {
    case Kind::Null:
      return ErrNum::None;
    case Kind::Empty:
      value = Variant::Integer(0);
      return ErrNum::None;
    case Kind::Boolean:
    case Kind::Integer:
      value = WholeResult(-static_cast<int64_t>(value.integer()), Rank::Integer);
      return ErrNum::None;
    case Kind::Byte:  // a negated Byte is an Integer
      value = Variant::Integer(static_cast<int16_t>(-value.integer()));
      return ErrNum::None;
    case Kind::Long:
      value = WholeResult(-static_cast<int64_t>(value.integer()), Rank::Long);
      return ErrNum::None;
    case Kind::Single:
      value = Variant::Single(-static_cast<float>(value.number()));
      return ErrNum::None;
    case Kind::Currency: {
      int64_t negated = 0;
      if (ErrNum err = currency::Negate(value.currency(), negated); err != ErrNum::None) return err;
      value = Variant::Currency(negated);
      return ErrNum::None;
    }
    case Kind::Double:
      value = Variant::Double(real::Negate(value.number()));
      return ErrNum::None;
    case Kind::String: {
      double number = 0.0;
      if (ErrNum err = ParseNumericText(value.text(), number); err != ErrNum::None) return err;
      value = Variant::Double(real::Negate(number));
      return ErrNum::None;
    }
  }
  return ErrNum::None;
}

ErrNum Not(Variant& value) {
  switch (value.kind()) {
    case Kind::Null:
      return ErrNum::None;
    case Kind::Boolean:
      value = Variant::Boolean(value.integer() == 0);
      return ErrNum::None;
    case Kind::Empty:
    case Kind::Integer:
      value = Variant::Integer(static_cast<int16_t>(~value.integer()));
      return ErrNum::None;
    case Kind::Byte:
      value = Variant::Byte(static_cast<uint8_t>(~value.integer()));
      return ErrNum::None;
    default: {
      int32_t number = 0;
      Rank rank = Rank::Long;
      if (ErrNum err = ToWhole(value, number, rank); err != ErrNum::None) return err;
      value = Variant::Long(~number);
      return ErrNum::None;
    }
  }
}

}  // namespace quon::script
