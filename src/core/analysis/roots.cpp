#include "core/analysis/roots.h"

#include <algorithm>
#include <cmath>

#include "core/analysis/analysis_checks.h"
#include "core/analysis/analysis_error.h"
#include "core/analysis/fit_jet.h"
#include "core/analysis/term_scales.h"
#include "core/calculus/calculus.h"
#include "core/eval/mode_products.h"
#include "core/eval/variable_terms.h"
#include "core/model/node_geometry.h"

namespace quon {
namespace {

// The mode product with the terms at the point for every variable but `var`, and the
// identity (one row per term) for `var`.
std::vector<double> Restrict(const ProblemModel& model, int var, std::span<const double> point,
                             bool magnitudes) {
  std::array<WeightRows, MaxVars> weights;
  for (int k = 0; k < VariableCount(model); ++k) {
    const auto s = static_cast<std::size_t>(k);
    const NodeGeometry g = VariableGeometry(model, k);
    const auto n = static_cast<std::size_t>(g.LastTerm) + 1;
    if (k == var) {
      weights[s] = {n, std::vector<double>(n * n, 0.0)};
      for (std::size_t j = 0; j < n; ++j) weights[s].Values[j * n + j] = 1.0;
      continue;
    }
    weights[s] = {1, magnitudes ? TermMagnitudes(g, point[s]) : TermValues(g, point[s])};
  }
  if (!magnitudes) return CoefficientModeProducts(model, weights);
  return CoefficientModeProducts(WithAbsoluteCoefficients(model), weights);
}

class Restriction final : public RootFunction {
 public:
  Restriction(const ProblemModel& model, int var, std::span<const double> point)
      : model_(model),
        var_(var),
        geometry_(VariableGeometry(model, var)),
        coefficients_(Restrict(model, var, point, false)),
        magnitudes_(Restrict(model, var, point, true)) {}

  double Value(double x, double& noise) const override {
    const std::vector<double> terms = TermValues(geometry_, x);
    const std::vector<double> sizes = TermMagnitudes(geometry_, x);
    double value = 0.0;
    noise = 0.0;
    for (std::size_t j = 0; j < terms.size(); ++j) {
      value += coefficients_[j] * terms[j];
      noise += magnitudes_[j] * sizes[j];
    }
    noise = std::max(noise, std::fabs(value));
    return value;
  }

  double Slope(double x) const override {
    const std::vector<double> slopes = TermDerivatives(model_, var_, x, 1);
    double slope = 0.0;
    for (std::size_t j = 0; j < slopes.size(); ++j) slope += coefficients_[j] * slopes[j];
    return slope;
  }

  int64_t Degree(double lo, double hi) const override { return ResolvingDegree(geometry_, lo, hi); }

 private:
  const ProblemModel& model_;
  int var_;
  NodeGeometry geometry_;
  std::vector<double> coefficients_;
  std::vector<double> magnitudes_;
};

void CheckLine(const ProblemModel& model, int var, std::span<const double> point) {
  CheckAnalysable(model);
  if (var < 0 || var >= VariableCount(model)) throw AnalysisError("There is no such variable.");
  CheckPoint(model, point, var);
}

}  // namespace

std::vector<double> RestrictionCoefficients(const ProblemModel& model, int var,
                                            std::span<const double> point) {
  CheckLine(model, var, point);
  return Restrict(model, var, point, false);
}

RealRoots RootsAlong(const ProblemModel& model, int var, std::span<const double> point) {
  CheckLine(model, var, point);
  const Restriction restriction(model, var, point);
  const Box box = ProblemBox(model);
  const auto s = static_cast<std::size_t>(var);
  return FindRealRoots(restriction, box.Lower[s], box.Upper[s]);
}

}  // namespace quon
