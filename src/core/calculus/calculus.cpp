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
