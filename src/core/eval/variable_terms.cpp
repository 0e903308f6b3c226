#include "core/eval/variable_terms.h"

#include <cmath>

namespace quon {

double VariableTerms::Sum(const double* inner, std::size_t count, std::size_t stride) const {
  double sum = 0.0;
  switch (Kind) {
    case TermKind::Power:
      for (std::size_t j = count; j-- > 0;) sum = sum * Offset + inner[j * stride];
      break;
    case TermKind::Trigonometric:
      for (std::size_t j = 0; j < count; ++j) sum = sum + inner[j * stride] * Weights[j];
      break;
    case TermKind::Chebyshev: {
      const double twice = 2.0 * Offset;
      double b1 = 0.0;
      double b2 = 0.0;
      for (std::size_t j = count; j-- > 1;) {
        const double b0 = inner[j * stride] + twice * b1 - b2;
        b2 = b1;
        b1 = b0;
      }
      sum = inner[0] + Offset * b1 - b2;
      break;
    }
  }
  return sum;
}

std::vector<double> TermValues(const NodeGeometry& g, double x) {
  std::vector<double> values(static_cast<std::size_t>(g.LastTerm) + 1);
  values[0] = 1.0;
  switch (g.Kind) {
    case TermKind::Power: {
      const double offset = x - g.Center;
      double power = 1.0;
      for (std::size_t m = 1; m < values.size(); ++m) {
        power = power * offset;
        values[m] = power;
      }
      break;
    }
    case TermKind::Trigonometric: {
      // cos for even terms, the angle stepped before each sine.
      const double step = g.AngleStep(x);
      double angle = 0.0;
      for (std::size_t m = 1; m < values.size(); ++m) {
        if (m % 2 == 1) angle = angle + step;
        values[m] = m % 2 == 0 ? std::cos(angle) : std::sin(angle);
      }
      break;
    }
    case TermKind::Chebyshev: {
      const double s = g.MappedArgument(x);
      if (values.size() > 1) values[1] = s;
      for (std::size_t m = 2; m < values.size(); ++m) {
        values[m] = 2.0 * s * values[m - 1] - values[m - 2];
      }
      break;
    }
  }
  return values;
}

std::vector<DoubleDouble> ExtendedTermValues(const NodeGeometry& g, double x) {
  std::vector<DoubleDouble> values(static_cast<std::size_t>(g.LastTerm) + 1);
  switch (g.Kind) {
    case TermKind::Power: {
      const DoubleDouble offset = TwoSum(x, -g.Center);
      DoubleDouble power = 1.0;
      values[0] = power;
      for (std::size_t m = 1; m < values.size(); ++m) {
        power = power * offset;
        values[m] = power;
      }
      break;
    }
    case TermKind::Trigonometric: {
      const std::vector<double> rounded = TermValues(g, x);
      for (std::size_t m = 0; m < values.size(); ++m) values[m] = rounded[m];
      break;
    }
  }
  return values;
}

VariableTerms TermsAt(const NodeGeometry& g, int k, double x) {
  VariableTerms terms;
  terms.Kind = g.Kind;
  switch (g.Kind) {
    case TermKind::Power:
      terms.Offset = x - g.Center;
      break;
    case TermKind::Trigonometric: {
      if (g.Period == 0.0) {
        throw EvaluationError(EvalDivisionByZero, "Division by zero: the period of variable " +
                                                      std::to_string(k + 1) + " is 0.");
      }
      const double step = g.AngleStep(x);
      if (!std::isfinite(step)) {
        throw EvaluationError(EvalOverflow, "Overflow: the angle of variable " +
                                                std::to_string(k + 1) + " is too large.");
      }
      terms.Weights = TermValues(g, x);
      break;
    }
    case TermKind::Chebyshev:
      if (g.HalfWidth == 0.0) {
        throw EvaluationError(EvalEmptyInterval, "Division by zero: the interval of variable " +
                                                     std::to_string(k + 1) + " is empty.");
      }
      terms.Offset = g.MappedArgument(x);
      if (!std::isfinite(terms.Offset)) {
        throw EvaluationError(EvalOverflow, "Overflow: the argument of variable " +
                                                std::to_string(k + 1) + " is too large.");
      }
      break;
  }
  return terms;
}

}  // namespace quon
