// One variable's terms at one coordinate, as the evaluator sums them: the one home of the
// per-kind arithmetic of the approximation at a point, shared by the evaluator and its
// kernel so that both give the same bits.
//
// Power terms are summed by Horner's scheme in the offset x - c, from the highest power
// down: sum = sum * offset + inner[j]. Trigonometric terms are summed in ascending order,
// sum = sum + inner[j] * w[j], with w = 1, sin(s), cos(s), sin(2 s), cos(2 s), ... of the
// angle step s (the node geometry's AngleStep), the multiples built by repeated addition.
// Chebyshev terms are summed by Clenshaw's recurrence (Clenshaw 1955; Trefethen, ATAP,
// ch. 3) in s = (x - m) / r: b_j = inner[j] + 2 s b_(j+1) - b_(j+2) from the highest term
// down to j = 1, then sum = inner[0] + s b_1 - b_2. It never forms a T_j(s), and its
// rounding error stays a few units of eps times the sum of the magnitudes of the
// coefficients on [-1, 1].
// Cost: one multiply-add per term (two for Chebyshev terms), plus a sine or cosine per
// trigonometric term.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/eval/double_double.h"
#include "core/model/node_geometry.h"
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

// A Chebyshev variable whose interval is empty (read from a file).
inline constexpr int32_t EvalEmptyInterval = EvalDivisionByZero;

// How one level of the nested sums is taken: Horner's scheme or Clenshaw's recurrence in an
// offset, or an ascending sum with weights.
enum class LevelForm { Weighted, Horner, Clenshaw };

inline LevelForm FormOf(TermKind kind) {
  switch (kind) {
    case TermKind::Power:
      return LevelForm::Horner;
    case TermKind::Trigonometric:
      return LevelForm::Weighted;
    case TermKind::Chebyshev:
      return LevelForm::Clenshaw;
  }
  return LevelForm::Weighted;
}

// The sum over j < count of inner[j * stride] times term j, in the order given above; for
// the weighted form `weights` holds the terms' values (all 1 when null). Inline: the
// evaluator and its kernel's inner levels take exactly these operations.
inline double SumLevel(LevelForm form, const double* inner, std::size_t count, std::size_t stride,
                       double offset, const double* weights) {
  double sum = 0.0;
  switch (form) {
    case LevelForm::Horner:
      for (std::size_t j = count; j-- > 0;) sum = sum * offset + inner[j * stride];
      break;
    case LevelForm::Weighted:
      for (std::size_t j = 0; j < count; ++j) {
        sum = sum + inner[j * stride] * (weights != nullptr ? weights[j] : 1.0);
      }
      break;
    case LevelForm::Clenshaw: {
      const double twice = 2.0 * offset;
      double b1 = 0.0;
      double b2 = 0.0;
      for (std::size_t j = count; j-- > 1;) {
        const double b0 = inner[j * stride] + twice * b1 - b2;
        b2 = b1;
        b1 = b0;
      }
      sum = inner[0] + offset * b1 - b2;
      break;
    }
  }
  return sum;
}

struct VariableTerms {
  TermKind Kind = TermKind::Power;
  double Offset = 0.0;          // power terms: x - c; Chebyshev terms: s = (x - m) / r
  std::vector<double> Weights;  // trigonometric terms: the value of each term, ascending

  // The sum over j < count of inner[j * stride] times term j, in the order given above.
  double Sum(const double* inner, std::size_t count, std::size_t stride) const {
    return SumLevel(FormOf(Kind), inner, count, stride, Offset, Weights.data());
  }
};

// The value of each term of a variable with geometry g at coordinate x, ascending: the
// powers of x - c built by repeated multiplication, or 1, sin, cos, sin 2, ... of the
// angle step as above, or T_0(s), T_1(s), ... by the three-term recurrence. No checks: a
// zero period or a huge angle gives NaN values.
std::vector<double> TermValues(const NodeGeometry& g, double x);

// The same values to about 106 bits, for the refinement of a least-squares fit, whose
// accuracy is limited by that of its design's entries. Power terms are the powers of the
// exact offset x - c formed in double-double (relative error about (LastTerm + 1) 2^-104);
// trigonometric terms are TermValues' own (one rounding each: their basis is well
// conditioned, so that rounding costs no digits of the fit).
std::vector<DoubleDouble> ExtendedTermValues(const NodeGeometry& g, double x);

// The terms of variable k (0..3, named in messages as k + 1) with geometry g at coordinate
// x. Throws EvaluationError for a trigonometric variable whose period is 0 or whose angle
// step is not finite, and for a Chebyshev variable whose argument s is not finite.
VariableTerms TermsAt(const NodeGeometry& g, int k, double x);

}  // namespace quon
