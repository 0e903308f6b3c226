#include "core/analysis/extrema.h"

#include <Eigen/Cholesky>
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "core/analysis/analysis_error.h"
#include "core/analysis/extrema_scan.h"
#include "core/analysis/fit_jet.h"
#include "core/eval/evaluator.h"
#include "core/parallel/parallel_for.h"

namespace quon {
namespace {

constexpr int kMostSteps = 60;
constexpr int kMostHalvings = 30;

// Maximises sign * approximation from `start` within the box; `absolute` holds the
// coefficients' magnitudes, for the rounding of the values.
Extreme Climb(const ProblemModel& model, const ProblemModel& absolute, const Box& box,
              Extreme start, double sign) {
  const std::size_t n = start.Point.size();
  std::vector<double> x = start.Point;
  double height = sign * ValueAt(model, x);
  for (int step = 0; step < kMostSteps; ++step) {
    const Jet jet = JetAt(model, x);
    // The variables free to move: not held by the box, not pressed against a face.
    std::vector<std::size_t> free;
    for (std::size_t k = 0; k < n; ++k) {
      const double slope = sign * jet.Gradient[k];
      const bool held = box.Lower[k] == box.Upper[k] || (x[k] <= box.Lower[k] && slope < 0) ||
                        (x[k] >= box.Upper[k] && slope > 0);
      if (!held) free.push_back(k);
    }
    if (free.empty()) break;
    const auto m = static_cast<Eigen::Index>(free.size());
    Eigen::VectorXd gradient(m);
    Eigen::MatrixXd curvature(m, m);  // minus the Hessian of sign * f
    for (Eigen::Index i = 0; i < m; ++i) {
      const std::size_t a = free[static_cast<std::size_t>(i)];
      gradient(i) = sign * jet.Gradient[a];
      for (Eigen::Index j = 0; j < m; ++j) {
        curvature(i, j) = -sign * jet.Hessian[a * n + free[static_cast<std::size_t>(j)]];
      }
    }
    const Eigen::LLT<Eigen::MatrixXd> newton(curvature);
    Eigen::VectorXd direction;
    if (newton.info() == Eigen::Success) {
      direction = newton.solve(gradient);
    } else {
      // Not a maximum's neighbourhood: up the gradient, at most across the box at first.
      double widest = 0.0;
      for (Eigen::Index i = 0; i < m; ++i) {
        const std::size_t a = free[static_cast<std::size_t>(i)];
        widest = std::max(widest, std::fabs(gradient(i)) / (box.Upper[a] - box.Lower[a]));
      }
      direction = widest > 0.0 ? Eigen::VectorXd(gradient / widest) : gradient;
    }
    // The rise the step promises to first order: once it is below the rounding of the
    // values, no step can show an improvement and the climb is over.
    const double promise = gradient.dot(direction);
    const double rounding = RoundingAt(absolute, x);
    bool moved = false;
    bool settled = false;
    double length = 1.0;
    for (int halving = 0; halving < kMostHalvings && !moved; ++halving, length /= 2.0) {
      if (!(length * promise > 16.0 * rounding)) {
        settled = true;
        break;
      }
      std::vector<double> next = x;
      double shift = 0.0;
      for (Eigen::Index i = 0; i < m; ++i) {
        const std::size_t a = free[static_cast<std::size_t>(i)];
        next[a] = std::clamp(x[a] + length * direction(i), box.Lower[a], box.Upper[a]);
        shift = std::max(shift, std::fabs(next[a] - x[a]) /
                                    std::max({std::fabs(x[a]), box.Upper[a] - box.Lower[a]}));
      }
      if (shift <= 2.0 * DBL_EPSILON) {
        settled = true;
        break;
      }
      const double nextHeight = sign * ValueAt(model, next);
      if (nextHeight > height) {
        x = next;
        height = nextHeight;
        moved = true;
        settled = shift <= 64.0 * DBL_EPSILON;
      }
    }
    if (!moved || settled) break;
  }
  return {Evaluate(model, x), x};
}

Extreme Best(const std::vector<Extreme>& found, double sign) {
  Extreme best = found.front();
  for (const Extreme& e : found) {
    if (sign * e.Value > sign * best.Value) best = e;
  }
  return best;
}

}  // namespace

Extremes FindExtremes(const ProblemModel& model, const Box& box) {
  CheckAnalysable(model);
  CheckBox(model, box);
  const ScanResult scan = ScanForExtremes(model, box, ExtremeStarts);
  if (scan.Maxima.empty() || scan.Minima.empty()) {
    throw AnalysisError("The approximation cannot be evaluated anywhere on the box.");
  }
  // Every start is refined on its own; the maxima's first, then the minima's.
  std::vector<ScanPoint> starts = scan.Maxima;
  starts.insert(starts.end(), scan.Minima.begin(), scan.Minima.end());
  std::vector<Extreme> refined(starts.size());
  const ProblemModel absolute = WithAbsoluteCoefficients(model);
  ParallelFor(starts.size(), WorkerCount(starts.size()), [&](std::size_t, std::size_t i) {
    const double sign = i < scan.Maxima.size() ? 1.0 : -1.0;
    refined[i] = Climb(model, absolute, box, Extreme{starts[i].Value, starts[i].Point}, sign);
  });
  Extremes result;
  result.ScanPoints = scan.Points;
  const auto split = refined.begin() + static_cast<std::ptrdiff_t>(scan.Maxima.size());
  result.Maximum = Best(std::vector<Extreme>(refined.begin(), split), 1.0);
  result.Minimum = Best(std::vector<Extreme>(split, refined.end()), -1.0);
  return result;
}

}  // namespace quon
