#include "core/analysis/term_scales.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/analysis/analysis_error.h"

namespace quon {
namespace {

// Beyond this many radians a variable's terms turn through more wavelengths than any scan or
// series here can follow.
constexpr double kMostAngle = 1e9;

// a = K w h: the angle through which the fastest trigonometric term turns either side of the
// middle of [lo, hi].
double HalfAngle(const NodeGeometry& g, double lo, double hi) {
  if (g.Period == 0.0) throw AnalysisError("Division by zero: the period of a variable is 0.");
  const double multiple = static_cast<double>((g.LastTerm + 1) / 2);
  const double a = multiple * std::fabs(g.AngularFactor()) * std::fabs(hi - lo) / 2.0;
  if (!std::isfinite(a) || a > kMostAngle) {
    throw AnalysisError("The trigonometric terms turn through too many periods on the interval.");
  }
  return a;
}

// The first degree k above a where 2 (a/2)^k / k! < 2^-56; the bound falls with k there,
// so the degree is found by doubling and halving.
int64_t BesselDegree(double a) {
  if (a == 0.0) return 0;
  const double logHalf = std::log(a / 2.0);
  const auto small = [&](int64_t k) {
    const auto d = static_cast<double>(k);
    return d * logHalf - std::lgamma(d + 1.0) < std::log(std::ldexp(1.0, -57));
  };
  int64_t low = static_cast<int64_t>(std::ceil(a));
  if (small(low)) return low;
  int64_t high = 2 * low + 16;
  while (!small(high)) high *= 2;
  while (high - low > 1) {
    const int64_t middle = low + (high - low) / 2;
    (small(middle) ? high : low) = middle;
  }
  return high;
}

int64_t TrigScanIntervals(const NodeGeometry& g, double lo, double hi) {
  const double a = HalfAngle(g, lo, hi);
  const auto byWavelength = static_cast<int64_t>(std::ceil(4.0 * a / std::numbers::pi));
  const int64_t asPolynomial = 2 * std::min<int64_t>(g.LastTerm, BesselDegree(a));
  return std::max<int64_t>({byWavelength, asPolynomial, 2});
}

std::vector<double> EquallySpaced(int64_t intervals, double lo, double hi) {
  std::vector<double> points(static_cast<std::size_t>(intervals) + 1);
  for (int64_t i = 0; i <= intervals; ++i) {
    points[static_cast<std::size_t>(i)] =
        lo + (hi - lo) * static_cast<double>(i) / static_cast<double>(intervals);
  }
  points.back() = hi;
  return points;
}

}  // namespace

std::vector<double> ChebyshevPoints(int64_t degree, double lo, double hi) {
  if (degree == 0) return {lo};
  std::vector<double> points(static_cast<std::size_t>(degree) + 1);
  const double middle = lo + (hi - lo) / 2.0;
  const double half = (hi - lo) / 2.0;
  for (int64_t i = 0; i <= degree; ++i) {
    // sin of the angle from the middle keeps the points symmetric to rounding.
    const double angle =
        std::numbers::pi * static_cast<double>(2 * i - degree) / static_cast<double>(2 * degree);
    points[static_cast<std::size_t>(i)] = middle + half * std::sin(angle);
  }
  points.front() = lo;
  points.back() = hi;
  return points;
}

int64_t ResolvingDegree(const NodeGeometry& g, double lo, double hi) {
  switch (g.Kind) {
    case TermKind::Power:
    case TermKind::Chebyshev:
      return g.LastTerm;
    case TermKind::Trigonometric:
      return BesselDegree(HalfAngle(g, lo, hi));
  }
  return g.LastTerm;
}

int64_t ScanCount(const NodeGeometry& g, double lo, double hi) {
  if (lo == hi) return 1;
  switch (g.Kind) {
    case TermKind::Power:
    case TermKind::Chebyshev:
      return std::max<int64_t>(2 * int64_t{g.LastTerm}, 2) + 1;
    case TermKind::Trigonometric:
      return TrigScanIntervals(g, lo, hi) + 1;
  }
  return 2;
}

std::vector<double> ScanCoordinates(const NodeGeometry& g, double lo, double hi) {
  if (lo == hi) return {lo};
  switch (g.Kind) {
    case TermKind::Power:
    case TermKind::Chebyshev:
      return ChebyshevPoints(ScanCount(g, lo, hi) - 1, lo, hi);
    case TermKind::Trigonometric:
      return EquallySpaced(TrigScanIntervals(g, lo, hi), lo, hi);
  }
  return {lo, hi};
}

std::vector<double> TermMagnitudes(const NodeGeometry& g, double x) {
  std::vector<double> sizes(static_cast<std::size_t>(g.LastTerm) + 1, 1.0);
  switch (g.Kind) {
    case TermKind::Power: {
      const double offset = std::fabs(x - g.Center);
      for (std::size_t j = 1; j < sizes.size(); ++j) sizes[j] = sizes[j - 1] * offset;
      break;
    }
    case TermKind::Trigonometric:
      break;
    case TermKind::Chebyshev: {
      // |T_j(s)| <= 1 inside the interval and T_j(|s|) outside it.
      const double t = std::max(1.0, std::fabs(g.MappedArgument(x)));
      if (sizes.size() > 1) sizes[1] = t;
      for (std::size_t j = 2; j < sizes.size(); ++j)
        sizes[j] = 2.0 * t * sizes[j - 1] - sizes[j - 2];
      break;
    }
  }
  return sizes;
}

}  // namespace quon
