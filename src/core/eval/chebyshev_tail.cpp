#include "core/eval/chebyshev_tail.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>

namespace quon {
namespace {

constexpr double kSafety = 3.0;
constexpr double kSlowestDecay = 0.95;
// Coefficients within this many eps of the scale are rounding noise.
constexpr double kPlateau = 8.0;

}  // namespace

double SlicesPerEntry(const CoefArray& coef, int k) {
  const auto n = static_cast<double>(coef.extent(k));
  return n > 0 ? static_cast<double>(coef.size()) / n : 1.0;
}

std::vector<double> CoefficientEnvelope(const CoefArray& coef, int k, bool largest) {
  const auto n = static_cast<std::size_t>(coef.extent(k));
  std::vector<double> envelope(n, 0.0);
  if (coef.empty()) return envelope;
  const std::size_t inner = coef.stride(k);
  const double* data = coef.data();
  for (std::size_t i = 0; i < coef.size(); ++i) {
    double& e = envelope[(i / inner) % n];
    e = largest ? std::max(e, std::fabs(data[i])) : e + std::fabs(data[i]);
  }
  return envelope;
}

double RoundingLevel(int64_t terms, double scale) {
  return 4.0 * std::sqrt(static_cast<double>(terms)) * DBL_EPSILON * scale;
}

TailEstimate EstimateTail(const std::vector<double>& envelope, double scale, double slices) {
  TailEstimate tail;
  const std::size_t n = envelope.size();
  if (n < 4 || !std::isfinite(scale)) {
    tail.Error = 2.0 * scale;
    return tail;
  }
  const auto pair = [&](std::size_t j) { return std::max(envelope[j], envelope[j - 1]); };
  const std::size_t last = n - 1;
  const double end = pair(last);
  if (end <= kPlateau * DBL_EPSILON * scale * std::sqrt(std::max(slices, 1.0))) {
    tail.Converged = true;
    tail.DecayRate = 0.0;
    return tail;
  }
  double rate = 0.0;
  for (std::size_t d = 1; d <= 3 && 2 * d + 1 <= last; ++d) {
    const double before = pair(last - 2 * d);
    const double r = before > 0 ? std::pow(end / before, 1.0 / static_cast<double>(2 * d)) : 1.0;
    rate = std::max(rate, r);
  }
  tail.DecayRate = rate;
  if (!(rate < kSlowestDecay)) {
    tail.Error = 2.0 * scale;
    return tail;
  }
  tail.Converged = true;
  // The size of the series at its last index, extrapolated when the last coefficient
  // is a zero of an even or odd function.
  const double size = std::max(envelope[last], envelope[last - 1] * rate);
  tail.Error = 2.0 * kSafety * size * rate / (1.0 - rate);
  return tail;
}

std::optional<ChebyshevEstimate> EstimateChebyshevError(const ProblemModel& model) {
  const int vars = VariableCount(model);
  if (!model.HaveResults || model.Coef.empty()) return std::nullopt;
  for (int k = 0; k < vars; ++k) {
    if (model.Kind[static_cast<std::size_t>(k)] != TermKind::Chebyshev) return std::nullopt;
  }
  double scale = 0.0;
  for (std::size_t i = 0; i < model.Coef.size(); ++i) scale += std::fabs(model.Coef.data()[i]);
  ChebyshevEstimate estimate;
  int64_t terms = 0;
  double truncation = 0.0;
  for (int k = 0; k < vars; ++k) {
    terms += model.Coef.extent(k);
    const TailEstimate tail =
        EstimateTail(CoefficientEnvelope(model.Coef, k), scale, SlicesPerEntry(model.Coef, k));
    if (!tail.Converged) estimate.Unconverged.push_back(k);
    truncation += tail.Error;
  }
  estimate.Error = std::max(truncation, RoundingLevel(terms, scale));
  return estimate;
}

int32_t ChopCount(const std::vector<double>& envelope, double tolerance) {
  double left = 0.0;
  auto count = static_cast<int32_t>(envelope.size());
  for (auto m = static_cast<int32_t>(envelope.size()); m-- > 2;) {
    left += envelope[static_cast<std::size_t>(m)];
    if (!(2.0 * left <= tolerance)) break;
    count = m;
  }
  return count;
}

}  // namespace quon
