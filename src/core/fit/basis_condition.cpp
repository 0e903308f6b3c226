#include "core/fit/basis_condition.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace quon {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// An LU factorisation with partial pivoting, PA = LU, of a column-scaled copy.
class Factorisation {
 public:
  // False when a pivot is zero (or the matrix holds a NaN or an infinity).
  bool Factor(const BasisMatrix& matrix, bool scaleColumns) {
    n_ = static_cast<std::size_t>(matrix.size());
    lu_.assign(n_ * n_, 0.0);
    perm_.resize(n_);
    norm_ = 0.0;
    for (std::size_t c = 0; c < n_; ++c) {
      double largest = 0.0;
      for (std::size_t r = 0; r < n_; ++r)
        largest = std::max(largest, std::fabs(matrix(Int(r), Int(c))));
      if (!std::isfinite(largest) || largest == 0.0) return false;
      const double scale = scaleColumns ? largest : 1.0;
      double sum = 0.0;
      for (std::size_t r = 0; r < n_; ++r) {
        At(r, c) = matrix(Int(r), Int(c)) / scale;
        sum += std::fabs(At(r, c));
      }
      norm_ = std::max(norm_, sum);
    }
    for (std::size_t r = 0; r < n_; ++r) perm_[r] = r;
    for (std::size_t p = 0; p < n_; ++p) {
      std::size_t pivot = p;
      for (std::size_t r = p + 1; r < n_; ++r) {
        if (std::fabs(At(r, p)) > std::fabs(At(pivot, p))) pivot = r;
      }
      if (!(std::fabs(At(pivot, p)) > 0.0)) return false;
      if (pivot != p) {
        for (std::size_t c = 0; c < n_; ++c) std::swap(At(p, c), At(pivot, c));
        std::swap(perm_[p], perm_[pivot]);
      }
      for (std::size_t r = p + 1; r < n_; ++r) {
        const double f = At(r, p) / At(p, p);
        At(r, p) = f;
        if (f == 0.0) continue;
        for (std::size_t c = p + 1; c < n_; ++c) At(r, c) -= f * At(p, c);
      }
    }
    return true;
  }

  // x = A^-1 b.
  std::vector<double> Solve(const std::vector<double>& b) const {
    std::vector<double> x(n_);
    for (std::size_t r = 0; r < n_; ++r) {
      double sum = b[perm_[r]];
      for (std::size_t c = 0; c < r; ++c) sum -= At(r, c) * x[c];
      x[r] = sum;
    }
    for (std::size_t r = n_; r-- > 0;) {
      double sum = x[r];
      for (std::size_t c = r + 1; c < n_; ++c) sum -= At(r, c) * x[c];
      x[r] = sum / At(r, r);
    }
    return x;
  }

  // x = A^-T b: U^T y = b, L^T z = y, x = P^T z.
  std::vector<double> SolveTransposed(const std::vector<double>& b) const {
    std::vector<double> y(b);
    for (std::size_t r = 0; r < n_; ++r) {
      double sum = y[r];
      for (std::size_t c = 0; c < r; ++c) sum -= At(c, r) * y[c];
      y[r] = sum / At(r, r);
    }
    for (std::size_t r = n_; r-- > 0;) {
      double sum = y[r];
      for (std::size_t c = r + 1; c < n_; ++c) sum -= At(c, r) * y[c];
      y[r] = sum;
    }
    std::vector<double> x(n_);
    for (std::size_t r = 0; r < n_; ++r) x[perm_[r]] = y[r];
    return x;
  }

  std::size_t size() const { return n_; }
  // The 1-norm of the (scaled) matrix.
  double norm() const { return norm_; }

 private:
  static int32_t Int(std::size_t i) { return static_cast<int32_t>(i); }
  double& At(std::size_t r, std::size_t c) { return lu_[r * n_ + c]; }
  double At(std::size_t r, std::size_t c) const { return lu_[r * n_ + c]; }

  std::size_t n_ = 0;
  std::vector<double> lu_;
  std::vector<std::size_t> perm_;
  double norm_ = 0.0;
};

double OneNorm(const std::vector<double>& v) {
  double sum = 0.0;
  for (const double x : v) sum += std::fabs(x);
  return sum;
}

// Hager's estimate of the 1-norm of A^-1, never above the true norm, usually equal to it.
double EstimateInverseNorm(const Factorisation& lu) {
  const std::size_t n = lu.size();
  std::vector<double> x(n, 1.0 / static_cast<double>(n));
  double estimate = 0.0;
  std::size_t lastIndex = n;
  for (int step = 0; step < 5; ++step) {
    const std::vector<double> y = lu.Solve(x);
    estimate = std::max(estimate, OneNorm(y));
    std::vector<double> signs(n);
    for (std::size_t i = 0; i < n; ++i) signs[i] = y[i] >= 0.0 ? 1.0 : -1.0;
    const std::vector<double> z = lu.SolveTransposed(signs);
    std::size_t best = 0;
    double zx = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      if (std::fabs(z[i]) > std::fabs(z[best])) best = i;
      zx += z[i] * x[i];
    }
    if (std::fabs(z[best]) <= zx || best == lastIndex) break;
    lastIndex = best;
    std::fill(x.begin(), x.end(), 0.0);
    x[best] = 1.0;
  }
  // Higham's safeguard: a vector of alternating signs and growing size catches the
  // matrices for which the steps above stall.
  std::vector<double> b(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double growth = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.0;
    b[i] = (i % 2 == 0 ? 1.0 : -1.0) * (1.0 + growth);
  }
  const double alternative = 2.0 * OneNorm(lu.Solve(b)) / (3.0 * static_cast<double>(n));
  return std::max(estimate, alternative);
}

}  // namespace

double EstimateCondition(const BasisMatrix& matrix, bool scaleColumns) {
  if (matrix.size() < 1) return kInfinity;
  Factorisation lu;
  if (!lu.Factor(matrix, scaleColumns)) return kInfinity;
  const double condition = lu.norm() * EstimateInverseNorm(lu);
  return std::isfinite(condition) ? condition : kInfinity;
}

double EstimateCondition(const BasisMatrix& matrix, TermKind kind) {
  switch (kind) {
    case TermKind::Power:
      return EstimateCondition(matrix, true);
    case TermKind::Trigonometric:
    case TermKind::Chebyshev:
      return EstimateCondition(matrix, false);
  }
  return kInfinity;
}

std::vector<ConditionWarning> CheckConditioning(const ProblemModel& model) {
  std::vector<ConditionWarning> warnings;
  for (int k = 0; k < VariableCount(model); ++k) {
    const auto s = static_cast<std::size_t>(k);
    // A Chebyshev fit solves no system: its cosine transform loses no digits.
    if (model.LastTerm[s] < 1 || !SolvedByElimination(model.Kind[s])) continue;
    const double condition = EstimateCondition(BuildBasisMatrix(model, k), model.Kind[s]);
    if (!(condition <= IllConditionedAbove)) {
      warnings.push_back({k, s < model.VarName.size() ? model.VarName[s] : std::string(),
                          model.LastTerm[s] + 1, model.Kind[s], condition});
    }
  }
  return warnings;
}

}  // namespace quon
