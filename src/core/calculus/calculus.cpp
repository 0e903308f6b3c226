#include "core/calculus/calculus.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/eval/approximation_kernel.h"
#include "core/model/node_geometry.h"
#include "core/model/variable_names.h"

namespace quon {
namespace {

// 2 pi / P as the evaluator scales an offset, or a CalculusError for a zero period.
double AngularFactor(const ProblemModel& model, int k, const NodeGeometry& g) {
  if (g.Period == 0.0) {
    throw CalculusError("Division by zero: the period of variable " +
                        model.VarName[static_cast<std::size_t>(k)] + " is 0.");
  }
  return g.AngularFactor();
}

// sin or cos (cosine when `cosine`) of `angle`, differentiated `order` times in the angle.
double RotatedSinCos(bool cosine, double angle, int order) {
  // Each derivative turns sin into cos and cos into -sin: four steps bring it back.
  const int quarter = (order + (cosine ? 1 : 0)) % 4;
  switch (quarter) {
    case 0:
      return std::sin(angle);
    case 1:
      return std::cos(angle);
    case 2:
      return -std::sin(angle);
    default:
      return -std::cos(angle);
  }
}

// The half-width r of a Chebyshev variable, or a CalculusError for an empty interval.
double HalfWidth(const ProblemModel& model, int k, const NodeGeometry& g) {
  if (g.HalfWidth == 0.0) {
    throw CalculusError("Division by zero: the interval of variable " +
                        model.VarName[static_cast<std::size_t>(k)] + " is empty.");
  }
  return g.HalfWidth;
}

// T_0(s) .. T_(count-1)(s) differentiated `order` times in s, by the recurrence
// T_(j+1)^(q) = 2 s T_j^(q) + 2 q T_j^(q-1) - T_(j-1)^(q), the q-th derivative of the
// three-term recurrence, taken for q = 0, 1, ..., order in turn.
std::vector<double> ChebyshevDerivatives(double s, std::size_t count, int order) {
  std::vector<double> lower(count, 0.0);
  std::vector<double> values(count, 0.0);
  for (int q = 0; q <= order; ++q) {
    values.assign(count, 0.0);
    values[0] = q == 0 ? 1.0 : 0.0;
    if (count > 1) values[1] = q == 0 ? s : (q == 1 ? 1.0 : 0.0);
    for (std::size_t j = 1; j + 1 < count; ++j) {
      values[j + 1] = 2.0 * s * values[j] + 2.0 * q * lower[j] - values[j - 1];
    }
    std::swap(lower, values);
  }
  return lower;
}

// The antiderivatives F_j(s) of T_j(s): s, s^2 / 2, then
// T_(j+1) / (2 (j + 1)) - T_(j-1) / (2 (j - 1)).
std::vector<double> ChebyshevAntiderivatives(double s, std::size_t count) {
  const std::vector<double> t = ChebyshevDerivatives(s, count + 1, 0);
  std::vector<double> values(count, 0.0);
  values[0] = s;
  if (count > 1) values[1] = s * s / 2.0;
  for (std::size_t j = 2; j < count; ++j) {
    values[j] = t[j + 1] / (2.0 * static_cast<double>(j + 1)) -
                t[j - 1] / (2.0 * static_cast<double>(j - 1));
  }
  return values;
}

void CheckFinite(double value) {
  if (!std::isfinite(value)) throw CalculusError("Overflow in the result.");
}

int IndexOfVariable(const ProblemModel& model, const std::string& name) {
  for (int k = 0; k < VariableCount(model); ++k) {
    if (SameVariableName(model.VarName[static_cast<std::size_t>(k)], name)) return k;
  }
  throw CalculusError("There is no variable named \"" + name + "\".");
}

std::array<std::vector<double>, MaxVars> ConstantWeights() {
  return {std::vector<double>{1.0}, std::vector<double>{1.0}, std::vector<double>{1.0},
          std::vector<double>{1.0}};
}

}  // namespace

std::vector<double> TermDerivatives(const ProblemModel& model, int k, double x, int order) {
  const NodeGeometry g = VariableGeometry(model, k);
  const auto n = static_cast<std::size_t>(g.LastTerm) + 1;
  std::vector<double> values(n, 0.0);
  switch (g.Kind) {
    case TermKind::Power: {
      // j (j-1) ... (j-d+1) u^(j-d), the power built by repeated multiplication.
      const double u = x - g.Center;
      double power = 1.0;
      for (std::size_t j = static_cast<std::size_t>(order); j < n; ++j) {
        double falling = 1.0;
        for (std::size_t i = 0; i < static_cast<std::size_t>(order); ++i) {
          falling *= static_cast<double>(j - i);
        }
        values[j] = falling * power;
        power *= u;
      }
      break;
    }
    case TermKind::Trigonometric: {
      const double w = AngularFactor(model, k, g);
      const double step = g.AngleStep(x);
      double angle = 0.0;
      values[0] = order == 0 ? 1.0 : 0.0;
      for (std::size_t j = 1; j < n; ++j) {
        if (j % 2 == 1) angle = angle + step;
        const double m = static_cast<double>((j + 1) / 2);
        values[j] = std::pow(m * w, order) * RotatedSinCos(j % 2 == 0, angle, order);
      }
      break;
    }
    case TermKind::Chebyshev: {
      // d/dx = (1 / r) d/ds.
      const double scale = std::pow(1.0 / HalfWidth(model, k, g), order);
      values = ChebyshevDerivatives(g.MappedArgument(x), n, order);
      for (double& v : values) v *= scale;
      break;
    }
  }
  return values;
}

std::vector<double> TermIntegrals(const ProblemModel& model, int k, double lo, double hi) {
  const NodeGeometry g = VariableGeometry(model, k);
  const auto n = static_cast<std::size_t>(g.LastTerm) + 1;
  const double upper = hi - g.Center;
  const double lower = lo - g.Center;
  std::vector<double> values(n, 0.0);
  switch (g.Kind) {
    case TermKind::Power: {
      double powerUpper = upper;
      double powerLower = lower;
      for (std::size_t j = 0; j < n; ++j) {
        values[j] = (powerUpper - powerLower) / static_cast<double>(j + 1);
        powerUpper *= upper;
        powerLower *= lower;
      }
      break;
    }
    case TermKind::Trigonometric: {
      const double w = AngularFactor(model, k, g);
      values[0] = upper - lower;
      for (std::size_t j = 1; j < n; ++j) {
        const double mw = static_cast<double>((j + 1) / 2) * w;
        values[j] = j % 2 == 1 ? -(std::cos(mw * upper) - std::cos(mw * lower)) / mw
                               : (std::sin(mw * upper) - std::sin(mw * lower)) / mw;
      }
      break;
    }
    case TermKind::Chebyshev: {
      // dx = r ds.
      const double r = HalfWidth(model, k, g);
      const std::vector<double> top = ChebyshevAntiderivatives(g.MappedArgument(hi), n);
      const std::vector<double> bottom = ChebyshevAntiderivatives(g.MappedArgument(lo), n);
      for (std::size_t j = 0; j < n; ++j) values[j] = r * (top[j] - bottom[j]);
      break;
    }
  }
  return values;
}

double PartialDerivative(const ProblemModel& model, const std::vector<std::string>& variables,
                         const std::vector<double>& point) {
  const int count = VariableCount(model);
  if (point.size() != static_cast<std::size_t>(count)) {
    throw CalculusError("The point needs " + std::to_string(count) + " coordinates, not " +
                        std::to_string(point.size()) + ".");
  }
  std::array<int, MaxVars> orders{};
  for (const std::string& name : variables) {
    ++orders[static_cast<std::size_t>(IndexOfVariable(model, name))];
  }
  std::array<std::vector<double>, MaxVars> weights = ConstantWeights();
  for (int k = 0; k < count; ++k) {
    const auto s = static_cast<std::size_t>(k);
    weights[s] = TermDerivatives(model, k, point[s], orders[s]);
  }
  const double value = ApproximationKernel(model).Contract(weights);
  CheckFinite(value);
  return value;
}

std::vector<double> Gradient(const ProblemModel& model, const std::vector<double>& point) {
  std::vector<double> gradient;
  for (int k = 0; k < VariableCount(model); ++k) {
    const std::string& name = model.VarName[static_cast<std::size_t>(k)];
    gradient.push_back(PartialDerivative(model, {name}, point));
  }
  return gradient;
}

double Integral(const ProblemModel& model, const std::vector<double>& lower,
                const std::vector<double>& upper) {
  const int count = VariableCount(model);
  const bool wholeBox = lower.empty() && upper.empty();
  if (!wholeBox &&
      (lower.size() != static_cast<std::size_t>(count) || upper.size() != lower.size())) {
    throw CalculusError("The box needs a lower and an upper limit for each of the " +
                        std::to_string(count) + " variables.");
  }
  std::array<std::vector<double>, MaxVars> weights = ConstantWeights();
  for (int k = 0; k < count; ++k) {
    const auto s = static_cast<std::size_t>(k);
    weights[s] = wholeBox ? TermIntegrals(model, k, model.LowerLimit[s], model.UpperLimit[s])
                          : TermIntegrals(model, k, lower[s], upper[s]);
  }
  const double value = ApproximationKernel(model).Contract(weights);
  CheckFinite(value);
  return value;
}

}  // namespace quon
