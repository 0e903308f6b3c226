// The discrete Fourier transform of complex data of any length n,
// X_k = sum_j x_j exp(-2 pi i j k / n), in O(n log n), taken for `width` sequences at once:
// the data are split into real and imaginary parts and stored row by row, element j of
// every sequence side by side in row j (re[j * width + q]), so that every step of the
// algorithm runs over adjacent sequences in its innermost loop, where the compiler
// vectorises it and the twiddle factors are loaded once for all of them.
//
// A length that is a power of two is transformed by the iterative radix-2 Cooley-Tukey
// algorithm (bit-reversed order of the rows, then log2 n passes of butterflies) with twiddle
// factors computed once, each from its own angle rather than by repeated multiplication.
// Any other length goes through Bluestein's chirp-z algorithm (Bluestein 1970; Press et
// al., "Numerical Recipes", 3rd ed., 12.3): the product jk is written as (j^2 + k^2 -
// (k - j)^2) / 2, which turns the transform into a convolution of length m >= 2 n - 1, a
// power of two, done with three radix-2 transforms; the chirp's angles are reduced modulo
// 2 n in integers first, so they stay accurate for large n. Accuracy: an error of
// O(eps log n) relative to the largest input, somewhat more through Bluestein. Memory: the
// twiddles (n / 2), and for Bluestein the chirp and its transform (3 m in all) and 2 m
// rows of scratch.
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

  // Transforms the `width` sequences in re[0 .. n * width) and im[...] in place. `scratch`
  // is resized as needed; reusing one per thread spares the allocations.
  void Forward(double* re, double* im, std::size_t width, std::vector<double>& scratch) const;

 private:
  void Radix2(double* re, double* im, std::size_t width) const;
  void Bluestein(double* re, double* im, std::size_t width, std::vector<double>& scratch) const;

  std::size_t n_ = 0;
  std::vector<std::complex<double>> twiddles_;  // exp(-2 pi i k / n), k < n / 2 (radix 2)
  std::vector<std::size_t> reversed_;           // bit-reversed index (radix 2)
  // Bluestein: the chirp exp(-pi i k^2 / n) and the transform of its padded conjugate.
  std::vector<std::complex<double>> chirp_;
  std::vector<std::complex<double>> filter_;
  std::unique_ptr<Fft> inner_;  // the power-of-two transform of the convolution
};

}  // namespace quon
