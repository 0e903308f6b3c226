#include "core/fit/fft.h"

#include <algorithm>
#include <numbers>
#include <utility>

#include "core/fit/solver_lanes.h"

namespace quon {
namespace {

bool IsPowerOfTwo(std::size_t n) { return n != 0 && (n & (n - 1)) == 0; }

std::complex<double> UnitRoot(double numerator, double denominator) {
  const double angle = -2.0 * std::numbers::pi * numerator / denominator;
  return {std::cos(angle), std::sin(angle)};
}

// Row j of every sequence times the complex number w (products written out: the library's
// complex product checks for NaN and infinity on every call).
void ScaleRow(double* re, double* im, std::size_t width, std::complex<double> w) {
  const double wr = w.real(), wi = w.imag();
  for (std::size_t q = 0; q < width; ++q) {
    const double r = re[q], i = im[q];
    re[q] = wr * r - wi * i;
    im[q] = wr * i + wi * r;
  }
}

// The radix-2 transform of `width` sequences of length n, a power of two: bit reversal,
// then the butterflies. Compiled once per instruction set below: every element goes
// through the same operations whatever the vector width, so the results do not depend on
// the choice.
__attribute__((always_inline)) inline void Radix2Rows(double* re, double* im, std::size_t width,
                                                      std::size_t n,
                                                      const std::complex<double>* twiddles,
                                                      const std::size_t* reversed) {
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t r = reversed[i];
    if (i < r) {
      std::swap_ranges(re + i * width, re + (i + 1) * width, re + r * width);
      std::swap_ranges(im + i * width, im + (i + 1) * width, im + r * width);
    }
  }
  std::size_t half = 1;
  if (n >= 4) {
    // The first two passes together: their twiddle factors are 1 and -i, which need no
    // multiplication (the same sums and differences as the general butterflies).
    for (std::size_t start = 0; start < n; start += 4) {
      double* r0 = re + start * width;
      double* i0 = im + start * width;
      double* r1 = r0 + width;
      double* i1 = i0 + width;
      double* r2 = r1 + width;
      double* i2 = i1 + width;
      double* r3 = r2 + width;
      double* i3 = i2 + width;
      for (std::size_t q = 0; q < width; ++q) {
        const double ar = r0[q] + r1[q], ai = i0[q] + i1[q];
        const double br = r0[q] - r1[q], bi = i0[q] - i1[q];
        const double cr = r2[q] + r3[q], ci = i2[q] + i3[q];
        const double dr = r2[q] - r3[q], di = i2[q] - i3[q];
        r0[q] = ar + cr;
        i0[q] = ai + ci;
        r2[q] = ar - cr;
        i2[q] = ai - ci;
        // (dr + i di) times -i is di - i dr.
        r1[q] = br + di;
        i1[q] = bi - dr;
        r3[q] = br - di;
        i3[q] = bi + dr;
      }
    }
    half = 4;
  }
  for (; half < n; half *= 2) {
    const std::size_t step = n / (2 * half);
    for (std::size_t start = 0; start < n; start += 2 * half) {
      for (std::size_t j = 0; j < half; ++j) {
        const double wr = twiddles[j * step].real(), wi = twiddles[j * step].imag();
        double* ar = re + (start + j) * width;
        double* ai = im + (start + j) * width;
        double* br = re + (start + j + half) * width;
        double* bi = im + (start + j + half) * width;
        for (std::size_t q = 0; q < width; ++q) {
          const double tr = wr * br[q] - wi * bi[q];
          const double ti = wr * bi[q] + wi * br[q];
          br[q] = ar[q] - tr;
          bi[q] = ai[q] - ti;
          ar[q] += tr;
          ai[q] += ti;
        }
      }
    }
  }
}

using Radix2Kernel = void (*)(double*, double*, std::size_t, std::size_t,
                              const std::complex<double>*, const std::size_t*);

void Radix2Baseline(double* re, double* im, std::size_t width, std::size_t n,
                    const std::complex<double>* twiddles, const std::size_t* reversed) {
  Radix2Rows(re, im, width, n, twiddles, reversed);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target("avx2"))) void Radix2Avx2(double* re, double* im, std::size_t width,
                                                std::size_t n, const std::complex<double>* twiddles,
                                                const std::size_t* reversed) {
  Radix2Rows(re, im, width, n, twiddles, reversed);
}

__attribute__((target("avx512f"))) void Radix2Avx512(double* re, double* im, std::size_t width,
                                                     std::size_t n,
                                                     const std::complex<double>* twiddles,
                                                     const std::size_t* reversed) {
  Radix2Rows(re, im, width, n, twiddles, reversed);
}
#endif

// The widest the processor has, as for the solver's lanes.
Radix2Kernel ChosenRadix2() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  switch (BestLaneIsa()) {
    case LaneIsa::Avx512:
      return Radix2Avx512;
    case LaneIsa::Avx2:
      return Radix2Avx2;
    case LaneIsa::Baseline:
      break;
  }
#endif
  return Radix2Baseline;
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
  std::vector<double> re(m), im(m), unused;
  for (std::size_t k = 0; k < m; ++k) re[k] = filter_[k].real(), im[k] = filter_[k].imag();
  inner_->Forward(re.data(), im.data(), 1, unused);
  for (std::size_t k = 0; k < m; ++k) filter_[k] = {re[k], im[k]};
}

Fft::~Fft() = default;
Fft::Fft(Fft&&) noexcept = default;
Fft& Fft::operator=(Fft&&) noexcept = default;

void Fft::Forward(double* re, double* im, std::size_t width, std::vector<double>& scratch) const {
  if (n_ <= 1) return;
  if (inner_) {
    Bluestein(re, im, width, scratch);
  } else {
    Radix2(re, im, width);
  }
}

void Fft::Radix2(double* re, double* im, std::size_t width) const {
  static const Radix2Kernel kernel = ChosenRadix2();
  kernel(re, im, width, n_, twiddles_.data(), reversed_.data());
}

void Fft::Bluestein(double* re, double* im, std::size_t width, std::vector<double>& scratch) const {
  const std::size_t m = inner_->size();
  scratch.assign(2 * m * width, 0.0);
  double* sr = scratch.data();
  double* si = scratch.data() + m * width;
  for (std::size_t k = 0; k < n_; ++k) {
    std::copy(re + k * width, re + (k + 1) * width, sr + k * width);
    std::copy(im + k * width, im + (k + 1) * width, si + k * width);
    ScaleRow(sr + k * width, si + k * width, width, chirp_[k]);
  }
  std::vector<double> unused;
  inner_->Forward(sr, si, width, unused);
  // The inverse transform as the conjugate of the forward one of the conjugate.
  for (std::size_t k = 0; k < m; ++k) {
    ScaleRow(sr + k * width, si + k * width, width, filter_[k]);
    for (std::size_t q = 0; q < width; ++q) si[k * width + q] = -si[k * width + q];
  }
  inner_->Forward(sr, si, width, unused);
  const double scale = 1.0 / static_cast<double>(m);
  for (std::size_t k = 0; k < n_; ++k) {
    for (std::size_t q = 0; q < width; ++q) {
      re[k * width + q] = sr[k * width + q] * scale;
      im[k * width + q] = -si[k * width + q] * scale;
    }
    ScaleRow(re + k * width, im + k * width, width, chirp_[k]);
  }
}

}  // namespace quon
