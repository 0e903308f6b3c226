#include "core/fit/chebyshev_transform.h"

#include <cmath>
#include <cstddef>

namespace quon {
namespace {

bool AllFinite(const double* values, std::size_t count) {
  for (std::size_t j = 0; j < count; ++j) {
    if (!std::isfinite(values[j])) return false;
  }
  return true;
}

}  // namespace

ChebyshevTransform::ChebyshevTransform(int32_t terms)
    : terms_(terms), fft_(terms > 1 ? 2 * static_cast<std::size_t>(terms - 1) : 1) {}

void ChebyshevTransform::ToCoefficients(double* a, double* b,
                                        std::vector<std::complex<double>>& work,
                                        std::vector<std::complex<double>>& scratch) const {
  if (terms_ == 1) return;  // one value is its own constant term
  const auto last = static_cast<std::size_t>(terms_ - 1);
  // A NaN or an infinity would reach the other line through the products of the
  // transform: a line that holds one goes through alone.
  if (b != nullptr && !(AllFinite(a, last + 1) && AllFinite(b, last + 1))) {
    ToCoefficients(a, nullptr, work, scratch);
    ToCoefficients(b, nullptr, work, scratch);
    return;
  }
  work.resize(2 * last);
  for (std::size_t j = 0; j <= last; ++j) work[j] = {a[j], b != nullptr ? b[j] : 0.0};
  for (std::size_t j = 1; j < last; ++j) work[2 * last - j] = work[j];
  fft_.Forward(work.data(), scratch);
  const double inner = 1.0 / static_cast<double>(last);
  const double end = 0.5 * inner;
  for (std::size_t k = 0; k <= last; ++k) {
    const double scale = k == 0 || k == last ? end : inner;
    a[k] = work[k].real() * scale;
    if (b != nullptr) b[k] = work[k].imag() * scale;
  }
}

}  // namespace quon
