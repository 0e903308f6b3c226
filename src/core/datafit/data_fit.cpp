#include "core/datafit/data_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>
#include <vector>

#include "core/datafit/design_rows.h"
#include "core/datafit/tall_skinny_qr.h"
#include "core/eval/double_double.h"
#include "core/parallel/parallel_for.h"
#include "engine/number_text.h"

namespace quon {
namespace {

constexpr std::size_t kBlockRows = 4096;
constexpr int kMaxRefinementPasses = 6;
// Beyond this condition of the scaled design, Householder QR in double determines no digit.
constexpr double kRankDeficientCondition = 1.0 / std::numeric_limits<double>::epsilon();
// Tables up to this m n^2 get their standard errors corrected with the Gram matrix.
constexpr double kGramCorrectionWork = 67108864.0;  // 2^26

// The table is read in batches of kLanes blocks; block c of every batch goes to lane c,
// which keeps its own sums, and the lanes' sums are combined in lane order at the end, so
// that the result does not depend on the number of cores.
constexpr std::size_t kLanes = 2;

using Eigen::Index;
using Eigen::MatrixXd;
using Eigen::VectorXd;

// Hands block c of every batch to work(c, block), the blocks of a batch in parallel.
template <typename Work>
void ForEachBlock(DataSource& source, Work&& work) {
  std::vector<DataBlock> blocks(kLanes);
  source.Rewind();
  for (;;) {
    std::size_t count = 0;
    while (count < kLanes && source.Next(blocks[count], kBlockRows)) ++count;
    if (count == 0) return;
    ParallelFor(count, WorkerCount(count),
                [&](std::size_t, std::size_t lane) { work(lane, blocks[lane]); });
    if (count < kLanes) return;
  }
}

// What the first pass learns besides R.
struct FirstPass {
  int64_t Points = 0;
  int64_t OutsideBox = 0;
  DoubleDouble SumW;
  DoubleDouble SumWY;
  std::vector<double> Scale;  // a power of two per column
};

// The power of two nearest 1 / the largest magnitude of each column in the first block.
std::vector<double> ColumnScales(DesignRows& design, const DataBlock& block) {
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
    if (largest[j] > 0.0 && std::isfinite(largest[j]))
      scale[j] = std::ldexp(1.0, -std::ilogb(largest[j]));
  }
  return scale;
}

std::string VariableName(const ProblemModel& model, int k) {
  const std::string& name = model.VarName[static_cast<std::size_t>(k)];
  return name.empty() ? "variable " + std::to_string(k + 1) : name;
}

// Distinct coordinates along each variable, counted up to the variable's number of terms.
class DistinctCoordinates {
 public:
  explicit DistinctCoordinates(const DesignRows& design)
      : seen_(static_cast<std::size_t>(design.Variables())) {
    for (int k = 0; k < design.Variables(); ++k) {
      wanted_.push_back(static_cast<std::size_t>(design.Geometry(k).LastTerm) + 1);
    }
  }
  void Add(const double* x) {
    for (std::size_t k = 0; k < seen_.size(); ++k) {
      if (seen_[k].size() < wanted_[k]) seen_[k].insert(x[k] == 0.0 ? 0.0 : x[k]);
    }
  }
  void Merge(const DistinctCoordinates& other) {
    for (std::size_t k = 0; k < seen_.size(); ++k) {
      for (double x : other.seen_[k]) {
        if (seen_[k].size() < wanted_[k]) seen_[k].insert(x);
      }
    }
  }
  void Check(const ProblemModel& model) const {
    for (std::size_t k = 0; k < seen_.size(); ++k) {
      if (seen_[k].size() < wanted_[k]) {
        throw DataFitRefused("The table has " + std::to_string(seen_[k].size()) +
                             " distinct values of " + VariableName(model, static_cast<int>(k)) +
                             "; its " + std::to_string(wanted_[k]) + " terms need at least " +
                             std::to_string(wanted_[k]) + ".");
      }
    }
  }

 private:
  std::vector<std::unordered_set<double>> seen_;
  std::vector<std::size_t> wanted_;
};

// One lane of the first pass: its rows' R, counts and sums.
struct FactorLane {
  FactorLane(const DesignRows& rows, std::size_t columns)
      : design(rows), qr(columns), distinct(rows), row(columns) {}
  DesignRows design;
  TallSkinnyQr qr;
  DistinctCoordinates distinct;
  std::vector<double> row;
  int64_t points = 0;
  int64_t outside = 0;
  DoubleDouble sumW;
  DoubleDouble sumWY;

