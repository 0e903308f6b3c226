#include "core/analysis/fit_jet.h"

#include <cfloat>
#include <cmath>

#include "core/analysis/term_scales.h"
#include "core/calculus/calculus.h"
#include "core/eval/mode_products.h"
#include "core/eval/variable_terms.h"
#include "core/model/node_geometry.h"

namespace quon {

Jet JetAt(const ProblemModel& model, std::span<const double> point) {
  const int vars = VariableCount(model);
  std::array<WeightRows, MaxVars> weights;
  for (int k = 0; k < vars; ++k) {
    const auto s = static_cast<std::size_t>(k);
    weights[s].Rows = 3;
    for (int order = 0; order < 3; ++order) {
      const std::vector<double> row = TermDerivatives(model, k, point[s], order);
      weights[s].Values.insert(weights[s].Values.end(), row.begin(), row.end());
    }
  }
  // Entry sum over k of order_k 3^k holds the derivative of those orders.
  const std::vector<double> sums = CoefficientModeProducts(model, weights);
  std::vector<std::size_t> stride(static_cast<std::size_t>(vars), 1);
  for (std::size_t k = 1; k < stride.size(); ++k) stride[k] = stride[k - 1] * 3;
  Jet jet;
  jet.Value = sums[0];
  const auto n = static_cast<std::size_t>(vars);
  jet.Hessian.assign(n * n, 0.0);
  for (std::size_t k = 0; k < n; ++k) {
    jet.Gradient.push_back(sums[stride[k]]);
    for (std::size_t l = 0; l < n; ++l) {
      jet.Hessian[k * n + l] = sums[k == l ? 2 * stride[k] : stride[k] + stride[l]];
    }
  }
  return jet;
}

double ValueAt(const ProblemModel& model, std::span<const double> point) {
  std::array<WeightRows, MaxVars> weights;
  for (int k = 0; k < VariableCount(model); ++k) {
    const auto s = static_cast<std::size_t>(k);
    weights[s] = {1, TermValues(VariableGeometry(model, k), point[s])};
  }
  return CoefficientModeProducts(model, weights)[0];
}

ProblemModel WithAbsoluteCoefficients(const ProblemModel& model) {
  ProblemModel absolute = model;
  for (std::size_t i = 0; i < absolute.Coef.size(); ++i) {
    absolute.Coef.data()[i] = std::fabs(absolute.Coef.data()[i]);
  }
  return absolute;
}

double RoundingAt(const ProblemModel& absolute, std::span<const double> point) {
  std::array<WeightRows, MaxVars> weights;
  for (int k = 0; k < VariableCount(absolute); ++k) {
    const auto s = static_cast<std::size_t>(k);
    weights[s] = {1, TermMagnitudes(VariableGeometry(absolute, k), point[s])};
  }
  return DBL_EPSILON * CoefficientModeProducts(absolute, weights)[0];
}

}  // namespace quon
