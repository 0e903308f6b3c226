#include "core/analysis/chebyshev_roots.h"

#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>

#include "core/analysis/term_scales.h"

namespace quon {
namespace {

constexpr int64_t kMostColleague = 64;          // the largest eigenvalue problem
constexpr int64_t kMostSampled = 512;           // the largest degree sampled on one piece
constexpr int kDeepest = 40;                    // pieces down to 2^-40 of the interval
constexpr double kSplitAt = 0.004849834917525;  // off the middle, as a fraction of the half-width
constexpr double kRealBand = 1e-4;              // |imaginary part| of an eigenvalue kept as real
constexpr double kZeroFactor = 64.0;            // a value within this many roundings is zero
constexpr int kNewtonSteps = 100;

struct Candidates {
  std::vector<double> Points;
  bool AnyNonZeroPiece = false;
};

// Eigenvalues of the colleague matrix of sum c_k T_k (degree n >= 2, c_n != 0) that lie on
// [-1, 1] up to the real band.
std::vector<double> ColleagueRoots(const std::vector<double>& c, std::size_t n) {
  Eigen::MatrixXd a =
      Eigen::MatrixXd::Zero(static_cast<Eigen::Index>(n), static_cast<Eigen::Index>(n));
  const auto size = static_cast<Eigen::Index>(n);
  a(0, 1) = 1.0;
  for (Eigen::Index i = 1; i < size; ++i) {
    a(i, i - 1) = 0.5;
    if (i + 1 < size) a(i, i + 1) = 0.5;
  }
  for (Eigen::Index j = 0; j < size; ++j) {
    a(size - 1, j) -= c[static_cast<std::size_t>(j)] / (2.0 * c[n]);
  }
  const Eigen::EigenSolver<Eigen::MatrixXd> solver(a, false);
  std::vector<double> roots;
  if (solver.info() != Eigen::Success) return roots;
  for (const std::complex<double>& lambda : solver.eigenvalues()) {
    if (std::fabs(lambda.imag()) <= kRealBand && std::fabs(lambda.real()) <= 1.0 + kRealBand) {
      roots.push_back(std::clamp(lambda.real(), -1.0, 1.0));
    }
  }
  return roots;
}

void SearchPiece(const RootFunction& f, double lo, double hi, int depth, Candidates& found) {
  const double half = (hi - lo) / 2.0;
  const double middle = lo + half;
  const auto split = [&] {
    const double seam = middle + kSplitAt * half;
    SearchPiece(f, lo, seam, depth + 1, found);
    SearchPiece(f, seam, hi, depth + 1, found);
  };
  const bool mayNotSplit = depth >= kDeepest || !(lo < middle && middle < hi);
  const int64_t wanted = f.Degree(lo, hi);
  if (wanted > kMostSampled && !mayNotSplit) return split();
  const int64_t degree = std::clamp<int64_t>(wanted, 1, kMostSampled);

  const std::vector<double> points = ChebyshevPoints(degree, lo, hi);
  std::vector<double> values(points.size());
  double scale = 0.0;
  for (std::size_t j = 0; j < points.size(); ++j) {
    double noise = 0.0;
    values[j] = f.Value(points[j], noise);
    scale = std::max(scale, noise);
  }
  std::vector<double> c = ChebyshevCoefficients(values);
  const double tolerance = kZeroFactor * DBL_EPSILON * scale;
  std::size_t n = c.size() - 1;
  while (n > 0 && !(std::fabs(c[n]) > tolerance)) --n;
  if (n == 0) {
    found.AnyNonZeroPiece = found.AnyNonZeroPiece || std::fabs(c[0]) > tolerance;
    return;
  }
  found.AnyNonZeroPiece = true;
  if (static_cast<int64_t>(n) > kMostColleague && !mayNotSplit) return split();
  const std::vector<double> roots =
      n == 1 ? std::vector<double>{std::clamp(-c[0] / c[1], -1.0, 1.0)} : ColleagueRoots(c, n);
  for (const double t : roots) found.Points.push_back(middle + half * t);
}

// The zero tolerance at x and the value there.
double Residual(const RootFunction& f, double x, double& tolerance) {
  double noise = 0.0;
  const double value = f.Value(x, noise);
  tolerance = kZeroFactor * DBL_EPSILON * noise;
  return value;
}

// Newton's method from x, kept in [lo, hi]; the iterate with the smallest |f|.
double Refine(const RootFunction& f, double x, double lo, double hi) {
  double tolerance = 0.0;
  double value = Residual(f, x, tolerance);
  double best = x;
  double bestValue = std::fabs(value);
  for (int step = 0; step < kNewtonSteps && value != 0.0; ++step) {
    const double slope = f.Slope(x);
    if (slope == 0.0 || !std::isfinite(slope)) break;
    const double next = std::clamp(x - value / slope, lo, hi);
    double nextTolerance = 0.0;
    const double nextValue = Residual(f, next, nextTolerance);
    if (std::fabs(nextValue) < bestValue) {
      best = next;
      bestValue = std::fabs(nextValue);
    }
    const bool stalled = std::fabs(next - x) <= 4.0 * DBL_EPSILON * std::max(std::fabs(x), hi - lo);
    const bool noisy = std::fabs(nextValue) >= std::fabs(value) && std::fabs(value) <= tolerance;
    if (stalled || noisy) break;
    x = next;
    value = nextValue;
    tolerance = nextTolerance;
  }
  return best;
}

bool IsZeroAt(const RootFunction& f, double x) {
  double tolerance = 0.0;
  return std::fabs(Residual(f, x, tolerance)) <= tolerance;
}

}  // namespace

std::vector<double> ChebyshevCoefficients(const std::vector<double>& values) {
  const std::size_t n = values.size() - 1;
  if (n == 0) return values;
  // Point j (ascending) is cos(pi (n - j) / n); cos(pi i k / n) from a table of 2n angles.
  std::vector<double> cosines(2 * n);
  for (std::size_t i = 0; i < 2 * n; ++i) {
    cosines[i] = std::cos(std::numbers::pi * static_cast<double>(i) / static_cast<double>(n));
  }
  std::vector<double> c(n + 1, 0.0);
  for (std::size_t k = 0; k <= n; ++k) {
    double sum = 0.0;
    for (std::size_t j = 0; j <= n; ++j) {
      const double weight = j == 0 || j == n ? 0.5 : 1.0;
      sum += weight * values[j] * cosines[((n - j) * k) % (2 * n)];
    }
    c[k] = sum * 2.0 / static_cast<double>(n);
  }
  c[0] /= 2.0;
  c[n] /= 2.0;
  return c;
}

RealRoots FindRealRoots(const RootFunction& f, double lo, double hi) {
  Candidates found;
  SearchPiece(f, lo, hi, 0, found);
  RealRoots result;
  if (!found.AnyNonZeroPiece) {
    result.IdenticallyZero = true;
    return result;
  }
  std::vector<double> roots;
  for (const double start : found.Points) {
    const double root = Refine(f, start, lo, hi);
    if (IsZeroAt(f, root)) roots.push_back(root);
  }
  std::sort(roots.begin(), roots.end());
  for (const double root : roots) {
    double unused = 0.0;
    if (!result.Roots.empty() &&
        IsZeroAt(f, result.Roots.back() + (root - result.Roots.back()) / 2)) {
      // One root seen twice: keep the coordinate where the function is smaller.
      if (std::fabs(f.Value(root, unused)) < std::fabs(f.Value(result.Roots.back(), unused))) {
        result.Roots.back() = root;
      }
      continue;
    }
    result.Roots.push_back(root);
  }
  return result;
}

}  // namespace quon
