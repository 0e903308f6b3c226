#include "core/datafit/data_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "core/datafit/design_rows.h"
#include "core/datafit/factorisation.h"
#include "core/datafit/table_passes.h"
#include "core/datafit/table_survey.h"
#include "core/eval/double_double.h"
#include "engine/number_text.h"

namespace quon {
namespace {

constexpr int kMaxRefinementPasses = 6;
// Beyond this condition of the scaled design, Householder QR in double determines no digit.
constexpr double kRankDeficientCondition = 1.0 / std::numeric_limits<double>::epsilon();
// Tables up to this m n^2 get their standard errors corrected with the Gram matrix.
constexpr double kGramCorrectionWork = 67108864.0;  // 2^26

using Eigen::Index;
using Eigen::MatrixXd;
using Eigen::VectorXd;

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

  const TableSurvey survey = SurveyTable(model, design, source, table);
  std::optional<Factorisation> factors;
  if (survey.MayBeGrid()) factors = FactoriseGrid(design, source, survey);
  if (!factors) factors = FactoriseScattered(design, source);
  const std::vector<double>& scale = factors->Scale;
  const Inverse inverse = InvertChecked(factors->R);
  const DoubleDouble mean = survey.SumWY.ToDouble() / survey.SumW.ToDouble();
  std::vector<double> c(n);
  for (std::size_t j = 0; j < n; ++j) c[j] = factors->Z(static_cast<Index>(j)) * scale[j];

  ResidualPass pass;
  double lastStep = std::numeric_limits<double>::infinity();
  for (int step = 0;; ++step) {
    pass = Residuals(design, source, c, mean);
    VectorXd g(static_cast<Index>(n));
    for (std::size_t j = 0; j < n; ++j)
      g(static_cast<Index>(j)) = pass.Gradient[j].ToDouble() * scale[j];
    const VectorXd dz = inverse.RInverse * (inverse.RInverse.transpose() * g);
    double size = 0.0;
    double zSize = 0.0;
    for (std::size_t j = 0; j < n; ++j) {
      size = std::max(size, std::fabs(dz(static_cast<Index>(j))));
      zSize = std::max(zSize, std::fabs(c[j] / scale[j]));
    }
    const bool negligible = size <= 4.0 * std::numeric_limits<double>::epsilon() * zSize;
    if (negligible || !(size < 0.5 * lastStep) || step == kMaxRefinementPasses) break;
    for (std::size_t j = 0; j < n; ++j) c[j] += dz(static_cast<Index>(j)) * scale[j];
    lastStep = size;
  }
  if (visit) VisitResiduals(design, source, c, visit);

  const auto finite = [](double v) { return std::isfinite(v); };
  if (!std::all_of(c.begin(), c.end(), finite) || !std::isfinite(pass.Ssr.ToDouble()) ||
      !std::isfinite(pass.Tss.ToDouble())) {
    throw DataFitRefused("The fit overflows: the values are too large for these terms.");
  }
  DataFitSummary summary;
  summary.Table = table;
  summary.Points = survey.Points;
  summary.OutsideBox = survey.OutsideBox;
  const int64_t freedom = survey.Points - static_cast<int64_t>(n);
  const double ssr = pass.Ssr.ToDouble();
  summary.ResidualSd = freedom > 0 ? std::sqrt(ssr / static_cast<double>(freedom)) : 0.0;
  const double tss = pass.Tss.ToDouble();
  summary.RSquared = tss > 0.0 ? 1.0 - ssr / tss : 1.0;
  summary.MaxResidual = pass.MaxResidual;
  summary.WorstRow = pass.WorstRow;
  summary.Condition = inverse.Condition;
  const VectorXd diagonal =
      InverseGramDiagonal(design, source, inverse.RInverse, scale, survey.Points);
  summary.StandardErrors.resize(n);
  for (std::size_t j = 0; j < n; ++j) {
    summary.StandardErrors[j] =
        summary.ResidualSd * std::sqrt(std::max(0.0, diagonal(static_cast<Index>(j)))) * scale[j];
  }
  std::copy(c.begin(), c.end(), model.Coef.data());
  model.DataFit = std::move(summary);
  model.Origin = ResultsOrigin::Data;
  model.HaveResults = true;
}

}  // namespace quon