  void Add(const DataBlock& block, const std::vector<double>& scale, const std::string& table) {
    const std::size_t n = row.size();
    const auto nv = static_cast<std::size_t>(design.Variables());
    for (std::size_t i = 0; i < block.Size(); ++i) {
      const double* x = &block.Coordinates[i * nv];
      const double w = block.Weights[i];
      if (w == 0.0) continue;
      const double root = std::sqrt(w);
      design.Row(x, row.data());
      for (std::size_t j = 0; j < n; ++j) {
        row[j] *= scale[j] * root;
        if (!std::isfinite(row[j])) {
          throw DataFitRefused(table + ", row " + std::to_string(block.Rows[i]) +
                               ": the terms overflow at this observation.");
        }
      }
      qr.AddRow(row.data(), root * block.Values[i]);
      distinct.Add(x);
      ++points;
      if (!design.Inside(x)) ++outside;
      sumW += w;
      sumWY += TwoProduct(w, block.Values[i]);
    }
  }
};

FirstPass Factorise(const ProblemModel& model, const DesignRows& design, DataSource& source,
                    const std::string& table, TallSkinnyQr& qr) {
  FirstPass pass;
  const std::size_t n = design.Columns();
  std::vector<FactorLane> lanes;
  for (std::size_t lane = 0; lane < kLanes; ++lane) lanes.emplace_back(design, n);
  source.Rewind();
  DataBlock first;
  if (source.Next(first, kBlockRows)) pass.Scale = ColumnScales(lanes[0].design, first);
  ForEachBlock(source, [&](std::size_t lane, const DataBlock& block) {
    lanes[lane].Add(block, pass.Scale, table);
  });
  for (FactorLane& lane : lanes) {
    lane.qr.Finish();
    const MatrixXd r = lane.qr.R();
    const VectorXd qtb = lane.qr.QtB();
    // The lane's rows are equivalent to its R with Q^T b beside it, plus one row holding
    // only its residual's norm.
    std::vector<double> row(n);
    for (Index j = 0; j < r.rows(); ++j) {
      for (Index k = 0; k < r.cols(); ++k) row[static_cast<std::size_t>(k)] = r(j, k);
      qr.AddRow(row.data(), qtb(j));
    }
    std::fill(row.begin(), row.end(), 0.0);
    qr.AddRow(row.data(), lane.qr.ResidualNorm());
    pass.Points += lane.points;
    pass.OutsideBox += lane.outside;
    pass.SumW += lane.sumW;
    pass.SumWY += lane.sumWY;
    if (&lane != &lanes[0]) lanes[0].distinct.Merge(lane.distinct);
  }
  if (pass.Points == 0) throw PointsFileError(table + ": the table has no observation.");
  lanes[0].distinct.Check(model);
  qr.Finish();
  return pass;
}

// R^-1 of the scaled design, and its 1-norm condition with unit columns.
struct Inverse {
  MatrixXd RInverse;
  double Condition = 0.0;
};

Inverse InvertChecked(const MatrixXd& r) {
  const Index n = r.rows();
  for (Index j = 0; j < n; ++j) {
    if (!(std::fabs(r(j, j)) > 0.0) || !std::isfinite(r(j, j))) {
      throw DataFitRefused(
          "The design is rank-deficient: the terms are linearly dependent on "
          "the table's coordinates.");
    }
  }
  Inverse inverse;
  inverse.RInverse = r.triangularView<Eigen::Upper>().solve(MatrixXd::Identity(n, n));
  // With columns of unit norm: R D^-1 and D R^-1, D the columns' norms.
  const VectorXd norms = r.colwise().norm().transpose();
  double rNorm = 0.0;
  double inverseNorm = 0.0;
  for (Index j = 0; j < n; ++j) {
    rNorm = std::max(rNorm, r.col(j).cwiseAbs().sum() / norms(j));
    inverseNorm =
        std::max(inverseNorm, inverse.RInverse.col(j).cwiseProduct(norms).cwiseAbs().sum());
  }
  inverse.Condition = rNorm * inverseNorm;
  if (!(inverse.Condition < kRankDeficientCondition)) {
    throw DataFitRefused("The design is rank-deficient: its condition number " +
                         TextForm(inverse.Condition) +
                         " leaves no digit of the coefficients (fewer terms, or more spread "
                         "coordinates, help).");
  }
  return inverse;
}

// One pass: residuals of the coefficients c (unscaled), their statistics, and the
// gradient A^T W r in double-double.
struct ResidualPass {
  std::vector<DoubleDouble> Gradient;
  DoubleDouble Ssr;
  DoubleDouble Tss;
  double MaxResidual = -1.0;
  int64_t WorstRow = 0;
};

void AddResiduals(DesignRows& design, const DataBlock& block, const std::vector<double>& c,
                  DoubleDouble mean, ResidualPass& pass) {
  const auto nv = static_cast<std::size_t>(design.Variables());
  for (std::size_t i = 0; i < block.Size(); ++i) {
    const double w = block.Weights[i];
    if (w == 0.0) continue;
    const double* x = &block.Coordinates[i * nv];
    const DoubleDouble r = design.Residual(x, block.Values[i], c.data());
    const double size = std::fabs(r.ToDouble());
    if (size > pass.MaxResidual) {
      pass.MaxResidual = size;
      pass.WorstRow = block.Rows[i];
    }
    pass.Ssr += r * r * w;
    const DoubleDouble deviation = DoubleDouble(block.Values[i]) - mean;
    pass.Tss += deviation * deviation * w;
    design.AddRow(x, r * w, pass.Gradient.data());
  }
}

ResidualPass Residuals(const DesignRows& design, DataSource& source, const std::vector<double>& c,
                       DoubleDouble mean) {
  std::vector<DesignRows> rows(kLanes, design);
  std::vector<ResidualPass> lanes(kLanes);
  for (ResidualPass& lane : lanes) lane.Gradient.assign(design.Columns(), DoubleDouble());
  ForEachBlock(source, [&](std::size_t lane, const DataBlock& block) {
    AddResiduals(rows[lane], block, c, mean, lanes[lane]);
  });
  ResidualPass pass = std::move(lanes[0]);
  for (std::size_t lane = 1; lane < kLanes; ++lane) {
    const ResidualPass& other = lanes[lane];
    for (std::size_t j = 0; j < pass.Gradient.size(); ++j) pass.Gradient[j] += other.Gradient[j];
    pass.Ssr += other.Ssr;
    pass.Tss += other.Tss;
    if (other.MaxResidual > pass.MaxResidual ||
        (other.MaxResidual == pass.MaxResidual && other.WorstRow < pass.WorstRow)) {
      pass.MaxResidual = other.MaxResidual;
      pass.WorstRow = other.WorstRow;
    }
  }
  return pass;
}

// Hands each observation with its residual to `visit`, in table order.
void VisitResiduals(DesignRows& design, DataSource& source, const std::vector<double>& c,
                    const ResidualVisitor& visit) {
  const auto nv = static_cast<std::size_t>(design.Variables());
  DataBlock block;
  source.Rewind();
  while (source.Next(block, kBlockRows)) {
    for (std::size_t i = 0; i < block.Size(); ++i) {
      const double* x = &block.Coordinates[i * nv];
      visit(block.Rows[i], x, block.Values[i],
            design.Residual(x, block.Values[i], c.data()).ToDouble());
    }
  }
}

// The diagonal of (A^T W A)^-1 for the scaled design: the squared row norms of R^-1,
// corrected for small tables by one step X + X (I - G X) with G summed in double-double.
VectorXd InverseGramDiagonal(DesignRows& design, DataSource& source, const MatrixXd& rInverse,
                             const std::vector<double>& scale, int64_t points) {
  const Index n = rInverse.rows();
  VectorXd diagonal = rInverse.rowwise().squaredNorm();
  if (static_cast<double>(points) * static_cast<double>(n) * static_cast<double>(n) >
      kGramCorrectionWork) {
    return diagonal;
  }
  const auto un = static_cast<std::size_t>(n);
  std::vector<DoubleDouble> gram(un * un);
  std::vector<DoubleDouble> row(un);
  const auto nv = static_cast<std::size_t>(design.Variables());
  DataBlock block;
  source.Rewind();
  while (source.Next(block, kBlockRows)) {
    for (std::size_t i = 0; i < block.Size(); ++i) {
      if (block.Weights[i] == 0.0) continue;
      std::fill(row.begin(), row.end(), DoubleDouble());
      design.AddRow(&block.Coordinates[i * nv], block.Weights[i], row.data());
      for (std::size_t j = 0; j < un; ++j) {
        for (std::size_t l = 0; l <= j; ++l)
          gram[j * un + l] += row[j] * row[l] * (scale[j] * scale[l]);
      }
    }
  }
  const MatrixXd x = rInverse * rInverse.transpose();
  // F = I - G X, each entry summed in double-double, then rounded.
  MatrixXd f(n, n);
  for (Index j = 0; j < n; ++j) {
    for (Index k = 0; k < n; ++k) {
      DoubleDouble sum = j == k ? 1.0 : 0.0;
      for (Index l = 0; l < n; ++l) {
        const auto a = static_cast<std::size_t>(std::max(j, l));
        const auto b = static_cast<std::size_t>(std::min(j, l));
        sum -= gram[a * un + b] * x(l, k);
      }
      f(j, k) = sum.ToDouble();
    }
  }
  // One step only: in double the iteration goes no further when cond^2 exceeds 1 / eps.
  for (Index j = 0; j < n; ++j) diagonal(j) = x(j, j) + x.row(j).dot(f.col(j));
  return diagonal;
}

}  // namespace

