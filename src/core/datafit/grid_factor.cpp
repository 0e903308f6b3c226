#include <algorithm>
#include <cmath>

#include "core/datafit/factorisation.h"
#include "core/datafit/table_passes.h"
#include "core/eval/variable_terms.h"

namespace quon {
namespace {

using Eigen::Index;
using Eigen::MatrixXd;

// One variable's design on its distinct coordinates, scaled by column, and its factors.
struct AxisFactor {
  MatrixXd R;
  MatrixXd PseudoInverse;  // R^-1 Q^T: terms x coordinates
  std::vector<double> Scale;
};

AxisFactor FactoriseAxis(const NodeGeometry& g, const std::vector<double>& coordinates) {
  const auto m = static_cast<Index>(coordinates.size());
  const auto n = static_cast<Index>(g.LastTerm) + 1;
  MatrixXd a(m, n);
  for (Index i = 0; i < m; ++i) {
    const std::vector<double> terms = TermValues(g, coordinates[static_cast<std::size_t>(i)]);
    for (Index j = 0; j < n; ++j) a(i, j) = terms[static_cast<std::size_t>(j)];
  }
  AxisFactor axis;
  for (Index j = 0; j < n; ++j) {
    const double largest = a.col(j).cwiseAbs().maxCoeff();
    axis.Scale.push_back(
        largest > 0.0 && std::isfinite(largest) ? std::ldexp(1.0, -std::ilogb(largest)) : 1.0);
    a.col(j) *= axis.Scale.back();
  }
  const Eigen::HouseholderQR<MatrixXd> qr(a);
  axis.R = qr.matrixQR().topRows(n).triangularView<Eigen::Upper>();
  const MatrixXd q = qr.householderQ() * MatrixXd::Identity(m, n);
  axis.PseudoInverse = axis.R.triangularView<Eigen::Upper>().solve(q.transpose());
  return axis;
}

// Applies `matrix` (rows x extents[k]) along dimension k of the tensor (first dimension
// fastest); extents[k] becomes its number of rows.
std::vector<double> ApplyAlong(const MatrixXd& matrix, std::vector<double> tensor,
                               std::vector<std::size_t>& extents, std::size_t k) {
  std::size_t inner = 1;
  for (std::size_t d = 0; d < k; ++d) inner *= extents[d];
  const std::size_t outer = tensor.size() / (inner * extents[k]);
  const auto rows = static_cast<std::size_t>(matrix.rows());
  std::vector<double> result(inner * rows * outer, 0.0);
  for (std::size_t o = 0; o < outer; ++o) {
    for (std::size_t r = 0; r < rows; ++r) {
      double* out = &result[(o * rows + r) * inner];
      for (std::size_t l = 0; l < extents[k]; ++l) {
        const double factor = matrix(static_cast<Index>(r), static_cast<Index>(l));
        const double* in = &tensor[(o * extents[k] + l) * inner];
        for (std::size_t i = 0; i < inner; ++i) out[i] += factor * in[i];
      }
    }
  }
  extents[k] = rows;
  return result;
}

}  // namespace

std::optional<Factorisation> FactoriseGrid(const DesignRows& design, DataSource& source,
                                           const TableSurvey& survey) {
  const auto nv = static_cast<std::size_t>(design.Variables());
  std::vector<std::size_t> extents;
  for (const std::vector<double>& values : survey.Distinct) extents.push_back(values.size());
  // The values in grid order, each point once.
  std::vector<double> values(static_cast<std::size_t>(survey.Points), 0.0);
  std::vector<bool> filled(values.size(), false);
  DataBlock block;
  source.Rewind();
  while (source.Next(block, kBlockRows)) {
    for (std::size_t i = 0; i < block.Size(); ++i) {
      std::size_t at = 0;
      for (std::size_t k = nv; k-- > 0;) {
        const std::vector<double>& axis = survey.Distinct[k];
        const double x = block.Coordinates[i * nv + k] == 0.0 ? 0.0 : block.Coordinates[i * nv + k];
        at = at * axis.size() +
             static_cast<std::size_t>(std::lower_bound(axis.begin(), axis.end(), x) - axis.begin());
      }
      if (filled[at]) return std::nullopt;
      filled[at] = true;
      values[at] = block.Values[i];
    }
  }
  std::vector<AxisFactor> axes;
  for (std::size_t k = 0; k < nv; ++k) {
    axes.push_back(FactoriseAxis(design.Geometry(static_cast<int>(k)), survey.Distinct[k]));
    values = ApplyAlong(axes[k].PseudoInverse, std::move(values), extents, k);
  }
  // R and the scales of the whole design: Kronecker products, each variable outside those
  // before it (the first variable's index fastest, as in Coef).
  Factorisation f;
  f.R = MatrixXd::Constant(1, 1, std::sqrt(survey.Weight));
  f.Scale = {1.0};
  for (const AxisFactor& axis : axes) {
    MatrixXd r = MatrixXd::Zero(axis.R.rows() * f.R.rows(), axis.R.cols() * f.R.cols());
    for (Index i = 0; i < axis.R.rows(); ++i) {
      for (Index j = i; j < axis.R.cols(); ++j) {
        r.block(i * f.R.rows(), j * f.R.cols(), f.R.rows(), f.R.cols()) = axis.R(i, j) * f.R;
      }
    }
    f.R = std::move(r);
    std::vector<double> scale;
    for (double own : axis.Scale) {
      for (double inner : f.Scale) scale.push_back(own * inner);
    }
    f.Scale = std::move(scale);
  }
  f.Z = Eigen::Map<const Eigen::VectorXd>(values.data(), static_cast<Index>(values.size()));
  return f;
}

}  // namespace quon
