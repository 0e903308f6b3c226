#include <algorithm>
#include <cmath>

#include "core/datafit/data_fit.h"
#include "core/datafit/factorisation.h"
#include "core/datafit/table_passes.h"
#include "core/datafit/tall_skinny_qr.h"

namespace quon {
namespace {

using Eigen::Index;

// The power of two nearest 1 / the largest magnitude of each column in the block.
std::vector<double> ColumnScales(const DesignRows& design, const DataBlock& block) {
  const std::size_t n = design.Columns();
  const auto nv = static_cast<std::size_t>(design.Variables());
  std::vector<double> largest(n, 0.0);
  std::vector<double> row(n);
  for (std::size_t i = 0; i < block.Size(); ++i) {
    design.Row(&block.Coordinates[i * nv], row.data());
    for (std::size_t j = 0; j < n; ++j) largest[j] = std::max(largest[j], std::fabs(row[j]));
  }
  std::vector<double> scale(n, 1.0);
  for (std::size_t j = 0; j < n; ++j) {
    if (largest[j] > 0.0 && std::isfinite(largest[j])) {
      scale[j] = std::ldexp(1.0, -std::ilogb(largest[j]));
    }
  }
  return scale;
}

// One lane: the R of its rows.
struct FactorLane {
  FactorLane(const DesignRows& rows, std::size_t columns)
      : design(rows), qr(columns), row(columns) {}
  DesignRows design;
  TallSkinnyQr qr;
  std::vector<double> row;

  void Add(const DataBlock& block, const std::vector<double>& scale) {
    const auto nv = static_cast<std::size_t>(design.Variables());
    for (std::size_t i = 0; i < block.Size(); ++i) {
      const double w = block.Weights[i];
      if (w == 0.0) continue;
      const double root = std::sqrt(w);
      design.Row(&block.Coordinates[i * nv], row.data());
      for (std::size_t j = 0; j < row.size(); ++j) {
        row[j] *= scale[j] * root;
        if (!std::isfinite(row[j])) {
          throw DataFitRefused("Row " + std::to_string(block.Rows[i]) +
                               ": the terms overflow at this observation.");
        }
      }
      qr.AddRow(row.data(), root * block.Values[i]);
    }
  }
};

}  // namespace

Factorisation FactoriseScattered(const DesignRows& design, DataSource& source) {
  const std::size_t n = design.Columns();
  Factorisation f;
  source.Rewind();
  DataBlock first;
  source.Next(first, kBlockRows);
  f.Scale = ColumnScales(design, first);
  std::vector<FactorLane> lanes;
  for (std::size_t lane = 0; lane < kLanes; ++lane) lanes.emplace_back(design, n);
  ForEachBlock(source,
               [&](std::size_t lane, const DataBlock& block) { lanes[lane].Add(block, f.Scale); });
  // Each lane's rows are equivalent to its R with Q^T b beside it, plus one row holding
  // only its residual's norm.
  TallSkinnyQr qr(n);
  std::vector<double> row(n);
  for (FactorLane& lane : lanes) {
    lane.qr.Finish();
    const Eigen::MatrixXd r = lane.qr.R();
    const Eigen::VectorXd qtb = lane.qr.QtB();
    for (Index j = 0; j < r.rows(); ++j) {
      for (Index k = 0; k < r.cols(); ++k) row[static_cast<std::size_t>(k)] = r(j, k);
      qr.AddRow(row.data(), qtb(j));
    }
    std::fill(row.begin(), row.end(), 0.0);
    qr.AddRow(row.data(), lane.qr.ResidualNorm());
  }
  qr.Finish();
  f.R = qr.R();
  f.Z = f.R.triangularView<Eigen::Upper>().solve(qr.QtB());
  return f;
}

}  // namespace quon