void FitData(ProblemModel& model, DataSource& source, const std::string& table,
             const ResidualVisitor& visit) {
  model.HaveResults = false;
  DesignRows design(model);
  const std::size_t n = design.Columns();
  if (n > MaxDataFitColumns) {
    throw DataFitRefused("A fit on data takes at most " + std::to_string(MaxDataFitColumns) +
                         " terms; the problem has " + std::to_string(n) + ".");
  }
  CoefArray::LastTerms lastTerms{};
  for (int k = 0; k < MaxVars; ++k) {
    lastTerms[static_cast<std::size_t>(k)] = model.LastTerm[static_cast<std::size_t>(k)];
  }
  model.Coef.Allocate(lastTerms);

  TallSkinnyQr qr(n);
  const FirstPass first = Factorise(model, design, source, table, qr);
  const MatrixXd r = qr.R();
  const Inverse inverse = InvertChecked(r);
  const DoubleDouble mean = first.SumWY.ToDouble() / first.SumW.ToDouble();

  const VectorXd z0 = r.triangularView<Eigen::Upper>().solve(qr.QtB());
  std::vector<double> c(n);
  for (std::size_t j = 0; j < n; ++j) c[j] = z0(static_cast<Index>(j)) * first.Scale[j];

  ResidualPass pass;
  double lastStep = std::numeric_limits<double>::infinity();
  for (int step = 0;; ++step) {
    pass = Residuals(design, source, c, mean);
    VectorXd g(static_cast<Index>(n));
    for (std::size_t j = 0; j < n; ++j)
      g(static_cast<Index>(j)) = pass.Gradient[j].ToDouble() * first.Scale[j];
    const VectorXd dz = inverse.RInverse * (inverse.RInverse.transpose() * g);
    double size = 0.0;
    double zSize = 0.0;
    for (std::size_t j = 0; j < n; ++j) {
      size = std::max(size, std::fabs(dz(static_cast<Index>(j))));
      zSize = std::max(zSize, std::fabs(c[j] / first.Scale[j]));
    }
    const bool negligible = size <= 4.0 * std::numeric_limits<double>::epsilon() * zSize;
    if (negligible || !(size < 0.5 * lastStep) || step == kMaxRefinementPasses) break;
    for (std::size_t j = 0; j < n; ++j) c[j] += dz(static_cast<Index>(j)) * first.Scale[j];
    lastStep = size;
  }
  if (visit) VisitResiduals(design, source, c, visit);

  DataFitSummary summary;
  summary.Table = table;
  summary.Points = first.Points;
  summary.OutsideBox = first.OutsideBox;
  const int64_t freedom = first.Points - static_cast<int64_t>(n);
  const double ssr = pass.Ssr.ToDouble();
  summary.ResidualSd = freedom > 0 ? std::sqrt(ssr / static_cast<double>(freedom)) : 0.0;
  const double tss = pass.Tss.ToDouble();
  summary.RSquared = tss > 0.0 ? 1.0 - ssr / tss : 1.0;
  summary.MaxResidual = pass.MaxResidual;
  summary.WorstRow = pass.WorstRow;
  summary.Condition = inverse.Condition;
  const VectorXd diagonal =
      InverseGramDiagonal(design, source, inverse.RInverse, first.Scale, first.Points);
  summary.StandardErrors.resize(n);
  for (std::size_t j = 0; j < n; ++j) {
    summary.StandardErrors[j] = summary.ResidualSd *
                                std::sqrt(std::max(0.0, diagonal(static_cast<Index>(j)))) *
                                first.Scale[j];
  }
  std::copy(c.begin(), c.end(), model.Coef.data());
  model.DataFit = std::move(summary);
  model.Origin = ResultsOrigin::Data;
  model.HaveResults = true;
}

}  // namespace quon
