#include "core/eval/variable_terms.h"

#include <cmath>

namespace quon {

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
    case TermKind::Chebyshev: {
      // The mapped argument is rounded once; the recurrence itself runs in double-double.
      const double twice = 2.0 * g.MappedArgument(x);
      values[0] = 1.0;
      if (values.size() > 1) values[1] = twice / 2.0;
      for (std::size_t m = 2; m < values.size(); ++m) {
        values[m] = values[m - 1] * twice - values[m - 2];
      }
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
