// The language's arithmetic on doubles, defined once: the value of every operator and
// function whose result is a Double, and the failure each may give. Every path that
// computes in doubles calls these (the operators on variants, the interpreter's inline
// paths for Double operands, the all-double real code, the math object), so that they
// agree bit for bit; a path over blocks of points is one more caller of the same
// functions.
//
// Each value is one IEEE operation or one call of the C library, in the order written;
// nothing is contracted into a fused multiply-add (the engine and its callers that must
// agree with it compile with -ffp-contract=off).
// Failures: an infinite result is an overflow (6), a NaN an invalid call (5); a few are
// decided by the operands before the result (x / 0 is 11 and 0 / 0 is 6; the logarithm
// of x <= 0 and the square root of x < 0 are 5). Every failure decided by the operands
// also shows as a result that is not finite, which lets a path check only at its end.
#pragma once

#include <cmath>

#include "engine/err_num.h"

namespace quon::script::real {

inline double Add(double a, double b) { return a + b; }
inline double Sub(double a, double b) { return a - b; }
inline double Mul(double a, double b) { return a * b; }
inline double Div(double a, double b) { return a / b; }
inline double Negate(double a) { return -a; }
// x^2 is the correctly rounded square, which pow only approaches within an ulp.
inline double Square(double a) { return a * a; }
inline double Pow(double a, double b) { return b == 2.0 ? Square(a) : std::pow(a, b); }

inline double Sin(double x) { return std::sin(x); }
inline double Cos(double x) { return std::cos(x); }
inline double Tan(double x) { return std::tan(x); }
inline double Atn(double x) { return std::atan(x); }
inline double Exp(double x) { return std::exp(x); }
inline double Log(double x) { return std::log(x); }
inline double Sqr(double x) { return std::sqrt(x); }
inline double Abs(double x) { return std::fabs(x); }
inline double Fix(double x) { return std::trunc(x); }
inline double Int(double x) { return std::floor(x); }

// The failure of a result: none while it is finite.
inline ErrNum ResultFailure(double r) {
  if (r - r == 0.0) return ErrNum::None;
  return r != r ? ErrNum::InvalidCall : ErrNum::Overflow;
}

// Failures that the operands decide.
inline ErrNum DivideFailure(double a, double b) {
  if (b != 0.0) return ErrNum::None;
  return a == 0.0 ? ErrNum::Overflow : ErrNum::DivisionByZero;
}
inline ErrNum LogFailure(double x) { return x <= 0.0 ? ErrNum::InvalidCall : ErrNum::None; }
inline ErrNum SqrFailure(double x) { return x < 0.0 ? ErrNum::InvalidCall : ErrNum::None; }

}  // namespace quon::script::real
