#include "core/analysis/variance_decomposition.h"

#include <Eigen/Dense>
#include <cmath>

#include "core/analysis/analysis_checks.h"
#include "core/analysis/analysis_error.h"
#include "core/analysis/gram_matrix.h"
#include "core/eval/mode_products.h"
#include "core/model/node_geometry.h"

namespace quon {
namespace {

// The rows of B' = [m L]': the terms' means, then sqrt(lambda) times each eigenvector of
// the terms' covariance with a positive eigenvalue lambda.
WeightRows MeanAndCovarianceFactor(const SquareMatrix& gram) {
  const auto n = static_cast<Eigen::Index>(gram.Size);
  Eigen::MatrixXd covariance(n, n);
  for (Eigen::Index i = 0; i < n; ++i) {
    for (Eigen::Index j = 0; j < n; ++j) {
      const auto si = static_cast<std::size_t>(i);
      const auto sj = static_cast<std::size_t>(j);
      covariance(i, j) = gram(si, sj) - gram(0, si) * gram(0, sj);
    }
  }
  const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(covariance);
  if (solver.info() != Eigen::Success) {
    throw AnalysisError("The covariance of the terms cannot be decomposed.");
  }
  WeightRows rows;
  rows.Values.assign(gram.Values.begin(), gram.Values.begin() + n);
  rows.Rows = 1;
  for (Eigen::Index e = 0; e < n; ++e) {
    const double lambda = solver.eigenvalues()(e);
    if (!(lambda > 0.0)) continue;
    const double scale = std::sqrt(lambda);
    for (Eigen::Index j = 0; j < n; ++j) rows.Values.push_back(scale * solver.eigenvectors()(j, e));
    ++rows.Rows;
  }
  return rows;
}

}  // namespace

VarianceDecomposition DecomposeVariance(const ProblemModel& model) {
  CheckAnalysable(model);
  const Box box = ProblemBox(model);
  const int vars = VariableCount(model);
  std::array<WeightRows, MaxVars> factors;
  for (int k = 0; k < vars; ++k) {
    const auto s = static_cast<std::size_t>(k);
    const NodeGeometry g = VariableGeometry(model, k);
    factors[s] = MeanAndCovarianceFactor(TermGram(g, box.Lower[s], box.Upper[s]));
  }
  const std::vector<double> z = CoefficientModeProducts(model, factors);

  VarianceDecomposition result;
  // Walk Z in canonical order, keeping each index and the set of non-zero ones.
  std::array<std::size_t, MaxVars> index{};
  for (const double value : z) {
    unsigned set = 0;
    for (int k = 0; k < vars; ++k) {
      if (index[static_cast<std::size_t>(k)] != 0) set |= 1u << k;
    }
    if (set == 0) {
      result.Mean = value;
    } else {
      result.PartialVariance[set] += value * value;
    }
    for (int k = 0; k < vars; ++k) {
      const auto s = static_cast<std::size_t>(k);
      if (++index[s] < factors[s].Rows) break;
      index[s] = 0;
    }
  }
  for (const double d : result.PartialVariance) result.Variance += d;
  if (!std::isfinite(result.Mean) || !std::isfinite(result.Variance)) {
    throw AnalysisError("Overflow in the mean or the variance.");
  }
  for (int k = 0; k < vars; ++k) {
    double total = 0.0;
    for (unsigned set = 1; set < result.PartialVariance.size(); ++set) {
      if ((set >> k) & 1u) total += result.PartialVariance[set];
    }
    const double single = result.PartialVariance[1u << k];
    const bool none = result.Variance == 0.0;
    result.MainEffect.push_back(none ? 0.0 : single / result.Variance);
    result.TotalEffect.push_back(none ? 0.0 : total / result.Variance);
  }
  return result;
}

}  // namespace quon
