#include "core/fit/fft.h"

#include <numbers>
#include <utility>

namespace quon {
namespace {

bool IsPowerOfTwo(std::size_t n) { return n != 0 && (n & (n - 1)) == 0; }

std::complex<double> UnitRoot(double numerator, double denominator) {
  const double angle = -2.0 * std::numbers::pi * numerator / denominator;
  return {std::cos(angle), std::sin(angle)};
}

}  // namespace

Fft::Fft(std::size_t n) : n_(n) {
  if (IsPowerOfTwo(n)) {
    twiddles_.resize(n / 2);
    for (std::size_t k = 0; k < n / 2; ++k) {
      twiddles_[k] = UnitRoot(static_cast<double>(k), static_cast<double>(n));
    }
    reversed_.resize(n);
    std::size_t bits = 0;
    while ((std::size_t{1} << bits) < n) ++bits;
    for (std::size_t i = 0; i < n; ++i) {
      std::size_t r = 0;
      for (std::size_t b = 0; b < bits; ++b) r |= ((i >> b) & 1u) << (bits - 1 - b);
      reversed_[i] = r;
    }
    return;
  }
  std::size_t m = 1;
  while (m < 2 * n - 1) m *= 2;
  inner_ = std::make_unique<Fft>(m);
  chirp_.resize(n);
  // k^2 mod 2n keeps the angle pi k^2 / n below 2 pi.
  const std::size_t period = 2 * n;
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t square = (k % period) * (k % period) % period;
    chirp_[k] = UnitRoot(static_cast<double>(square), static_cast<double>(period));
  }
  filter_.assign(m, {0.0, 0.0});
  filter_[0] = std::conj(chirp_[0]);
  for (std::size_t k = 1; k < n; ++k) filter_[k] = filter_[m - k] = std::conj(chirp_[k]);
  std::vector<std::complex<double>> unused;
  inner_->Forward(filter_.data(), unused);
}

Fft::~Fft() = default;
Fft::Fft(Fft&&) noexcept = default;
Fft& Fft::operator=(Fft&&) noexcept = default;

void Fft::Forward(std::complex<double>* data, std::vector<std::complex<double>>& scratch) const {
  if (n_ <= 1) return;
  if (inner_) {
    Bluestein(data, scratch);
  } else {
    Radix2(data);
  }
}

void Fft::Radix2(std::complex<double>* data) const {
  for (std::size_t i = 0; i < n_; ++i) {
    if (i < reversed_[i]) std::swap(data[i], data[reversed_[i]]);
  }
  for (std::size_t half = 1; half < n_; half *= 2) {
    const std::size_t step = n_ / (2 * half);
    for (std::size_t start = 0; start < n_; start += 2 * half) {
      for (std::size_t j = 0; j < half; ++j) {
        // The product written out: the library's complex product checks for NaN and
        // infinity on every call, which costs more than the butterfly itself.
        const std::complex<double> w = twiddles_[j * step];
        const std::complex<double> d = data[start + j + half];
        const std::complex<double> t(w.real() * d.real() - w.imag() * d.imag(),
                                     w.real() * d.imag() + w.imag() * d.real());
        data[start + j + half] = data[start + j] - t;
        data[start + j] += t;
      }
    }
  }
}

void Fft::Bluestein(std::complex<double>* data, std::vector<std::complex<double>>& scratch) const {
  const std::size_t m = inner_->size();
  scratch.assign(m, {0.0, 0.0});
  for (std::size_t k = 0; k < n_; ++k) scratch[k] = data[k] * chirp_[k];
  std::vector<std::complex<double>> unused;
  inner_->Forward(scratch.data(), unused);
  for (std::size_t k = 0; k < m; ++k) scratch[k] = std::conj(scratch[k] * filter_[k]);
  // The inverse transform as the conjugate of the forward one of the conjugate.
  inner_->Forward(scratch.data(), unused);
  const double scale = 1.0 / static_cast<double>(m);
  for (std::size_t k = 0; k < n_; ++k) data[k] = std::conj(scratch[k]) * scale * chirp_[k];
}

}  // namespace quon
