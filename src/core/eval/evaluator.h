// The value of the fitted approximation at one point: the sum over all index combinations
// of Coef(j0, j1, j2, j3) times the product of the four one-variable terms, summed as four
// nested sums, variable 3 outermost. A power variable's sum is Horner's scheme from the
// highest power down; a trigonometric variable's sum runs 1, sin, cos, sin 2, ... with the
// multiples of the angle built by repeated addition, exactly as the fit builds its basis.
// Cost: one multiply-add per coefficient (plus a sine or cosine per trigonometric term).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "core/model/problem_model.h"
#include "engine/err_num.h"

namespace quon {

// A numeric failure of the evaluation. Number is the error number of the expression
// language: 6 (overflow) or 11 (division by zero).
class EvaluationError : public std::runtime_error {
 public:
  EvaluationError(int32_t number, const std::string& message)
      : std::runtime_error(message), Number(number) {}
  int32_t Number;
};

// A level sum or an angle overflows.
inline constexpr int32_t EvalOverflow = static_cast<int32_t>(script::ErrNum::Overflow);
// A trigonometric variable with period 0.
inline constexpr int32_t EvalDivisionByZero = static_cast<int32_t>(script::ErrNum::DivisionByZero);

// Precondition: EvalOffset(k) holds the point minus Center(k) for k = 0..LastVar, freshly
// set, because the offsets of trigonometric variables are scaled in place to angle steps
// 2 pi (x - c) / P. Writes EvalOffset (those slots), EvalAngle and, on success,
// ApproxValue. With HaveResults false nothing happens and ApproxValue keeps its value.
// Throws EvaluationError on overflow or a zero period; ApproxValue then keeps its value.
// Throws std::logic_error when Coef does not have the shape LastTerm gives.
void Evaluate(ProblemModel& model);

}  // namespace quon
