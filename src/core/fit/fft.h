// The discrete Fourier transform of complex data of any length n,
// X_k = sum_j x_j exp(-2 pi i j k / n), in O(n log n).
//
// A length that is a power of two is transformed by the iterative radix-2 Cooley-Tukey
// algorithm (bit-reversed copy, then log2 n passes of butterflies) with twiddle factors
// computed once, each from its own angle rather than by repeated multiplication. Any other
// length goes through Bluestein's chirp-z algorithm (Bluestein 1970; Press et al.,
// "Numerical Recipes", 3rd ed., 12.3): the product jk is written as (j^2 + k^2 - (k - j)^2)
// / 2, which turns the transform into a convolution of length m >= 2 n - 1, a power of
// two, done with three radix-2 transforms; the chirp's angles are reduced modulo 2 n in
// integers first, so they stay accurate for large n. Accuracy: a relative error of a few
// units of O(eps log n) in the largest output, somewhat more through Bluestein. Memory:
// the twiddles (n / 2), and for Bluestein the chirp and its transform (3 m in all).
#pragma once

#include <complex>
#include <cstddef>
#include <memory>
#include <vector>

namespace quon {

class Fft {
 public:
  // The plan for length n >= 1.
  explicit Fft(std::size_t n);
  ~Fft();
  Fft(Fft&&) noexcept;
  Fft& operator=(Fft&&) noexcept;

  std::size_t size() const { return n_; }

  // Transforms data[0..n) in place. `scratch` is resized as needed; reusing one per thread
  // spares the allocations.
  void Forward(std::complex<double>* data, std::vector<std::complex<double>>& scratch) const;

 private:
  void Radix2(std::complex<double>* data) const;
  void Bluestein(std::complex<double>* data, std::vector<std::complex<double>>& scratch) const;

  std::size_t n_ = 0;
  std::vector<std::complex<double>> twiddles_;  // exp(-2 pi i k / n), k < n / 2 (radix 2)
  std::vector<std::size_t> reversed_;           // bit-reversed index (radix 2)
  // Bluestein: the chirp exp(-pi i k^2 / n) and the transform of its padded conjugate.
  std::vector<std::complex<double>> chirp_;
  std::vector<std::complex<double>> filter_;
  std::unique_ptr<Fft> inner_;  // the power-of-two transform of the convolution
};

}  // namespace quon
